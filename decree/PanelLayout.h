// SPDX-License-Identifier: GPL-3.0-or-later
// The window's two panels as data: every control with its kind, parent, place,
// size, font, colours, caption, hint and tab position. The desktop window
// builds its widgets from this table and a browser page its elements, so the
// two cannot drift apart. No toolkit: plain C++17.
//
// Places are pixels at 96 dpi from the parent's top-left corner and are not
// mirrored, although the panels read right to left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class ControlKind {
  Panel,     // fills the client area; exactly one of the two is visible
  GroupBox,  // its caption at the right end of its top edge
  Label,
  Edit,      // one line, text centred
  CheckBox,  // the box at the right end, at the left when it reads left to right
  ComboBox,  // a fixed drop-down list
  Button,
  Picture,   // the ripple banner
  RichText,  // the report area
};

enum class ControlCursor { Arrow, Hand, Help };

struct ControlBox {
  int Left;
  int Top;
  int Width;
  int Height;
};

// A colour as 0xRRGGBB; NoColour leaves it to the look.
inline constexpr std::uint32_t NoColour = 0xFFFFFFFF;

struct ControlLayout {
  const char* Name;  // the control's name (objectName, element id), "Edit1"
  ControlKind Kind;
  const char* Parent;   // nullptr: the window's client area
  ControlBox Box;       // for a label sized to its text: the box Tahoma draws it in
  int FontPixels;       // Tahoma's character height; 0 inherits the window's
  const char* Caption;  // the text shown; nullptr none
  const char* Hint;     // shown when the mouse rests on it; nullptr none
  int TabOrder;         // among its siblings, from 0; -1 never takes the focus by Tab
  int MaxLength;        // edit boxes: characters that can be typed; 0 no limit
  std::uint32_t TextColour;
  std::uint32_t Background;
  bool LeftToRight;  // reads left to right in the right-to-left window
  bool SizedToText;  // labels: the width follows the text, the right edge stays
  bool WordWrap;     // a fixed box whose text wraps, aligned right
  bool HiddenAtStart;
  ControlCursor Cursor;
};

inline constexpr int ClientWidth = 785;
inline constexpr int ClientHeight = 691;
inline constexpr int WindowFontPixels = 11;  // Tahoma 8 pt

// Every control of both panels, parents before their children, in the order
// the window creates them.
extern const ControlLayout PanelControls[];
extern const std::size_t PanelControlCount;

// The row of a control by name; nullptr when there is none.
const ControlLayout* LayoutOf(std::string_view Name);

// Its caption, "" when it has none or there is no such control.
const char* CaptionOf(std::string_view Name);

// The input panel's controls in the order Tab follows: group box by group
// box, each by its tab order, ending on Button1 (and from there around).
const std::vector<const char*>& InputPanelTabOrder();

// Every control Tab reaches, panel by panel in the window's tab order
// (Panel1, then Panel2; only the visible one's controls take part), each
// panel as InputPanelTabOrder gives it.
const std::vector<const char*>& WindowTabOrder();

// Where Enter moves the focus from a control with a character handler: the
// next control of the Tab order that Enter stops at (Edit22 passes over
// CheckBox5). nullptr for controls where Enter does not move the focus
// (ComboBox1, Button1, CheckBox5) and for names that are not controls.
const char* EnterSuccessor(std::string_view Name);

// What a screen reader names a control by: an input by its own label's
// caption without the colon, a check box by its row's label and its own
// caption ("فوق العاده ایثارگری: مشمول می باشد"), CheckBox5 by its row and its
// purpose, a button by its caption, the report area by its group box, the
// banner by what it shows. UTF-8; "" for a control it does not name.
std::string SpokenName(std::string_view Name);

// What a screen reader reads as the description: the hint of the control or
// of its row's label, and for the banner what a click does; "" when none.
std::string SpokenDescription(std::string_view Name);
