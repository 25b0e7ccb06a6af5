// SPDX-License-Identifier: GPL-3.0-or-later
// The web page's way into the cores, compiled to WebAssembly together with
// them. The page hands texts in and gets JSON back: the tables it builds its
// elements from, a decree's report lines or its message, the clause-B
// product, the stored base values and the errors of their store. It also
// drives the banner's ripple engine through a few calls on shared pixel
// buffers. Nothing of the decree is worked out in JavaScript.
//
// A returned text lives until the next call of the same function. Every entry
// point catches what the cores throw: an exception must not unwind into the
// page's script.
#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "decree/DecreeCatalogue.h"
#include "decree/DecreeReport.h"
#include "decree/PanelLayout.h"
#include "decree/WindowTexts.h"
#include "ripple/Random.h"
#include "ripple/WaterEffect.h"
#include "storage/BaseValues.h"
#include "web/WebTexts.h"

namespace {

// The browser keeps the text of info.ini under this key, and the storage
// errors name it as the window names the file.
constexpr const char* StoredName = "info.ini";

// The banner's settings: those of WaterImage1 on the window.
constexpr int BannerInterval = 50;  // ms between frames
constexpr int BannerRadius = 0;     // a mouse drop raises a single cell
constexpr int BannerRandomDelay = 800;
constexpr int BannerRandomBlob = 500;
constexpr int BannerTrackBlob = 100;
constexpr int BannerClickBlob = 250;

// Written by hand: printf would bring its floating-point formatting along.
constexpr char HexDigits[] = "0123456789ABCDEF";

// A JSON string literal of UTF-8 text.
std::string Quoted(std::string_view Text) {
  std::string Out = "\"";
  for (const char C : Text) {
    const auto Code = static_cast<unsigned char>(C);
    if (C == '"' || C == '\\') {
      Out += '\\';
      Out += C;
    } else if (Code < 0x20) {
      Out += "\\u00";
      Out += HexDigits[Code >> 4];
      Out += HexDigits[Code & 15];
    } else {
      Out += C;
    }
  }
  return Out + '"';
}

std::string QuotedOrNull(const char* Text) { return Text ? Quoted(Text) : "null"; }

std::string Colour(std::uint32_t Rgb) {
  if (Rgb == NoColour) return "null";
  std::string Text = "\"#";
  for (int Shift = 20; Shift >= 0; Shift -= 4) Text += HexDigits[(Rgb >> Shift) & 15];
  return Text + '"';
}

const char* KindName(ControlKind Kind) {
  switch (Kind) {
    case ControlKind::Panel: return "panel";
    case ControlKind::GroupBox: return "groupbox";
    case ControlKind::Label: return "label";
    case ControlKind::Edit: return "edit";
    case ControlKind::CheckBox: return "checkbox";
    case ControlKind::ComboBox: return "combobox";
    case ControlKind::Button: return "button";
    case ControlKind::Picture: return "picture";
    case ControlKind::RichText: return "richtext";
  }
  return "";
}

const char* CursorName(ControlCursor Cursor) {
  switch (Cursor) {
    case ControlCursor::Hand: return "pointer";
    case ControlCursor::Help: return "help";
    case ControlCursor::Arrow: break;
  }
  return "default";
}

const InputSpec* InputNamed(std::string_view Name) {
  for (const InputSpec& Input : Inputs)
    if (Name == Input.ControlName) return &Input;
  return nullptr;
}

template <typename Range, typename Write>
std::string List(const Range& Items, Write Item) {
  std::string Out = "[";
  for (const auto& Each : Items) {
    if (Out.size() > 1) Out += ',';
    Out += Item(Each);
  }
  return Out + ']';
}

std::string ControlJson(const ControlLayout& C) {
  const InputSpec* Input = InputNamed(C.Name);
  const ControlBox& B = C.Box;
  std::string Out = "{\"name\":" + Quoted(C.Name) + ",\"kind\":" + Quoted(KindName(C.Kind)) +
                    ",\"parent\":" + QuotedOrNull(C.Parent) + ",\"box\":[" + std::to_string(B.Left) + ',' +
                    std::to_string(B.Top) + ',' + std::to_string(B.Width) + ',' + std::to_string(B.Height) + ']';
  Out += ",\"font\":" + std::to_string(C.FontPixels) + ",\"caption\":" + QuotedOrNull(C.Caption) +
         ",\"hint\":" + QuotedOrNull(C.Hint) + ",\"tab\":" + std::to_string(C.TabOrder) +
         ",\"maxLength\":" + std::to_string(C.MaxLength) + ",\"colour\":" + Colour(C.TextColour) +
         ",\"background\":" + Colour(C.Background);
  Out += std::string(",\"leftToRight\":") + (C.LeftToRight ? "true" : "false") +
         ",\"sizedToText\":" + (C.SizedToText ? "true" : "false") + ",\"wordWrap\":" + (C.WordWrap ? "true" : "false") +
         ",\"hidden\":" + (C.HiddenAtStart ? "true" : "false") + ",\"cursor\":" + Quoted(CursorName(C.Cursor));
  Out += ",\"spokenName\":" + Quoted(SpokenName(C.Name)) +
         ",\"spokenDescription\":" + Quoted(SpokenDescription(C.Name)) +
         ",\"enter\":" + QuotedOrNull(EnterSuccessor(C.Name)) +
         ",\"keyFiltered\":" + (Input && Input->KeyFiltered ? "true" : "false") +
         ",\"label\":" + QuotedOrNull(Input ? Input->LabelName : nullptr) + '}';
  return Out;
}

std::string TablesJson() {
  const std::string Caption = std::string(WindowTexts::CaptionStart) + DECREE_AUTHOR_NAME +
                              WindowTexts::CaptionSeparator + DECREE_AUTHOR_PHONE + WindowTexts::CaptionEnd;
  std::vector<const InputSpec*> Edits, Flags;
  for (const InputSpec& Input : Inputs) {
    if (LayoutOf(Input.ControlName) && LayoutOf(Input.ControlName)->Kind == ControlKind::Edit) Edits.push_back(&Input);
    if (Input.Kind == InputKind::Flag) Flags.push_back(&Input);
  }
  const auto Name = [](const InputSpec* Input) { return Quoted(Input->ControlName); };
  const auto Control = [](PanelControl C) { return Quoted(InputOf(C).ControlName); };
  std::string Out = "{\"client\":[" + std::to_string(ClientWidth) + ',' + std::to_string(ClientHeight) + ',' +
                    std::to_string(WindowFontPixels) + ']';
  std::vector<const ControlLayout*> Layout;
  for (std::size_t I = 0; I < PanelControlCount; ++I) Layout.push_back(&PanelControls[I]);
  Out += ",\"controls\":" + List(Layout, [](const ControlLayout* C) { return ControlJson(*C); });
  Out += ",\"tabOrder\":" + List(InputPanelTabOrder(), [](const char* C) { return Quoted(C); });
  Out += ",\"edits\":" + List(Edits, Name) + ",\"flags\":" + List(Flags, Name);
  Out += ",\"stored\":" + List(StoredOrder, Control);
  Out += ",\"insuranceItems\":" + List(InsuranceItems, [](const char* Item) { return Quoted(Item); });
  // Key releases in the coefficient and the points refill the clause-B amount.
  Out += ",\"autoFill\":{\"from\":[" + Control(PanelControl::Edit1) + ',' + Control(PanelControl::Edit25) +
         "],\"to\":" + Control(PanelControl::Edit18) + '}';
  Out += ",\"texts\":{\"title\":" + Quoted(WindowTexts::ApplicationTitle) + ",\"caption\":" + Quoted(Caption) +
         ",\"printJob\":" + Quoted(WindowTexts::PrintJobName) +
         ",\"nothingToPrint\":" + Quoted(WindowTexts::NothingToPrint) + ",\"ok\":" + Quoted(WebTexts::OkButton);
  // Shown in the general error box: with its full-stop rule applied.
  Out += ",\"unknownError\":" + Quoted(ErrorMessageText(WindowTexts::UnknownError)) + '}';
  Out += ",\"storageKey\":" + Quoted(StoredName);
  Out += ",\"webAddress\":" + Quoted(DECREE_WEB_ADDRESS);
  Out += ",\"bannerInterval\":" + std::to_string(BannerInterval) + '}';
  return Out;
}

// The page's input panel as the decree core reads it: the texts the page
// handed in, what the core writes back, the message and the focus it asks for.
class TPagePanel : public DecreePanel {
 public:
  TPagePanel(const char* const* EditTexts, int Flags, int Index) : FFlags(Flags), FIndex(Index) {
    for (std::size_t I = 0; I < FTexts.size(); ++I) FTexts[I] = EditTexts[I] ? EditTexts[I] : "";
  }

