// SPDX-License-Identifier: GPL-3.0-or-later
#include "ripple/WaterImage.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "ripple/JpegDecoder.h"
#include "ripple/Random.h"

namespace {

// QImage pads rows to 4 bytes (375 px × 3 = 1125, stride 1128): the views
// carry bytesPerLine and reach rows only through it.
TBitmap24 View(QImage& Image) { return {Image.width(), Image.height(), Image.bits(), Image.bytesPerLine()}; }

TConstBitmap24 ConstView(const QImage& Image) {
  return {Image.width(), Image.height(), Image.constBits(), Image.bytesPerLine()};
}

QImage To24Bit(const QImage& Image) {
  return Image.format() == QImage::Format_RGB888 ? Image : Image.convertToFormat(QImage::Format_RGB888);
}

QImage BannerImage() {
  const TRgbImage Decoded = DecodeJpeg(BannerJpegData(), BannerJpegSize());
  QImage Image(Decoded.Width, Decoded.Height, QImage::Format_RGB888);
  const std::size_t RowBytes = 3 * static_cast<std::size_t>(Decoded.Width);
  for (int y = 0; y < Decoded.Height; ++y)
    std::memcpy(Image.scanLine(y), Decoded.Pixels.data() + RowBytes * static_cast<std::size_t>(y), RowBytes);
  return Image;
}

// To a screen reader the control is a picture; its press action does what a
// click does, for a user who cannot aim the mouse at it.
class TWaterImageAccessible : public QAccessibleWidget {
 public:
  explicit TWaterImageAccessible(TWaterImage* Image) : QAccessibleWidget(Image, QAccessible::Graphic) {}

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& ActionName) override {
    if (ActionName == pressAction()) emit static_cast<TWaterImage*>(widget())->OnClick();
  }
};

QAccessibleInterface* WaterImageAccessible(const QString& Key, QObject* Object) {
  if (Key == QLatin1String("TWaterImage")) return new TWaterImageAccessible(static_cast<TWaterImage*>(Object));
  return nullptr;
}

}  // namespace

TWaterImage::TWaterImage(QWidget* AOwner) : QWidget(AOwner), FTimer(new QTimer(this)) {
  static const bool FactoryInstalled = (QAccessible::installFactory(WaterImageAccessible), true);
  Q_UNUSED(FactoryInstalled);
  // Every pixel is painted from FDstBmp: Qt need not clear the background.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);  // moves without a button raise drops too
  setFocusPolicy(Qt::NoFocus);
  connect(FTimer, &QTimer::timeout, this, &TWaterImage::Tick);
  FTimer->start(static_cast<int>(FInterval));
  resize(105, 105);
}

void TWaterImage::SetPicture(const QImage& Value) {
  FPicture = Value;
  PictureChanged();
}

bool TWaterImage::LoadBannerPicture() {
  try {
    SetPicture(BannerImage());
    return true;
  } catch (const TJpegError&) {
    return false;
  }
}

void TWaterImage::SetInterval(unsigned Value) {
  FInterval = Value;
  if (Value == 0)
    FTimer->stop();
  else
    FTimer->start(static_cast<int>(std::min<unsigned>(Value, INT_MAX)));
}

void TWaterImage::SetAutoSize(bool Value) {
  FAutoSize = Value;
  if (FAutoSize) ApplyAutoSize();
}

void TWaterImage::SetAlign(TAlign Value) {
  FAlign = Value;
  if (FAutoSize) ApplyAutoSize();
}

QSize TWaterImage::sizeHint() const { return FPicture.isNull() ? QSize(105, 105) : FPicture.size(); }

QSize TWaterImage::AutoSized(QSize Requested) const {
  QSize Result = Requested;
  if (FAlign == TAlign::alNone || FAlign == TAlign::alLeft || FAlign == TAlign::alRight)
    Result.setWidth(FPicture.width());
  if (FAlign == TAlign::alNone || FAlign == TAlign::alTop || FAlign == TAlign::alBottom)
    Result.setHeight(FPicture.height());
  return Result;
}

void TWaterImage::ApplyAutoSize() {
  const QSize Wanted = AutoSized(size());
  if (Wanted != size()) resize(Wanted);
}

void TWaterImage::PictureChanged() {
  if (FAutoSize && FPicture.width() > 0 && FPicture.height() > 0) ApplyAutoSize();
  Rebuild();
  if (!FDrawing) update();
}

