// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Unit1.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTextEdit>
#include <QUrl>

#include "app/Look.h"
#include "app/MessageBox.h"
#include "decree/DecreeCatalogue.h"
#include "decree/DecreeReport.h"
#include "decree/PanelLayout.h"
#include "decree/WindowTexts.h"
#include "report/Fonts.h"
#include "report/ReportLayout.h"
#include "ripple/WaterImage.h"
#include "storage/BaseValues.h"

TForm1* Form1 = nullptr;

namespace {

QString Tr(const char* Utf8) { return QString::fromUtf8(Utf8); }

static_assert(StoredOrder.size() == std::tuple_size_v<BaseValues>, "info.ini holds the stored inputs, one a line");

QString ColourName(std::uint32_t Rgb) { return QColor::fromRgb(Rgb).name(QColor::HexRgb).toUpper(); }

// The drop-down list draws its items plainly: the item's rectangle filled
// with the background (or the highlight), the text 2 px from the left edge at
// the top. Items are 16 px high, or the face's line height if that is taller.
class TPlainItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    const bool Highlighted = Option.state & QStyle::State_Selected;
    Painter->fillRect(Option.rect, Option.palette.brush(Highlighted ? QPalette::Highlight : QPalette::Base));
    Painter->setPen(Option.palette.color(Highlighted ? QPalette::HighlightedText : QPalette::Text));
    Painter->setFont(Option.font);
    Painter->drawText(Option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      Index.data(Qt::DisplayRole).toString());
  }

  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    const QFontMetrics Metrics(Option.font);
    return {Metrics.horizontalAdvance(Index.data(Qt::DisplayRole).toString()) + 4, std::max(16, Metrics.height())};
  }
};

// The closed box shows the selected item 1 px from the left and 1 px from the
// top of its text area (centred instead when the face is too tall for that).
class TPlainComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter Painter(this);
    QStyleOptionComboBox Option;
    initStyleOption(&Option);
    const QString Text = Option.currentText;
    Option.currentText.clear();
    Painter.drawComplexControl(QStyle::CC_ComboBox, Option);
    // The look restyles the button area, which leaves the arrow to us.
    QStyleOption Arrow(Option);
    Arrow.rect = style()->subControlRect(QStyle::CC_ComboBox, &Option, QStyle::SC_ComboBoxArrow, this);
    Painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, Arrow);
    const QRect Field = style()->subControlRect(QStyle::CC_ComboBox, &Option, QStyle::SC_ComboBoxEditField, this);
    const int Line = fontMetrics().height();
    const int Top = Line + 1 <= Field.height() ? Field.top() + 1 : Field.top() + (Field.height() - Line) / 2;
    Painter.setPen(palette().color(QPalette::Text));
    Painter.drawText(QRect(Field.left() + 1, Top, Field.width() - 1, Line), Qt::AlignLeft | Qt::AlignTop, Text);
  }
};

// A label sized to its text keeps the right edge and the vertical middle of
// the box it was drawn in, so a face wider, narrower or taller than Tahoma
// still ends next to its control.
QLabel* MakeLabel(QWidget* Parent, const ControlLayout& Row) {
  auto* Label = new QLabel(Tr(Row.Caption), Parent);
  Label->setFont(WindowFont(Row.FontPixels));
  const ControlBox& Box = Row.Box;
  if (Row.WordWrap) {
    Label->setWordWrap(true);
    // Absolute: in a right-to-left widget a plain AlignRight means the left side.
    Label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    // Two lines of the face, at least the box drawn for Tahoma.
    Label->setGeometry(Box.Left, Box.Top, Box.Width, std::max(Box.Height, 2 * Label->fontMetrics().lineSpacing()));
  } else if (Row.SizedToText) {
    const QFontMetrics Metrics(Label->font());
    const int Width = Metrics.horizontalAdvance(Label->text()) + 1;
    const int Height = std::max(Box.Height, Metrics.height());
    Label->setGeometry(Box.Left + Box.Width - Width, Box.Top - (Height - Box.Height) / 2, Width, Height);
  } else {
    Label->setGeometry(Box.Left, Box.Top, Box.Width, Box.Height);
  }
  return Label;
}