  std::string Text(PanelControl Edit) const override {
    const std::size_t At = EditIndex(Edit);
    return At < FTexts.size() ? FTexts[At] : std::string();
  }
  void SetText(PanelControl Edit, const std::string& Value) override {
    const std::size_t At = EditIndex(Edit);
    if (At >= FTexts.size()) return;
    FTexts[At] = Value;
    Written.emplace_back(Edit, Value);
  }
  void SetFocus(PanelControl Control) override { Focus = Control; }
  int ItemIndex() const override { return FIndex; }
  bool Checked(PanelControl CheckBox) const override {
    int Bit = 0;
    for (const InputSpec& Input : Inputs) {
      if (Input.Kind != InputKind::Flag) continue;
      if (Input.Control == CheckBox) return (FFlags >> Bit) & 1;
      ++Bit;
    }
    return false;
  }
  void ShowMessage(const std::string& Value) override { Message = Value; }

  std::vector<std::pair<PanelControl, std::string>> Written;
  std::optional<PanelControl> Focus;
  std::optional<std::string> Message;

 private:
  // The edit boxes are the first 26 controls, Edit1..Edit26, in the order the page passes their texts.
  static std::size_t EditIndex(PanelControl Edit) { return static_cast<std::size_t>(Edit); }

  std::array<std::string, 26> FTexts;
  int FFlags;
  int FIndex;
};

std::string WrittenJson(const TPagePanel& Panel) {
  return List(Panel.Written, [](const std::pair<PanelControl, std::string>& W) {
    return "[" + Quoted(InputOf(W.first).ControlName) + ',' + Quoted(W.second) + ']';
  });
}

// A message for the page's box: "standard" for the checks' box, "error" for
// the general error box, with the full-stop rule applied.
std::string MessageJson(const TPagePanel& Panel, const char* Box, const std::string& Text) {
  return "{\"box\":" + Quoted(Box) + ",\"message\":" + Quoted(Text) +
         ",\"focus\":" + (Panel.Focus ? Quoted(InputOf(*Panel.Focus).ControlName) : "null") +
         ",\"written\":" + WrittenJson(Panel) + '}';
}

std::optional<std::string> Optional(const char* Text) {
  if (!Text) return std::nullopt;
  return std::string(Text);
}

std::string ComputeJson(const char* const* EditTexts, int Flags, int ItemIndex, const NumberFormat& Format) {
  TPagePanel Panel(EditTexts, Flags, ItemIndex);
  try {
    const std::optional<DecreeInput> Input = ReadDecreeInput(Panel, Format);
    if (!Input || !CheckGroupRange(*Input, Panel)) return MessageJson(Panel, "standard", Panel.Message.value_or(""));
    const DecreeResult Result = ComputeDecree(*Input, GroupPointsTable);
    const std::vector<std::string> Lines = BuildDecreeReport(Result, Format);
    BaseValues Stored;
    for (std::size_t Line = 0; Line < StoredOrder.size(); ++Line) Stored[Line] = Panel.Text(StoredOrder[Line]);
    return "{\"lines\":" + List(Lines, [](const std::string& L) { return Quoted(L); }) +
           ",\"written\":" + WrittenJson(Panel) + ",\"stored\":" + Quoted(BaseValuesText(Stored)) + '}';
  } catch (const std::exception& Error) {
    return MessageJson(Panel, "error", ErrorMessageText(Error.what()));
  } catch (...) {
    return MessageJson(Panel, "error", ErrorMessageText(WindowTexts::UnknownError));
  }
}

// The banner: the picture as the engine reads it, the frame it draws, and the
// frame as the page's canvas shows it (four bytes a pixel).
struct TBanner {
  TWaterEffect Water;
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Src;
  std::vector<std::uint8_t> Dst;
  std::vector<std::uint8_t> Canvas;
  std::vector<TWaterEffect::TColumns> Drawn;  // per row, what the frame shown drew through the water
  std::array<std::int32_t, 4> Dirty{};        // left, top, width, height of what the last tick changed
  bool Ready = false;