// Bitmaps and engine take the control's size; the water becomes calm and the
// source is drawn afresh from the picture.
void TWaterImage::Rebuild() {
  const int W = width();
  const int H = height();
  FSrcBmp = QImage(W, H, QImage::Format_RGB888);
  FDstBmp = QImage(W, H, QImage::Format_RGB888);
  FWater.SetSize(W, H);
  FFrameDrawn = false;
  FDrawnBands.assign(static_cast<std::size_t>((std::max(H, 0) + BandRows - 1) / BandRows), {W, -1});
  if (!FPicture.isNull() && W > 0 && H > 0) {
    FSrcBmp = To24Bit(FPicture.size() == QSize(W, H)
                          ? FPicture
                          : FPicture.scaled(W, H, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    FDstBmp = FSrcBmp.copy();
  }
}

void TWaterImage::resizeEvent(QResizeEvent* Event) {
  if (FAutoSize) {
    const QSize Wanted = AutoSized(Event->size());
    if (Wanted != Event->size()) {
      resize(Wanted);  // the resize event of the allowed size rebuilds
      return;
    }
  }
  Rebuild();
  QWidget::resizeEvent(Event);
}

void TWaterImage::paintEvent(QPaintEvent*) {
  const bool Drawing = FDrawing;
  FDrawing = true;
  if (!FPicture.isNull()) {
    QPainter Painter(this);
    // On a high-density screen the frame is scaled up; filtered, it stays
    // smooth instead of showing its pixels as blocks. Only the parts of the
    // frame that changed are asked for, so this costs little.
    if (devicePixelRatioF() != 1) Painter.setRenderHint(QPainter::SmoothPixmapTransform);
    Painter.drawImage(0, 0, FDstBmp);
  }
  FDrawing = Drawing;
}

void TWaterImage::Tick() {
  // Only the control's own Enabled counts, not a disabled parent.
  if (testAttribute(Qt::WA_ForceDisabled) || FPicture.isNull()) return;

  // A drop falls with a chance of 1 in ⌈RandomDelay / Interval⌉ + 1 per tick.
  if (FRandomDelay > 0 && FRandomBlob > 0 && FInterval > 0) {
    const long long N = (static_cast<long long>(FRandomDelay) + FInterval - 1) / FInterval;
    if (RandomInt(static_cast<int>(std::min<long long>(N + 1, INT_MAX))) == 0) {
      const int DropRadius = 1 + RandomInt(2);
      const int DropHeight = static_cast<int>(std::min<long long>(100LL + RandomInt(FRandomBlob), INT_MAX));
      FWater.Blob(-1, -1, DropRadius, DropHeight);
    }
  }

  // On calm water, with the last frame a plain copy of the source, a frame
  // would be that copy again: nothing to do.
  if (!FOnBeforeRender && !FOnAfterRender && FWater.Calm() && !FFrameDrawn) return;

  // A handler's exception must not leave a Qt slot; the control shows no
  // messages, so such a frame is simply dropped.
  try {
    // A handler may have left the frame in another format.
    if (FDstBmp.format() != QImage::Format_RGB888) FDstBmp = To24Bit(FDstBmp);
    if (FOnBeforeRender) {
      QImage Copy = FSrcBmp.copy();
      FOnBeforeRender(this, Copy);
      if (Copy.format() != QImage::Format_RGB888) Copy = To24Bit(Copy);
      FWater.Render(ConstView(Copy), View(FDstBmp));
    } else {
      FWater.Render(ConstView(FSrcBmp), View(FDstBmp));
    }
    if (FOnAfterRender) FOnAfterRender(this, FDstBmp);
  } catch (...) {
    WholeFrameChanged();
    return;
  }
  // The handlers may draw anywhere on the frame.
  if (FOnBeforeRender || FOnAfterRender)
    WholeFrameChanged();
  else
    UpdateChanged();
}

void TWaterImage::WholeFrameChanged() {
  // As if the whole frame had been drawn: the next frame repaints it all too.
  std::fill(FDrawnBands.begin(), FDrawnBands.end(), TWaterEffect::TColumns{0, FWater.Width() - 1});
  FFrameDrawn = true;
  update();
}

// A frame differs from the one before only where either of them was drawn
// through the water; elsewhere both are the source. Calm water asks for nothing.
void TWaterImage::UpdateChanged() {
  const int H = FWater.Height();
  FFrameDrawn = false;
  for (std::size_t Band = 0; Band < FDrawnBands.size(); ++Band) {
    const int Top = static_cast<int>(Band) * BandRows;
    TWaterEffect::TColumns Drawn{FWater.Width(), -1};
    for (int y = Top; y < std::min(Top + BandRows, H); ++y) {
      const TWaterEffect::TColumns Row = FWater.DrawnColumns(y);
      Drawn.First = std::min(Drawn.First, Row.First);
      Drawn.Last = std::max(Drawn.Last, Row.Last);
    }
    FFrameDrawn = FFrameDrawn || Drawn.First <= Drawn.Last;
    TWaterEffect::TColumns& Before = FDrawnBands[Band];
    const int First = std::min(Drawn.First, Before.First);
    const int Last = std::max(Drawn.Last, Before.Last);
    // Scaled up with a filter, a pixel also colours the screen around it.
    if (First <= Last)
      update(QRect(First, Top, Last - First + 1, std::min(BandRows, H - Top)).adjusted(-1, -1, 1, 1) & rect());
    Before = Drawn;
  }
}

void TWaterImage::mousePressEvent(QMouseEvent* Event) {
  // Accepted, not passed to the parent: the control keeps the mouse until the release.
  Event->accept();
  if (Event->button() != Qt::LeftButton) return;
  const QPoint P = Event->position().toPoint();
  FWater.Blob(P.x(), P.y(), FRadius, FClickBlob);
  FClickArmed = true;
}

void TWaterImage::mouseDoubleClickEvent(QMouseEvent* Event) {
  // The second press of a double click splashes like any press but does not
  // make a second click.
  mousePressEvent(Event);
  FClickArmed = false;
}

void TWaterImage::mouseMoveEvent(QMouseEvent* Event) {
  Event->accept();
  const QPoint P = Event->position().toPoint();
  // While the mouse is captured, moves arrive from outside the control too.
  if (!rect().contains(P)) return;
  FWater.Blob(P.x(), P.y(), FRadius, (Event->buttons() & Qt::LeftButton) ? FClickBlob : FTrackBlob);
}

void TWaterImage::mouseReleaseEvent(QMouseEvent* Event) {
  Event->accept();
  if (Event->button() != Qt::LeftButton || !FClickArmed) return;
  FClickArmed = false;
  if (rect().contains(Event->position().toPoint())) emit OnClick();
}