QLineEdit* MakeEdit(QWidget* Parent, const ControlLayout& Row) {
  auto* Edit = new QLineEdit(Parent);
  Edit->setFont(WindowFont(Row.FontPixels));
  Edit->setGeometry(Row.Box.Left, Row.Box.Top, Row.Box.Width, Row.Box.Height);
  Edit->setAlignment(Qt::AlignCenter);
  if (Row.MaxLength) Edit->setMaxLength(Row.MaxLength);
  // The fields take digits typed as keys; an input method would bypass the key filter.
  Edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  // The edit boxes of GroupBox1 and GroupBox3 keep their own colours under
  // the look; a widget's own style sheet outranks the application's.
  if (Row.TextColour != NoColour)
    Edit->setStyleSheet(QStringLiteral("QLineEdit { color: %1; background-color: %2; }")
                            .arg(ColourName(Row.TextColour), ColourName(Row.Background)));
  return Edit;
}

QCheckBox* MakeCheckBox(QWidget* Parent, const ControlLayout& Row) {
  auto* Box = new QCheckBox(Row.Caption ? Tr(Row.Caption) : QString(), Parent);
  Box->setFont(WindowFont(Row.FontPixels));
  // A face taller than the box would clip the caption: grow it about its middle.
  const ControlBox& Place = Row.Box;
  const int Height = std::max(Place.Height, Row.Caption ? Box->fontMetrics().height() : 0);
  Box->setGeometry(Place.Left, Place.Top - (Height - Place.Height) / 2, Place.Width, Height);
  return Box;
}

QComboBox* MakeComboBox(QWidget* Parent, const ControlLayout& Row) {
  auto* Box = new TPlainComboBox(Parent);
  Box->setFont(WindowFont(Row.FontPixels));
  Box->setGeometry(Row.Box.Left, Row.Box.Top, Row.Box.Width, Row.Box.Height);
  Box->setEditable(false);
  Box->setItemDelegate(new TPlainItemDelegate(Box));
  // The one drop-down list is the insurance type, its items by InsuranceType.
  for (const char* Item : InsuranceItems) Box->addItem(Tr(Item));
  Box->setCurrentIndex(-1);
  return Box;
}

QTextEdit* MakeRichText(QWidget* Parent, const ControlLayout& Row) {
  auto* Area = new QTextEdit(Parent);
  Area->setGeometry(Row.Box.Left, Row.Box.Top, Row.Box.Width, Row.Box.Height);
  // The report's face on screen and on paper.
  Area->setFont(ReportFont());
  Area->setLineWrapMode(QTextEdit::WidgetWidth);
  Area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Area->setTabChangesFocus(true);
  SetUpReportDocument(*Area->document());
  return Area;
}

// The banner: the picture under water, one cell per mouse drop, sized to the picture.
TWaterImage* MakePicture(QWidget* Parent, const ControlLayout& Row) {
  auto* Picture = new TWaterImage(Parent);
  Picture->move(Row.Box.Left, Row.Box.Top);
  Picture->SetAutoSize(true);
  Picture->SetRadius(0);
  Picture->LoadBannerPicture();
  return Picture;
}

QWidget* MakeControl(QWidget* Parent, const ControlLayout& Row) {
  const QRect Box(Row.Box.Left, Row.Box.Top, Row.Box.Width, Row.Box.Height);
  switch (Row.Kind) {
    case ControlKind::Panel: {
      auto* Panel = new QFrame(Parent);
      Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
      Panel->setLineWidth(1);
      Panel->setGeometry(Box);
      return Panel;
    }
    case ControlKind::GroupBox: {
      auto* Group = new QGroupBox(Tr(Row.Caption), Parent);
      Group->setGeometry(Box);
      Group->setFont(WindowFont(Row.FontPixels));
      return Group;
    }
    case ControlKind::Button: {
      auto* Button = new QPushButton(Tr(Row.Caption), Parent);
      Button->setGeometry(Box);
      Button->setFont(WindowFont(Row.FontPixels));
      return Button;
    }
    case ControlKind::Label: return MakeLabel(Parent, Row);
    case ControlKind::Edit: return MakeEdit(Parent, Row);
    case ControlKind::CheckBox: return MakeCheckBox(Parent, Row);
    case ControlKind::ComboBox: return MakeComboBox(Parent, Row);
    case ControlKind::Picture: return MakePicture(Parent, Row);
    case ControlKind::RichText: return MakeRichText(Parent, Row);
  }
  return nullptr;
}