  TBitmap24 View(std::vector<std::uint8_t>& Bits) { return {Width, Height, Bits.data(), 3 * std::ptrdiff_t{Width}}; }
};

TBanner& Banner() {
  static TBanner B;
  return B;
}

void BannerTick(TBanner& B) {
  B.Dirty = {0, 0, 0, 0};
  if (!B.Ready) return;
  // A drop falls with a chance of 1 in ⌈RandomDelay / Interval⌉ + 1 per tick.
  const int N = (BannerRandomDelay + BannerInterval - 1) / BannerInterval;
  if (RandomInt(N + 1) == 0) {
    const int Radius = 1 + RandomInt(2);
    const int Height = 100 + RandomInt(BannerRandomBlob);
    B.Water.Blob(-1, -1, Radius, Height);
  }
  const bool Shown =
      std::any_of(B.Drawn.begin(), B.Drawn.end(), [](const TWaterEffect::TColumns& C) { return C.First <= C.Last; });
  // Calm water under a frame that is the picture itself: the next frame is that picture again.
  if (B.Water.Calm() && !Shown) return;
  B.Water.Render(B.View(B.Src), B.View(B.Dst));

  // Only where this frame or the one shown drew through the water can the canvas change.
  int Left = B.Width, Right = -1, Top = B.Height, Bottom = -1;
  for (int y = 0; y < B.Height; ++y) {
    const TWaterEffect::TColumns Now = B.Water.DrawnColumns(y);
    TWaterEffect::TColumns& Before = B.Drawn[static_cast<std::size_t>(y)];
    const int First =
        std::min(Now.First <= Now.Last ? Now.First : B.Width, Before.First <= Before.Last ? Before.First : B.Width);
    const int Last = std::max(Now.First <= Now.Last ? Now.Last : -1, Before.First <= Before.Last ? Before.Last : -1);
    Before = Now;
    if (First > Last) continue;
    const std::uint8_t* From = B.Dst.data() + (static_cast<std::size_t>(y) * B.Width + First) * 3;
    std::uint8_t* To = B.Canvas.data() + (static_cast<std::size_t>(y) * B.Width + First) * 4;
    for (int x = First; x <= Last; ++x, From += 3, To += 4) {
      To[0] = From[0];
      To[1] = From[1];
      To[2] = From[2];
    }
    Left = std::min(Left, First);
    Right = std::max(Right, Last);
    Top = std::min(Top, y);
    Bottom = y;
  }
  if (Right >= Left) B.Dirty = {Left, Top, Right - Left + 1, Bottom - Top + 1};
}

std::string& Returned(int Which) {
  static std::array<std::string, 5> Texts;
  return Texts[static_cast<std::size_t>(Which)];
}

}  // namespace

