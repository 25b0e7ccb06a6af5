// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Unit1.h"

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
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
#include "decree/WindowTexts.h"
#include "report/Fonts.h"
#include "report/ReportLayout.h"
#include "ripple/WaterImage.h"
#include "storage/BaseValues.h"

#ifndef DECREE_AUTHOR_NAME
#define DECREE_AUTHOR_NAME ""
#endif
#ifndef DECREE_AUTHOR_PHONE
#define DECREE_AUTHOR_PHONE ""
#endif
#ifndef DECREE_WEB_ADDRESS
#define DECREE_WEB_ADDRESS ""
#endif

TForm1* Form1 = nullptr;

namespace {

constexpr int ClientWidth = 785;
constexpr int ClientHeight = 691;

QString Tr(const char* Utf8) { return QString::fromUtf8(Utf8); }

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
QLabel* MakeLabel(QWidget* Parent, const char* Name, const char* Text, const QRect& Box, int PixelSize = 13) {
  auto* Label = new QLabel(Tr(Text), Parent);
  Label->setObjectName(QString::fromLatin1(Name));
  Label->setFont(WindowFont(PixelSize));
  const QFontMetrics Metrics(Label->font());
  const int Width = Metrics.horizontalAdvance(Label->text()) + 1;
  const int Height = std::max(Box.height(), Metrics.height());
  Label->setGeometry(Box.left() + Box.width() - Width, Box.top() - (Height - Box.height()) / 2, Width, Height);
  return Label;
}

QLineEdit* MakeEdit(QWidget* Parent, const char* Name, const QRect& Box, int MaxLength = 0) {
  auto* Edit = new QLineEdit(Parent);
  Edit->setObjectName(QString::fromLatin1(Name));
  Edit->setFont(WindowFont(13));
  Edit->setGeometry(Box);
  Edit->setAlignment(Qt::AlignCenter);
  if (MaxLength) Edit->setMaxLength(MaxLength);
  // The fields take digits typed as keys; an input method would bypass the key filter.
  Edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  return Edit;
}

QCheckBox* MakeCheckBox(QWidget* Parent, const char* Name, const char* Text, const QRect& Box, int PixelSize = 13) {
  auto* Box_ = new QCheckBox(Text ? Tr(Text) : QString(), Parent);
  Box_->setObjectName(QString::fromLatin1(Name));
  Box_->setFont(WindowFont(PixelSize));
  // A face taller than the box would clip the caption: grow it about its middle.
  const int Height = std::max(Box.height(), Text ? Box_->fontMetrics().height() : 0);
  Box_->setGeometry(Box.left(), Box.top() - (Height - Box.height()) / 2, Box.width(), Height);
  Box_->setCursor(Qt::PointingHandCursor);
  return Box_;
}

QPushButton* MakeButton(QWidget* Parent, const char* Name, const char* Text, const QRect& Box) {
  auto* Button = new QPushButton(Tr(Text), Parent);
  Button->setObjectName(QString::fromLatin1(Name));
  Button->setGeometry(Box);
  Button->setFont(WindowFont(13));
  Button->setCursor(Qt::PointingHandCursor);
  return Button;
}

QGroupBox* MakeGroupBox(QWidget* Parent, const char* Name, const char* Text, const QRect& Box) {
  auto* Group = new QGroupBox(Tr(Text), Parent);
  Group->setObjectName(QString::fromLatin1(Name));
  Group->setGeometry(Box);
  Group->setFont(WindowFont(13));
  return Group;
}

QFrame* MakePanel(QWidget* Parent, const char* Name) {
  auto* Panel = new QFrame(Parent);
  Panel->setObjectName(QString::fromLatin1(Name));
  Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel->setLineWidth(1);
  Panel->setGeometry(0, 0, ClientWidth, ClientHeight);
  return Panel;
}

// The edit boxes of GroupBox1 and GroupBox3 keep their own colours under the
// look; a widget's own style sheet outranks the application's.
void KeepColours(QLineEdit* Edit, const char* Text, const char* Background) {
  Edit->setStyleSheet(QStringLiteral("QLineEdit { color: %1; background-color: %2; }")
                          .arg(QLatin1String(Text), QLatin1String(Background)));
}

std::string Utf8(const QString& Text) { return Text.toStdString(); }

// A caption as a screen reader names its control: without its colon (" :"
// ends most labels; Label22 has it before its bracket) and the spaces a group
// box caption is framed with.
QString SpokenName(QString Caption) { return Caption.remove(QStringLiteral(" :")).remove(QLatin1Char(':')).trimmed(); }

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
  setFont(WindowFont(11));
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

// Every control gets its font set here: under an application style sheet a
// child no longer inherits its parent's font.
void TForm1::CreateControls() {
  Panel1 = MakePanel(this, "Panel1");
  Panel1->hide();
  GroupBox4 = MakeGroupBox(Panel1, "GroupBox4", WindowTexts::GroupBox4, {20, 6, 741, 667});
  Button2 = MakeButton(GroupBox4, "Button2", WindowTexts::Button2, {10, 632, 459, 29});
  Button3 = MakeButton(GroupBox4, "Button3", WindowTexts::Button3, {474, 632, 255, 29});
  RichEdit1 = new QTextEdit(GroupBox4);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setGeometry(12, 19, 717, 611);
  RichEdit1->setFont(ReportFont());
  RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RichEdit1->setTabChangesFocus(true);
  SetUpReportDocument(*RichEdit1->document());

  Panel2 = MakePanel(this, "Panel2");

  GroupBox1 = MakeGroupBox(Panel2, "GroupBox1", WindowTexts::GroupBox1, {395, 22, 366, 256});
  GroupBox2 = MakeGroupBox(Panel2, "GroupBox2", WindowTexts::GroupBox2, {394, 286, 366, 384});
  GroupBox3 = MakeGroupBox(Panel2, "GroupBox3", WindowTexts::GroupBox3, {20, 22, 369, 355});
  Button1 = MakeButton(Panel2, "Button1", WindowTexts::Button1, {20, 378, 369, 53});
  // A push button outside a dialog presses on Enter only as an auto-default one.
  Button1->setAutoDefault(true);

  // The banner: the picture under water, one cell per mouse drop.
  WaterImage1 = new TWaterImage(Panel2);
  WaterImage1->setObjectName(QStringLiteral("WaterImage1"));
  WaterImage1->move(16, 436);
  WaterImage1->SetAutoSize(true);
  WaterImage1->SetRadius(0);
  WaterImage1->LoadBannerPicture();
  WaterImage1->setCursor(Qt::PointingHandCursor);
  WaterImage1->setFocusPolicy(Qt::NoFocus);

  // GroupBox1: the new year's base figures, navy on sage, the two inputs of
  // the clause-B amount on light green.
  Label1 = MakeLabel(GroupBox1, "Label1", WindowTexts::Label1, {148, 36, 40, 16});
  Label2 = MakeLabel(GroupBox1, "Label2", WindowTexts::Label2, {148, 61, 123, 16});
  Label3 = MakeLabel(GroupBox1, "Label3", WindowTexts::Label3, {148, 86, 105, 16});
  Label26 = MakeLabel(GroupBox1, "Label26", WindowTexts::Label26, {148, 111, 115, 16});
  Label5 = MakeLabel(GroupBox1, "Label5", WindowTexts::Label5, {148, 136, 96, 16});
  Label4 = MakeLabel(GroupBox1, "Label4", WindowTexts::Label4, {148, 161, 56, 16});
  Label20 = MakeLabel(GroupBox1, "Label20", WindowTexts::Label20, {148, 186, 193, 16});
  Label25 = MakeLabel(GroupBox1, "Label25", WindowTexts::Label25, {148, 211, 160, 16});
  Edit1 = MakeEdit(GroupBox1, "Edit1", {22, 33, 121, 24});
  Edit2 = MakeEdit(GroupBox1, "Edit2", {22, 58, 121, 24});
  Edit3 = MakeEdit(GroupBox1, "Edit3", {22, 83, 121, 24});
  Edit26 = MakeEdit(GroupBox1, "Edit26", {22, 108, 121, 24});
  Edit4 = MakeEdit(GroupBox1, "Edit4", {22, 133, 121, 24});
  Edit5 = MakeEdit(GroupBox1, "Edit5", {22, 158, 121, 24});
  Edit25 = MakeEdit(GroupBox1, "Edit25", {22, 183, 121, 24});
  Edit18 = MakeEdit(GroupBox1, "Edit18", {22, 208, 121, 24});
  for (QLineEdit* Edit : {Edit2, Edit3, Edit26, Edit4, Edit5, Edit18}) KeepColours(Edit, "#000080", "#DCE4C9");
  for (QLineEdit* Edit : {Edit1, Edit25}) KeepColours(Edit, "#000080", "#C4FFC4");

  // GroupBox2: the employee's data, coloured by the look.
  Label6 = MakeLabel(GroupBox2, "Label6", WindowTexts::Label6, {148, 39, 85, 16});
  Label7 = MakeLabel(GroupBox2, "Label7", WindowTexts::Label7, {148, 64, 141, 16});
  Label8 = MakeLabel(GroupBox2, "Label8", WindowTexts::Label8, {148, 89, 130, 16});
  Label10 = MakeLabel(GroupBox2, "Label10", WindowTexts::Label10, {148, 114, 146, 16});
  Label9 = MakeLabel(GroupBox2, "Label9", WindowTexts::Label9, {148, 139, 126, 16});
  Label19 = MakeLabel(GroupBox2, "Label19", WindowTexts::Label19, {148, 166, 202, 13}, 11);
  Label21 = MakeLabel(GroupBox2, "Label21", WindowTexts::Label21, {148, 189, 55, 16});
  Label12 = MakeLabel(GroupBox2, "Label12", WindowTexts::Label12, {148, 212, 61, 16});
  Label11 = MakeLabel(GroupBox2, "Label11", WindowTexts::Label11, {148, 235, 113, 16});
  Label18 = MakeLabel(GroupBox2, "Label18", WindowTexts::Label18, {148, 258, 111, 16});
  Label24 = MakeLabel(GroupBox2, "Label24", WindowTexts::Label24, {148, 280, 179, 16});
  Label23 = MakeLabel(GroupBox2, "Label23", WindowTexts::Label23, {148, 302, 50, 16});
  Label22 = new QLabel(Tr(WindowTexts::Label22), GroupBox2);
  Label22->setObjectName(QStringLiteral("Label22"));
  Label22->setFont(WindowFont(13));
  Label22->setWordWrap(true);
  // Absolute: in a right-to-left widget a plain AlignRight means the left side.
  Label22->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
  // Two lines of the face, at least the 32 px drawn for Tahoma.
  Label22->setGeometry(143, 325, 180, std::max(32, 2 * Label22->fontMetrics().lineSpacing()));
  Edit6 = MakeEdit(GroupBox2, "Edit6", {22, 36, 121, 24}, 2);
  Edit7 = MakeEdit(GroupBox2, "Edit7", {22, 61, 121, 24}, 2);
  Edit8 = MakeEdit(GroupBox2, "Edit8", {22, 86, 121, 24});
  Edit9 = MakeEdit(GroupBox2, "Edit9", {22, 111, 121, 24});
  Edit10 = MakeEdit(GroupBox2, "Edit10", {22, 136, 121, 24}, 3);
  Edit12 = MakeEdit(GroupBox2, "Edit12", {22, 161, 121, 24});
  ComboBox1 = new TPlainComboBox(GroupBox2);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setFont(WindowFont(13));
  ComboBox1->setGeometry(22, 186, 121, 22);
  ComboBox1->setLayoutDirection(Qt::LeftToRight);
  ComboBox1->setEditable(false);
  ComboBox1->setItemDelegate(new TPlainItemDelegate(ComboBox1));
  ComboBox1->addItems({Tr(WindowTexts::ComboItem0), Tr(WindowTexts::ComboItem1)});
  ComboBox1->setCurrentIndex(-1);
  ComboBox1->setCursor(Qt::WhatsThisCursor);
  Edit11 = MakeEdit(GroupBox2, "Edit11", {22, 209, 121, 24}, 2);
  CheckBox1 = MakeCheckBox(GroupBox2, "CheckBox1", WindowTexts::CheckBox1, {24, 236, 119, 17}, 11);
  CheckBox2 = MakeCheckBox(GroupBox2, "CheckBox2", WindowTexts::CheckBox2, {24, 259, 119, 17});
  CheckBox3 = MakeCheckBox(GroupBox2, "CheckBox3", WindowTexts::CheckBox3, {22, 281, 121, 17});
  CheckBox4 = MakeCheckBox(GroupBox2, "CheckBox4", WindowTexts::CheckBox4, {22, 303, 121, 17});
  CheckBox8 = MakeCheckBox(GroupBox2, "CheckBox8", WindowTexts::CheckBox8, {15, 326, 128, 17});

  // GroupBox3: the allowance percentages, maroon on pale blue.
  Label14 = MakeLabel(GroupBox3, "Label14", WindowTexts::Label14, {148, 36, 128, 16});
  Label13 = MakeLabel(GroupBox3, "Label13", WindowTexts::Label13, {148, 61, 127, 16});
  Label15 = MakeLabel(GroupBox3, "Label15", WindowTexts::Label15, {148, 86, 120, 16});
  Label16 = MakeLabel(GroupBox3, "Label16", WindowTexts::Label16, {148, 111, 128, 16});
  Label17 = MakeLabel(GroupBox3, "Label17", WindowTexts::Label17, {148, 136, 196, 16});
  Label77 = MakeLabel(GroupBox3, "Label77", WindowTexts::Label77, {151, 163, 160, 14}, 12);
  Label78 = MakeLabel(GroupBox3, "Label78", WindowTexts::Label78, {148, 187, 144, 14}, 12);
  Label79 = MakeLabel(GroupBox3, "Label79", WindowTexts::Label79, {148, 212, 148, 14}, 12);
  Label86 = MakeLabel(GroupBox3, "Label86", WindowTexts::Label86, {148, 237, 172, 14}, 12);
  Label87 = MakeLabel(GroupBox3, "Label87", WindowTexts::Label87, {148, 262, 160, 14}, 12);
  Label88 = MakeLabel(GroupBox3, "Label88", WindowTexts::Label88, {148, 287, 151, 14}, 12);
  Edit13 = MakeEdit(GroupBox3, "Edit13", {24, 33, 121, 24}, 3);
  Edit14 = MakeEdit(GroupBox3, "Edit14", {24, 58, 121, 24}, 3);
  Edit15 = MakeEdit(GroupBox3, "Edit15", {24, 83, 121, 24}, 3);
  Edit16 = MakeEdit(GroupBox3, "Edit16", {24, 108, 121, 24}, 3);
  Edit17 = MakeEdit(GroupBox3, "Edit17", {24, 133, 121, 24}, 3);
  Edit19 = MakeEdit(GroupBox3, "Edit19", {24, 158, 121, 24}, 3);
  Edit20 = MakeEdit(GroupBox3, "Edit20", {24, 183, 121, 24}, 3);
  Edit21 = MakeEdit(GroupBox3, "Edit21", {24, 208, 121, 24}, 3);
  Edit22 = MakeEdit(GroupBox3, "Edit22", {41, 233, 104, 24}, 3);
  CheckBox5 = MakeCheckBox(GroupBox3, "CheckBox5", nullptr, {23, 237, 17, 17});
  CheckBox5->setCursor(Qt::WhatsThisCursor);
  Edit23 = MakeEdit(GroupBox3, "Edit23", {24, 258, 121, 24}, 3);
  Edit24 = MakeEdit(GroupBox3, "Edit24", {24, 283, 121, 24}, 3);
  CheckBox6 = MakeCheckBox(GroupBox3, "CheckBox6", WindowTexts::CheckBox6, {24, 315, 322, 17}, 11);
  CheckBox6->setLayoutDirection(Qt::LeftToRight);
  for (QLineEdit* Edit : {Edit13, Edit14, Edit15, Edit16, Edit17, Edit19, Edit20, Edit21, Edit22, Edit23, Edit24})
    KeepColours(Edit, "#800000", "#ECF8FD");

  Label6->setToolTip(Tr(WindowTexts::HintEdit6));
  Edit6->setToolTip(Tr(WindowTexts::HintEdit6));
  Label86->setToolTip(Tr(WindowTexts::HintLabel86));
  CheckBox5->setToolTip(Tr(WindowTexts::HintCheckBox5));
  ComboBox1->setToolTip(Tr(WindowTexts::HintComboBox1));

  // Panel1 first, then Panel2; only the visible panel's controls take part.
  const std::vector<QWidget*> TabOrder = {
      Button2,   Button3,   RichEdit1, Edit1,     Edit2,  Edit3,     Edit26,    Edit4,     Edit5,  Edit25,
      Edit18,    Edit6,     Edit7,     Edit8,     Edit9,  Edit10,    Edit12,    ComboBox1, Edit11, CheckBox1,
      CheckBox2, CheckBox3, CheckBox4, CheckBox8, Edit13, Edit14,    Edit15,    Edit16,    Edit17, Edit19,
      Edit20,    Edit21,    Edit22,    Edit23,    Edit24, CheckBox5, CheckBox6, Button1};
  for (std::size_t I = 1; I < TabOrder.size(); ++I) setTabOrder(TabOrder[I - 1], TabOrder[I]);

  // The Enter order: top to bottom through the three group boxes, ending on
  // Button1. ComboBox1 moves on only when an item is chosen; CheckBox5 is
  // passed over.
  const std::vector<std::pair<QWidget*, QWidget*>> EnterOrder = {
      {Edit1, Edit2},         {Edit2, Edit3},         {Edit3, Edit26},        {Edit26, Edit4},
      {Edit4, Edit5},         {Edit5, Edit25},        {Edit25, Edit18},       {Edit18, Edit6},
      {Edit6, Edit7},         {Edit7, Edit8},         {Edit8, Edit9},         {Edit9, Edit10},
      {Edit10, Edit12},       {Edit12, ComboBox1},    {Edit11, CheckBox1},    {CheckBox1, CheckBox2},
      {CheckBox2, CheckBox3}, {CheckBox3, CheckBox4}, {CheckBox4, CheckBox8}, {CheckBox8, Edit13},
      {Edit13, Edit14},       {Edit14, Edit15},       {Edit15, Edit16},       {Edit16, Edit17},
      {Edit17, Edit19},       {Edit19, Edit20},       {Edit20, Edit21},       {Edit21, Edit22},
      {Edit22, Edit23},       {Edit23, Edit24},       {Edit24, CheckBox6},    {CheckBox6, Button1}};
  for (const auto& [Control, Next] : EnterOrder) {
    Successor.insert(Control, Next);
    Control->installEventFilter(this);
  }
  Button1->installEventFilter(this);
  NameForScreenReaders();
}

// Inside a group box Qt would name every input by the box's caption. Each
// input takes its own label's caption; a check box its row's label with its
// own caption. Hints become descriptions (a description shows no tooltip).
void TForm1::NameForScreenReaders() {
  const std::pair<QLabel*, QWidget*> Rows[] = {
      {Label1, Edit1},      {Label2, Edit2},     {Label3, Edit3},      {Label26, Edit26},    {Label5, Edit4},
      {Label4, Edit5},      {Label20, Edit25},   {Label25, Edit18},    {Label6, Edit6},      {Label7, Edit7},
      {Label8, Edit8},      {Label10, Edit9},    {Label9, Edit10},     {Label19, Edit12},    {Label21, ComboBox1},
      {Label12, Edit11},    {Label14, Edit13},   {Label13, Edit14},    {Label15, Edit15},    {Label16, Edit16},
      {Label17, Edit17},    {Label77, Edit19},   {Label78, Edit20},    {Label79, Edit21},    {Label86, Edit22},
      {Label87, Edit23},    {Label88, Edit24},   {Label11, CheckBox1}, {Label18, CheckBox2}, {Label24, CheckBox3},
      {Label23, CheckBox4}, {Label22, CheckBox8}};
  for (const auto& [Label, Control] : Rows) {
    QString Name = SpokenName(Label->text());
    if (auto* Box = qobject_cast<QCheckBox*>(Control)) Name += QStringLiteral(": ") + Box->text();
    Control->setAccessibleName(Name);
    // The label-for relation, for screen readers that follow it.
    Label->setBuddy(Control);
  }
  CheckBox5->setAccessibleName(SpokenName(Tr(WindowTexts::Label86)) + QStringLiteral(": ") +
                               Tr(WindowTexts::CheckBox5Purpose));
  CheckBox6->setAccessibleName(Tr(WindowTexts::CheckBox6));
  for (QPushButton* Button : {Button1, Button2, Button3}) Button->setAccessibleName(Button->text());
  RichEdit1->setAccessibleName(SpokenName(Tr(WindowTexts::GroupBox4)));
  WaterImage1->setAccessibleName(Tr(WindowTexts::WaterImage1Name));
  WaterImage1->setAccessibleDescription(Tr(WindowTexts::WaterImage1Description));

  Edit6->setAccessibleDescription(Tr(WindowTexts::HintEdit6));
  Edit22->setAccessibleDescription(Tr(WindowTexts::HintLabel86));
  CheckBox5->setAccessibleDescription(Tr(WindowTexts::HintCheckBox5));
  ComboBox1->setAccessibleDescription(Tr(WindowTexts::HintComboBox1));
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
    for (int Number = 1; Number <= 26; ++Number) EditByNumber(Number)->clear();
    for (QCheckBox* Box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox8})
      Box->setChecked(false);
    RichEdit1->clear();
    Edit6->setFocus();
    if (const std::optional<BaseValues> Stored = LoadBaseValues(Utf8(Masir))) {
      QLineEdit* const Targets[] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit18, Edit25, Edit26};
      for (std::size_t I = 0; I < Stored->size(); ++I) Targets[I]->setText(QString::fromStdString((*Stored)[I]));
    }
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

    SaveBaseValues(Utf8(Masir), {Text(PanelControl::Edit1), Text(PanelControl::Edit2), Text(PanelControl::Edit3),
                                 Text(PanelControl::Edit4), Text(PanelControl::Edit5), Text(PanelControl::Edit18),
                                 Text(PanelControl::Edit25), Text(PanelControl::Edit26)});
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