// The member bound to a built control; a name the table lacks, or a kind that
// does not match the member's type, is a slip that must not start.
template <typename Control>
Control* Bound(const QHash<QString, QWidget*>& Built, const char* Name) {
  auto* Widget = qobject_cast<Control*>(Built.value(QLatin1String(Name)));
  if (!Widget) qFatal("TForm1: no control %s of its member's kind in the layout table", Name);
  return Widget;
}

std::string Utf8(const QString& Text) { return Text.toStdString(); }

// A plain top-level QWidget is "filler" to a screen reader: the window is
// offered as a window, named by its caption. Its two panels are QFrames,
// which Qt reports as frames (windows) too: they are panes.
QAccessibleInterface* WindowAccessible(const QString& Key, QObject* Object) {
  if (!Object || !Object->isWidgetType()) return nullptr;
  auto* Widget = static_cast<QWidget*>(Object);
  if (Key == QLatin1String("TForm1")) return new QAccessibleWidget(Widget, QAccessible::Window);
  if (Key == QLatin1String("QFrame") && qobject_cast<TForm1*>(Widget->parentWidget()))
    return new QAccessibleWidget(Widget, QAccessible::Pane);
  return nullptr;
}

}  // namespace

TForm1::TForm1(QWidget* Parent)
    : QWidget(Parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Form1"));
  static const bool FactoryInstalled = (QAccessible::installFactory(WindowAccessible), true);
  Q_UNUSED(FactoryInstalled);
  setFont(WindowFont(WindowFontPixels));
  setFixedSize(ClientWidth, ClientHeight);
  // Qt paints every widget into the window's backing store first: the window
  // is double-buffered without further ado.
  CreateControls();
  ConnectHandlers();
  ReadNumberFormat();
  ExecPrintDialog = [this](QPrinter& Target) {
    if (!PrintDialog1) {
      PrintDialog1 = new QPrintDialog(&Target, this);
      PrintDialog1->setObjectName(QStringLiteral("PrintDialog1"));
      // Print to file stays: on Linux it is the "Print to PDF" printer, often the only one there is.
      PrintDialog1->setOption(QAbstractPrintDialog::PrintSelection, false);
      PrintDialog1->setOption(QAbstractPrintDialog::PrintPageRange, false);
      PrintDialog1->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    }
    return PrintDialog1->exec() == QDialog::Accepted;
  };
  if (const QScreen* Screen = QGuiApplication::primaryScreen()) {
    const QRect Work = Screen->availableGeometry();
    move(Work.left() + (Work.width() - ClientWidth) / 2, Work.top() + (Work.height() - ClientHeight) / 2);
  }
  FormCreate();
}

TForm1::~TForm1() = default;

// Every control of both panels, built from the layout table in its order,
// parents before their children. Every control gets its font set: under an
// application style sheet a child no longer inherits its parent's font.
void TForm1::CreateControls() {
  QHash<QString, QWidget*> Built;
  for (std::size_t K = 0; K < PanelControlCount; ++K) {
    const ControlLayout& Row = PanelControls[K];
    QWidget* Parent = Row.Parent ? Built.value(QLatin1String(Row.Parent)) : this;
    QWidget* Control = MakeControl(Parent, Row);
    Control->setObjectName(QLatin1String(Row.Name));
    if (Row.Hint) Control->setToolTip(Tr(Row.Hint));
    if (Row.LeftToRight) Control->setLayoutDirection(Qt::LeftToRight);
    if (Row.Cursor == ControlCursor::Hand) Control->setCursor(Qt::PointingHandCursor);
    if (Row.Cursor == ControlCursor::Help) Control->setCursor(Qt::WhatsThisCursor);
    if (Row.TabOrder < 0) Control->setFocusPolicy(Qt::NoFocus);
    if (Row.HiddenAtStart) Control->hide();
    Built.insert(QLatin1String(Row.Name), Control);
  }
#define TFORM1_BIND_CONTROL(Type, Name) Name = Bound<Type>(Built, #Name);
  TFORM1_CONTROLS(TFORM1_BIND_CONTROL)
#undef TFORM1_BIND_CONTROL
  InputControls.resize(InputCount);
  for (const InputSpec& Input : Inputs)
    InputControls[static_cast<std::size_t>(Input.Control)] = Built.value(QLatin1String(Input.ControlName));
  // A push button outside a dialog presses on Enter only as an auto-default one.
  Button1->setAutoDefault(true);
  ConnectControls(Built);
}