extern "C" {

// The tables the page builds itself from, as JSON.
const char* WebTables() {
  std::string& Out = Returned(0);
  try {
    Out = TablesJson();
  } catch (...) {
    Out = "null";
  }
  return Out.c_str();
}

// Button1Click up to the panel switch. Texts: Edit1..Edit26; Flags: bit i for
// the i-th check box of the catalogue (CheckBox1..CheckBox8); ItemIndex of
// ComboBox1, -1 for none; the regional separators, null when unknown.
// Gives {lines, written, stored} or {box, message, focus, written}.
const char* WebCompute(const char* const* Texts, int Flags, int ItemIndex, const char* Decimal, const char* Thousand) {
  std::string& Out = Returned(1);
  try {
    Out = ComputeJson(Texts, Flags, ItemIndex, NumberFormatFromSettings(Optional(Decimal), Optional(Thousand)));
  } catch (...) {
    Out = "null";
  }
  return Out.c_str();
}

// The clause-B amount for Edit18: {"text": ...} or {"message": ...} for the general error box.
const char* WebClauseBAmount(const char* Coefficient, const char* Points, const char* Decimal, const char* Thousand) {
  std::string& Out = Returned(2);
  try {
    const NumberFormat Format = NumberFormatFromSettings(Optional(Decimal), Optional(Thousand));
    Out = "{\"text\":" + Quoted(ClauseBAmountText(Coefficient ? Coefficient : "", Points ? Points : "", Format)) + '}';
  } catch (const std::exception& Error) {
    Out = "{\"message\":" + Quoted(ErrorMessageText(Error.what())) + '}';
  } catch (...) {
    Out = "{\"message\":" + Quoted(ErrorMessageText(WindowTexts::UnknownError)) + '}';
  }
  return Out.c_str();
}

// The eight texts of a stored base values text, exactly as read, or null
// unless it holds exactly eight lines.
const char* WebStoredTexts(const char* Stored) {
  std::string& Out = Returned(3);
  try {
    const std::optional<BaseValues> Texts = Stored ? ReadBaseValuesText(Stored) : std::nullopt;
    Out = Texts ? List(*Texts, [](const std::string& T) { return Quoted(T); }) : "null";
  } catch (...) {
    Out = "null";
  }
  return Out.c_str();
}

// The general error box's text when the browser refuses to keep the base
// values (Open 0: at a computation) or to give them back (Open 1: at start),
// with the browser's reason as the cause, as the window words it for info.ini.
const char* WebStorageError(int Open, const char* Cause) {
  std::string& Out = Returned(4);
  try {
    const std::string Why = Cause ? Cause : "";
    Out = ErrorMessageText(Open ? OpenErrorText(StoredName, Why) : CreateErrorText(StoredName, Why));
  } catch (...) {
    Out = ErrorMessageText(WindowTexts::UnknownError);
  }
  return Out.c_str();
}

// Sizes the banner and gives the canvas's pixels (four bytes a pixel, rows of
// Width pixels) for the page to write the picture into; null on failure.
std::uint8_t* WebBannerCanvas(int Width, int Height) {
  TBanner& B = Banner();
  B.Ready = false;
  try {
    if (Width <= 0 || Height <= 0) return nullptr;
    const std::size_t Pixels = static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height);
    B.Water.SetSize(Width, Height);
    B.Width = Width;
    B.Height = Height;
    B.Src.assign(Pixels * 3, 0);
    B.Dst.assign(Pixels * 3, 0);
    B.Canvas.assign(Pixels * 4, 255);
    B.Drawn.assign(static_cast<std::size_t>(Height), {Width, -1});
    return B.Canvas.data();
  } catch (...) {
    return nullptr;
  }
}