QLineEdit* TForm1::EditByNumber(int Number) const {
  const std::array<QLineEdit*, 26> Edits = {Edit1,  Edit2,  Edit3,  Edit4,  Edit5,  Edit6,  Edit7,  Edit8,  Edit9,
                                            Edit10, Edit11, Edit12, Edit13, Edit14, Edit15, Edit16, Edit17, Edit18,
                                            Edit19, Edit20, Edit21, Edit22, Edit23, Edit24, Edit25, Edit26};
  return Edits.at(static_cast<std::size_t>(Number - 1));
}

QWidget* TForm1::ControlOf(PanelControl Control) const {
  const int Index = static_cast<int>(Control);
  if (Control <= PanelControl::Edit26) return EditByNumber(Index + 1);
  switch (Control) {
    case PanelControl::ComboBox1: return ComboBox1;
    case PanelControl::CheckBox1: return CheckBox1;
    case PanelControl::CheckBox2: return CheckBox2;
    case PanelControl::CheckBox3: return CheckBox3;
    case PanelControl::CheckBox4: return CheckBox4;
    case PanelControl::CheckBox5: return CheckBox5;
    case PanelControl::CheckBox6: return CheckBox6;
    case PanelControl::CheckBox8: return CheckBox8;
    default: return nullptr;
  }
}

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
