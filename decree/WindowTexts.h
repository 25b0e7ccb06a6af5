// SPDX-License-Identifier: GPL-3.0-or-later
// The program's user-visible texts, UTF-8, in one place. Captions keep the
// letters exactly as shown on screen (including the Arabic kaf in Label88 and
// the spelling of Label17); Button1 and Button2 hold a zero-width non-joiner.
#pragma once

namespace WindowTexts {

extern const char ApplicationTitle[];
extern const char CaptionStart[];
extern const char CaptionSeparator[];
extern const char CaptionEnd[];
extern const char GroupBox1[];
extern const char GroupBox2[];
extern const char GroupBox3[];
extern const char Button1[];
extern const char Label1[];
extern const char Label2[];
extern const char Label3[];
extern const char Label26[];
extern const char Label5[];
extern const char Label4[];
extern const char Label20[];
extern const char Label25[];
extern const char Label6[];
extern const char Label7[];
extern const char Label8[];
extern const char Label10[];
extern const char Label9[];
extern const char Label19[];
extern const char Label21[];
extern const char Label12[];
extern const char Label11[];
extern const char Label18[];
extern const char Label24[];
extern const char Label23[];
extern const char Label22[];
extern const char CheckBox1[];
extern const char CheckBox2[];
extern const char CheckBox3[];
extern const char CheckBox4[];
extern const char CheckBox8[];
extern const char ComboItem0[];
extern const char ComboItem1[];
extern const char Label14[];
extern const char Label13[];
extern const char Label15[];
extern const char Label16[];
extern const char Label17[];
extern const char Label77[];
extern const char Label78[];
extern const char Label79[];
extern const char Label86[];
extern const char Label87[];
extern const char Label88[];
extern const char CheckBox6[];
extern const char HintEdit6[];
extern const char HintLabel86[];
extern const char HintCheckBox5[];
extern const char HintComboBox1[];
extern const char GroupBox4[];
extern const char Button2[];
extern const char Button3[];
extern const char PrintJobName[];
extern const char NothingToPrint[];

// What a screen reader says of the controls that have no caption of their
// own to be named by.
extern const char CheckBox5Purpose[];
extern const char WaterImage1Name[];
extern const char WaterImage1Description[];

// The last resort of the error box; the other error texts come from the
// decree and storage cores and the report's print job.
extern const char UnknownError[];

}  // namespace WindowTexts