// The picture is in the canvas's pixels: it becomes the source, three bytes
// a pixel, and the water starts calm.
void WebBannerPictureWritten() {
  TBanner& B = Banner();
  if (B.Canvas.empty()) return;
  const std::size_t Pixels = B.Src.size() / 3;
  for (std::size_t P = 0; P < Pixels; ++P)
    for (std::size_t Byte = 0; Byte < 3; ++Byte) B.Src[P * 3 + Byte] = B.Canvas[P * 4 + Byte];
  B.Dst = B.Src;
  B.Water.ClearWater();
  B.Ready = true;
}

// One timer tick: perhaps a random drop, one step of the water and one frame.
// Gives the rectangle of the canvas it changed (left, top, width, height;
// width 0: nothing).
const std::int32_t* WebBannerTick() {
  TBanner& B = Banner();
  try {
    BannerTick(B);
  } catch (...) {
    // The banner shows no messages; such a frame is dropped.
    B.Dirty = {0, 0, 0, 0};
  }
  return B.Dirty.data();
}

// The mouse over the banner, in its pixels: a move raises a small drop, a
// bigger one with the left button held; a left press a bigger one.
void WebBannerMouseMove(int X, int Y, int LeftHeld) {
  TBanner& B = Banner();
  if (!B.Ready || X < 0 || Y < 0 || X >= B.Width || Y >= B.Height) return;
  B.Water.Blob(X, Y, BannerRadius, LeftHeld ? BannerClickBlob : BannerTrackBlob);
}

void WebBannerMouseDown(int X, int Y) {
  TBanner& B = Banner();
  // Outside the grid the engine would take the drop for a random one.
  if (!B.Ready || X < 0 || Y < 0 || X >= B.Width || Y >= B.Height) return;
  B.Water.Blob(X, Y, BannerRadius, BannerClickBlob);
}

}  // extern "C"