// Panel1's controls first in the Tab order, then Panel2's; only the visible
// panel's controls take part. Enter moves through the inputs with a character
// handler. Inside a group box Qt would name every input by the box's caption:
// each takes the name and description a screen reader is to read, and its
// label points to it.
void TForm1::ConnectControls(const QHash<QString, QWidget*>& Built) {
  const auto Named = [&](const char* Name) { return Built.value(QLatin1String(Name)); };
  const std::vector<const char*>& TabOrder = WindowTabOrder();
  for (std::size_t I = 1; I < TabOrder.size(); ++I) setTabOrder(Named(TabOrder[I - 1]), Named(TabOrder[I]));

  for (const InputSpec& Input : Inputs) {
    QWidget* Control = ControlOf(Input.Control);
    if (Input.KeyFiltered) {
      Successor.insert(Control, Named(EnterSuccessor(Input.ControlName)));
      Control->installEventFilter(this);
    }
    // The label-for relation, for screen readers that follow it.
    if (Input.LabelName) qobject_cast<QLabel*>(Named(Input.LabelName))->setBuddy(Control);
  }
  Button1->installEventFilter(this);

  for (std::size_t K = 0; K < PanelControlCount; ++K) {
    QWidget* Control = Named(PanelControls[K].Name);
    // A description shows no tooltip: the hints stay where they were.
    if (const std::string Name = SpokenName(PanelControls[K].Name); !Name.empty())
      Control->setAccessibleName(QString::fromStdString(Name));
    if (const std::string Description = SpokenDescription(PanelControls[K].Name); !Description.empty())
      Control->setAccessibleDescription(QString::fromStdString(Description));
  }
}

void TForm1::ConnectHandlers() {
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
  // toggled, not clicked: the state change counts, whoever makes it.
  connect(CheckBox6, &QCheckBox::toggled, this, &TForm1::CheckBox6Click);
  // activated: only the user's choices (mouse, arrow keys, type-ahead).
  connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
  connect(WaterImage1, &TWaterImage::OnClick, this, &TForm1::WaterImage1Click);
  connect(qApp, &QGuiApplication::commitDataRequest, this, &TForm1::SessionEndRequested);
}

void TForm1::ReadNumberFormat() {
  const QLocale System = QLocale::system();
  Numbers = NumberFormatFromSettings(Utf8(System.decimalPoint()), Utf8(System.groupSeparator()));
}

void TForm1::FormCreate() {
  Masir = QDir::currentPath();
  setWindowTitle(Tr(WindowTexts::CaptionStart) + Tr(DECREE_AUTHOR_NAME) + Tr(WindowTexts::CaptionSeparator) +
                 Tr(DECREE_AUTHOR_PHONE) + Tr(WindowTexts::CaptionEnd));
  G = GroupPointsTable;
}

void TForm1::FormShow() {
  Guarded([this] {
    for (const InputSpec& Input : Inputs) {
      if (auto* Edit = qobject_cast<QLineEdit*>(ControlOf(Input.Control))) Edit->clear();
      if (auto* Box = qobject_cast<QCheckBox*>(ControlOf(Input.Control))) Box->setChecked(false);
    }
    RichEdit1->clear();
    Edit6->setFocus();
    if (const std::optional<BaseValues> Stored = LoadBaseValues(Utf8(Masir)))
      for (std::size_t I = 0; I < StoredOrder.size(); ++I) SetText(StoredOrder[I], (*Stored)[I]);
  });
}

