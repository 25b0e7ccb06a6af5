// SPDX-License-Identifier: GPL-3.0-or-later
// TWaterImage: a picture under moving water. Its timer advances the water and
// renders one frame into FDstBmp per tick; painting only copies that frame to
// the screen. The mouse raises drops, and drops fall at random now and then.
#pragma once

#include <functional>
#include <vector>

#include <QImage>
#include <QWidget>

#include "ripple/WaterEffect.h"

class QTimer;

// Which edges of its parent a control follows. Here it only decides which
// dimensions AutoSize takes from the picture.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

class TWaterImage : public QWidget {
  Q_OBJECT

 public:
  // Sender is the control; ABitmap is a copy of the source before a frame is
  // rendered (OnBeforeRender), the finished frame after it (OnAfterRender).
  using TRenderEvent = std::function<void(TWaterImage* Sender, QImage& ABitmap)>;

  explicit TWaterImage(QWidget* AOwner = nullptr);

  void Blob(int x, int y, int ARadius, int AHeight) { FWater.Blob(x, y, ARadius, AHeight); }
  void ClearWater() { FWater.ClearWater(); }

  // The picture is copied in; any format, shown as 24-bit colour. A null
  // image empties the control.
  const QImage& Picture() const { return FPicture; }
  void SetPicture(const QImage& Value);
  // Takes the banner compiled into the program as the picture. Returns false,
  // leaving the picture as it was, if it cannot be decoded.
  bool LoadBannerPicture();

  int ClickBlob() const { return FClickBlob; }
  void SetClickBlob(int Value) { FClickBlob = Value; }
  int Damping() const { return FWater.Damping(); }
  void SetDamping(int Value) { FWater.SetDamping(Value); }
  int Radius() const { return FRadius; }
  void SetRadius(int Value) { FRadius = Value; }
  unsigned Interval() const { return FInterval; }  // ms
  void SetInterval(unsigned Value);                // 0 stops the animation
  int RandomBlob() const { return FRandomBlob; }
  void SetRandomBlob(int Value) { FRandomBlob = Value; }
  int RandomDelay() const { return FRandomDelay; }  // ms
  void SetRandomDelay(int Value) { FRandomDelay = Value; }
  int TrackBlob() const { return FTrackBlob; }
  void SetTrackBlob(int Value) { FTrackBlob = Value; }
  const TRenderEvent& OnAfterRender() const { return FOnAfterRender; }
  void SetOnAfterRender(TRenderEvent Value) { FOnAfterRender = std::move(Value); }
  const TRenderEvent& OnBeforeRender() const { return FOnBeforeRender; }
  void SetOnBeforeRender(TRenderEvent Value) { FOnBeforeRender = std::move(Value); }
  // The frame shown (24-bit colour, the control's size once it has a picture).
  QImage& Canvas() { return FDstBmp; }

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);

  // The engine and the undisturbed picture at the control's size.
  const TWaterEffect& Water() const { return FWater; }
  const QImage& SourceBitmap() const { return FSrcBmp; }

  QSize sizeHint() const override;

 signals:
  // Left button pressed and released over the control (a double click counts once).
  void OnClick();

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

 private slots:
  void Tick();

 private:
  void PictureChanged();
  void Rebuild();
  QSize AutoSized(QSize Requested) const;  // the auto-size query: the size AutoSize allows
  void ApplyAutoSize();
  // Asks for a repaint of the bands of rows that this frame or the last one drew in.
  void UpdateChanged();
  // Asks for a repaint of all of it, this frame and the next.
  void WholeFrameChanged();

  QImage FPicture;
  QTimer* FTimer;  // child of the control
  QImage FSrcBmp;  // Format_RGB888
  QImage FDstBmp;  // Format_RGB888
  TWaterEffect FWater;
  bool FDrawing = false;
  int FRadius = 1;
  int FRandomDelay = 800;
  int FTrackBlob = 100;
  int FClickBlob = 250;
  int FRandomBlob = 500;
  TRenderEvent FOnAfterRender;
  TRenderEvent FOnBeforeRender;
  unsigned FInterval = 50;
  bool FAutoSize = false;
  TAlign FAlign = TAlign::alNone;
  bool FClickArmed = false;  // a left press on the control awaits its release
  // Per band of BandRows rows, the columns the last frame drew in (First >
  // Last: none). Sized by the rebuild, so a frame allocates nothing.
  static constexpr int BandRows = 16;
  std::vector<TWaterEffect::TColumns> FDrawnBands;
  bool FFrameDrawn = false;  // the frame shown differs from the source somewhere
};