void TForm1::FormCloseQuery(bool& CanClose) {
  if (Panel1->isVisible()) {
    CanClose = false;
    Panel1->hide();
    Panel2->show();
  }
}

bool TForm1::RefuseSessionEnd() {
  bool CanClose = true;
  FormCloseQuery(CanClose);
  return !CanClose;
}

void TForm1::SessionEndRequested(QSessionManager& Manager) {
  // Refusing a logout needs the session manager's leave to interact.
  if (Panel1->isVisible() && Manager.allowsInteraction()) {
    if (RefuseSessionEnd()) Manager.cancel();
    Manager.release();
  }
}

void TForm1::Button1Click() {
  Guarded([this] {
    const std::optional<DecreeInput> Input = ReadDecreeInput(*this, Numbers);
    if (!Input || !CheckGroupRange(*Input, *this)) return;
    const DecreeResult Result = ComputeDecree(*Input, G);
    const std::vector<std::string> Lines = BuildDecreeReport(Result, Numbers);

    RichEdit1->clear();
    AppendReportLines(*RichEdit1->document(), Lines);

    BaseValues Stored;
    for (std::size_t I = 0; I < StoredOrder.size(); ++I) Stored[I] = Text(StoredOrder[I]);
    SaveBaseValues(Utf8(Masir), Stored);
    Panel1->show();
    Panel2->hide();
  });
}

void TForm1::Button2Click() {
  Guarded([this] {
    const QString Plain = RichEdit1->toPlainText();
    const auto Blank = [](QChar C) { return C.unicode() <= 32; };
    if (std::all_of(Plain.begin(), Plain.end(), Blank)) {
      ShowMessageBox(this, MessageKind::Standard, Tr(WindowTexts::NothingToPrint));
      return;
    }
    if (!Printer) Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!ExecPrintDialog(*Printer)) return;
    PrintRichEdit(*Printer);
  });
}

void TForm1::PrintRichEdit(QPrinter& Target) {
  // The area's own, possibly edited, document in the colour it shows its text in.
  TReportJob Job(Target, Tr(WindowTexts::PrintJobName));
  Job.Print(*RichEdit1->document(), RichEdit1->palette().color(QPalette::Text));
  Job.Finish();
}

void TForm1::Button3Click() {
  Panel1->hide();
  Panel2->show();
}

void TForm1::CheckBox6Click() { Button1->setFocus(Qt::OtherFocusReason); }

void TForm1::ComboBox1Change() { Edit11->setFocus(Qt::TabFocusReason); }

// The desktop opens the page in the default browser; whether it could is not our concern.
void TForm1::WaterImage1Click() { QDesktopServices::openUrl(QUrl(Tr(DECREE_WEB_ADDRESS))); }

void TForm1::Edit1KeyUp() { ClauseBAutoFill(); }

void TForm1::Edit25KeyUp() { ClauseBAutoFill(); }

void TForm1::ClauseBAutoFill() {
  Guarded([this] {
    Edit18->clear();
    Edit18->setText(
        QString::fromStdString(ClauseBAmountText(Text(PanelControl::Edit1), Text(PanelControl::Edit25), Numbers)));
  });
}

void TForm1::KeyPress(QWidget* Control, QChar& Key) {
  if (Key.unicode() == 13) {
    Key = QChar(0);
    // Tab reason: the next edit box selects its text, so typing replaces it.
    if (QWidget* Next = Successor.value(Control)) Next->setFocus(Qt::TabFocusReason);
    return;
  }
  const char16_t Code = Key.unicode();
  if ((Code >= u'0' && Code <= u'9') || Code == 8) return;
  Key = QChar(0);
}

// True when the key event is to be dropped.
bool TForm1::FilterKey(QWidget* Control, QKeyEvent* Event) {
  const int KeyCode = Event->key();
  // Keys that are commands rather than characters keep their function: the
  // focus keys, Delete (X11 gives it the text DEL) and the clipboard shortcuts,
  // so that pasted text can reach the conversion and its message.
  if (Event->text().isEmpty() || KeyCode == Qt::Key_Tab || KeyCode == Qt::Key_Backtab || KeyCode == Qt::Key_Delete ||
      Event->matches(QKeySequence::Copy) || Event->matches(QKeySequence::Cut) || Event->matches(QKeySequence::Paste) ||
      Event->matches(QKeySequence::Undo) || Event->matches(QKeySequence::Redo) ||
      Event->matches(QKeySequence::SelectAll))
    return false;
  // A check box toggles on the Space key going down and up, not on the typed
  // space, so the key itself must get through.
  if (KeyCode == Qt::Key_Space && qobject_cast<QCheckBox*>(Control)) return false;
  const QString Typed = Event->text();
  bool Discard = false;
  for (QChar Key : Typed) {
    KeyPress(Control, Key);
    if (Key.isNull()) Discard = true;
  }
  return Discard;
}

bool TForm1::eventFilter(QObject* Watched, QEvent* Event) {
  if (Event->type() == QEvent::KeyPress) {
    auto* Key = static_cast<QKeyEvent*>(Event);
    if (Watched == Button1) {
      // Enter with Shift, Ctrl or Alt does not press the button.
      const bool Enter = Key->key() == Qt::Key_Return || Key->key() == Qt::Key_Enter;
      return Enter && (Key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    }
    if (Successor.contains(Watched)) return FilterKey(static_cast<QWidget*>(Watched), Key);
  } else if (Event->type() == QEvent::KeyRelease && (Watched == Edit1 || Watched == Edit25)) {
    // A held key repeats; the product is refreshed once, at the real release.
    if (!static_cast<QKeyEvent*>(Event)->isAutoRepeat()) {
      if (Watched == Edit1)
        Edit1KeyUp();
      else
        Edit25KeyUp();
    }
  }
  return QWidget::eventFilter(Watched, Event);
}

void TForm1::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  // Only the non-spontaneous show: a spontaneous one also arrives when the
  // window is restored, and must not clear the inputs.
  if (!Event->spontaneous()) FormShow();
}

void TForm1::closeEvent(QCloseEvent* Event) {
  bool CanClose = true;
  FormCloseQuery(CanClose);
  if (CanClose)
    Event->accept();
  else
    Event->ignore();
}

void TForm1::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::LocaleChange) ReadNumberFormat();
  QWidget::changeEvent(Event);
}

void TForm1::Guarded(const std::function<void()>& Body) {
  try {
    Body();
  } catch (const std::exception& Error) {
    ShowError(QString::fromUtf8(Error.what()));
  } catch (...) {
    // Nothing may escape into the event loop.
    ShowError(Tr(WindowTexts::UnknownError));
  }
}

void TForm1::ShowError(const QString& Message) {
  ShowMessageBox(this, MessageKind::Error, QString::fromStdString(ErrorMessageText(Utf8(Message))));
}

QWidget* TForm1::ControlOf(PanelControl Control) const { return InputControls[static_cast<std::size_t>(Control)]; }

std::string TForm1::Text(PanelControl Edit) const {
  const auto* Box = qobject_cast<const QLineEdit*>(ControlOf(Edit));
  return Box ? Utf8(Box->text()) : std::string();
}

void TForm1::SetText(PanelControl Edit, const std::string& Value) {
  if (auto* Box = qobject_cast<QLineEdit*>(ControlOf(Edit))) Box->setText(QString::fromStdString(Value));
}

void TForm1::SetFocus(PanelControl Control) {
  if (QWidget* Target = ControlOf(Control)) Target->setFocus(Qt::OtherFocusReason);
}

int TForm1::ItemIndex() const { return ComboBox1->currentIndex(); }

bool TForm1::Checked(PanelControl CheckBox) const {
  const auto* Box = qobject_cast<const QCheckBox*>(ControlOf(CheckBox));
  return Box && Box->isChecked();
}

void TForm1::ShowMessage(const std::string& Message) {
  ShowMessageBox(this, MessageKind::Standard, QString::fromStdString(Message));
}
