// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/PanelLayout.h"

#include <algorithm>

#include "decree/DecreeCatalogue.h"
#include "storage/Text.h"

namespace {

// Hints; Edit6 and its label share theirs.
constexpr const char* HintEdit6 = "گروه مستخدم (کل گروه شامل استحقاقی و تشویقی و...)";
constexpr const char* HintLabel86 = "20% یا 25%";
// Arabic commas.
constexpr const char* HintCheckBox5 =
    "مجموع حقوق، فوق العاده شغل، فوق العاده جذب، تفاوت دریافتی و ماده 26 در محاسبه ی فوق العاده مناطق عملیاتی لحاظ شود";
// Begins with the exclamation mark, as stored.
constexpr const char* HintComboBox1 =
    "!برای بیمه تامین اجتماعی آیتم های محرومیت از تسهیلات زندگی و بدی آب و هوا جزو کسورات محاسبه می شود ولی برای بیمه "
    "سازمان بازنشستگی نه";

// For a screen reader: what the controls without a caption of their own do.
constexpr const char* CheckBox5Purpose = "بر مبنای مجموع حقوق و فوق العاده ها";
constexpr const char* WaterImage1Name = "تصویر متحرک موج آب";
constexpr const char* WaterImage1Description = "کلیک روی تصویر، صفحه وب برنامه نویس را در مرورگر باز می کند";

using K = ControlKind;
using P = ControlCursor;

}  // namespace

// Captions are exact: "زتدگی" in Label17 and the Arabic kaf of Label88 are as
// shown, the two buttons hold a zero-width non-joiner, group box captions are
// framed by one space each.
// Columns: name, kind, parent, {left, top, width, height}, font pixels, caption,
// hint, tab order, maximum length, text colour, background, left to right,
// sized to text, word wrap, hidden at start, cursor.
// clang-format off
const ControlLayout PanelControls[] = {
    {"Panel1", K::Panel, nullptr, {0, 0, 785, 691}, 0, nullptr, nullptr, 0, 0, NoColour, NoColour, false, false, false, true, P::Arrow},
    {"GroupBox4", K::GroupBox, "Panel1", {20, 6, 741, 667}, 13, " نمایش نتیجه محاسبات ", nullptr, 0, 0, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"Button2", K::Button, "GroupBox4", {10, 632, 459, 29}, 13, "چاپ نتیجه\u200cی محاسبات", nullptr, 0, 0, NoColour, NoColour, false, false, false, false, P::Hand},
    {"Button3", K::Button, "GroupBox4", {474, 632, 255, 29}, 13, "خروج و محاسبه حکم جدید", nullptr, 1, 0, NoColour, NoColour, false, false, false, false, P::Hand},
    {"RichEdit1", K::RichText, "GroupBox4", {12, 19, 717, 611}, 16, nullptr, nullptr, 2, 0, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"Panel2", K::Panel, nullptr, {0, 0, 785, 691}, 0, nullptr, nullptr, 1, 0, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"GroupBox1", K::GroupBox, "Panel2", {395, 22, 366, 256}, 13, " اطلاعات پایه سال جدید ", nullptr, 0, 0, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"GroupBox2", K::GroupBox, "Panel2", {394, 286, 366, 384}, 13, " اطلاعات پایه مستخدم ", nullptr, 1, 0, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"GroupBox3", K::GroupBox, "Panel2", {20, 22, 369, 355}, 13, " فوق العاده ها ", nullptr, 2, 0, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"Button1", K::Button, "Panel2", {20, 378, 369, 53}, 13, "محاسبه\u200cی حکم", nullptr, 3, 0, NoColour, NoColour, false, false, false, false, P::Hand},
    {"WaterImage1", K::Picture, "Panel2", {16, 436, 375, 237}, 0, nullptr, nullptr, -1, 0, NoColour, NoColour, false, false, false, false, P::Hand},
    {"Label1", K::Label, "GroupBox1", {148, 36, 40, 16}, 13, "ضریب :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label2", K::Label, "GroupBox1", {148, 61, 123, 16}, 13, "حداقل حقوق اعلامی :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label3", K::Label, "GroupBox1", {148, 86, 105, 16}, 13, "حداقل حقوق موثر :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label26", K::Label, "GroupBox1", {148, 111, 115, 16}, 13, "حداقل حقوق و مزایا :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label5", K::Label, "GroupBox1", {148, 136, 96, 16}, 13, "حق عائله مندی :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label4", K::Label, "GroupBox1", {148, 161, 56, 16}, 13, "حق اولاد :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label20", K::Label, "GroupBox1", {148, 186, 193, 16}, 13, "امتیاز فوق العاده خاص جز 3 بند ب :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label25", K::Label, "GroupBox1", {148, 211, 160, 16}, 13, "فوق العاده خاص جز 3 بند ب :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Edit1", K::Edit, "GroupBox1", {22, 33, 121, 24}, 13, nullptr, nullptr, 0, 0, 0x000080, 0xC4FFC4, false, false, false, false, P::Arrow},
    {"Edit2", K::Edit, "GroupBox1", {22, 58, 121, 24}, 13, nullptr, nullptr, 1, 0, 0x000080, 0xDCE4C9, false, false, false, false, P::Arrow},
    {"Edit3", K::Edit, "GroupBox1", {22, 83, 121, 24}, 13, nullptr, nullptr, 2, 0, 0x000080, 0xDCE4C9, false, false, false, false, P::Arrow},
    {"Edit26", K::Edit, "GroupBox1", {22, 108, 121, 24}, 13, nullptr, nullptr, 3, 0, 0x000080, 0xDCE4C9, false, false, false, false, P::Arrow},
    {"Edit4", K::Edit, "GroupBox1", {22, 133, 121, 24}, 13, nullptr, nullptr, 4, 0, 0x000080, 0xDCE4C9, false, false, false, false, P::Arrow},
    {"Edit5", K::Edit, "GroupBox1", {22, 158, 121, 24}, 13, nullptr, nullptr, 5, 0, 0x000080, 0xDCE4C9, false, false, false, false, P::Arrow},
    {"Edit25", K::Edit, "GroupBox1", {22, 183, 121, 24}, 13, nullptr, nullptr, 6, 0, 0x000080, 0xC4FFC4, false, false, false, false, P::Arrow},
    {"Edit18", K::Edit, "GroupBox1", {22, 208, 121, 24}, 13, nullptr, nullptr, 7, 0, 0x000080, 0xDCE4C9, false, false, false, false, P::Arrow},
    {"Label6", K::Label, "GroupBox2", {148, 39, 85, 16}, 13, "گروه مستخدم :", HintEdit6, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label7", K::Label, "GroupBox2", {148, 64, 141, 16}, 13, "تعداد گروه های تشویقی :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label8", K::Label, "GroupBox2", {148, 89, 130, 16}, 13, "حقوق مبنای سال قبل :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label10", K::Label, "GroupBox2", {148, 114, 146, 16}, 13, "افزایش سنواتی سال قبل :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label9", K::Label, "GroupBox2", {148, 139, 126, 16}, 13, "درصد افزایش سنواتی :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label19", K::Label, "GroupBox2", {148, 166, 202, 13}, 11, "تفاوت تطبیق موضوع جز 1+بند ی تبصره 12 :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label21", K::Label, "GroupBox2", {148, 189, 55, 16}, 13, "نوع بیمه :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label12", K::Label, "GroupBox2", {148, 212, 61, 16}, 13, "تعداد اولاد :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label11", K::Label, "GroupBox2", {148, 235, 113, 16}, 13, "وضعیت عائله مندی :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label18", K::Label, "GroupBox2", {148, 258, 111, 16}, 13, "فوق العاده ایثارگری :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label24", K::Label, "GroupBox2", {148, 280, 179, 16}, 13, "فوق العاده تعدیل (408600 ریال) :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label23", K::Label, "GroupBox2", {148, 302, 50, 16}, 13, "ماده 26 :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label22", K::Label, "GroupBox2", {143, 325, 180, 32}, 13, "محرومیت از تسهیلات زندگی 2 : (مخصوص مناطق مرزی)", nullptr, -1, 0, NoColour, NoColour, false, false, true, false, P::Arrow},
    {"Edit6", K::Edit, "GroupBox2", {22, 36, 121, 24}, 13, nullptr, HintEdit6, 0, 2, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"Edit7", K::Edit, "GroupBox2", {22, 61, 121, 24}, 13, nullptr, nullptr, 1, 2, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"Edit8", K::Edit, "GroupBox2", {22, 86, 121, 24}, 13, nullptr, nullptr, 2, 0, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"Edit9", K::Edit, "GroupBox2", {22, 111, 121, 24}, 13, nullptr, nullptr, 3, 0, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"Edit10", K::Edit, "GroupBox2", {22, 136, 121, 24}, 13, nullptr, nullptr, 4, 3, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"Edit12", K::Edit, "GroupBox2", {22, 161, 121, 24}, 13, nullptr, nullptr, 5, 0, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"ComboBox1", K::ComboBox, "GroupBox2", {22, 186, 121, 22}, 13, nullptr, HintComboBox1, 6, 0, NoColour, NoColour, true, false, false, false, P::Help},
    {"Edit11", K::Edit, "GroupBox2", {22, 209, 121, 24}, 13, nullptr, nullptr, 7, 2, NoColour, NoColour, false, false, false, false, P::Arrow},
    {"CheckBox1", K::CheckBox, "GroupBox2", {24, 236, 119, 17}, 11, "سرپرست خانوار است", nullptr, 8, 0, NoColour, NoColour, false, false, false, false, P::Hand},
    {"CheckBox2", K::CheckBox, "GroupBox2", {24, 259, 119, 17}, 13, "مشمول می باشد", nullptr, 9, 0, NoColour, NoColour, false, false, false, false, P::Hand},
    {"CheckBox3", K::CheckBox, "GroupBox2", {22, 281, 121, 17}, 13, "مشمول می باشد", nullptr, 10, 0, NoColour, NoColour, false, false, false, false, P::Hand},
    {"CheckBox4", K::CheckBox, "GroupBox2", {22, 303, 121, 17}, 13, "مشمول می باشد", nullptr, 11, 0, NoColour, NoColour, false, false, false, false, P::Hand},
    {"CheckBox8", K::CheckBox, "GroupBox2", {15, 326, 128, 17}, 13, "مشمول می باشد", nullptr, 12, 0, NoColour, NoColour, false, false, false, false, P::Hand},
    {"Label14", K::Label, "GroupBox3", {148, 36, 128, 16}, 13, "درصد فوق العاده شغل :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label13", K::Label, "GroupBox3", {148, 61, 127, 16}, 13, "درصد فوق العاده جذب :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label15", K::Label, "GroupBox3", {148, 86, 120, 16}, 13, "درصد فوق العاده ویژه :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label16", K::Label, "GroupBox3", {148, 111, 128, 16}, 13, "درصد فوق العاده خاص :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label17", K::Label, "GroupBox3", {148, 136, 196, 16}, 13, "درصد محرومیت از تسهیلات زتدگی :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label77", K::Label, "GroupBox3", {151, 163, 160, 14}, 12, "درصد فوق العاده بدی آب و هوا :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label78", K::Label, "GroupBox3", {148, 187, 144, 14}, 12, "درصد فوق العاده نوبت کاری :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label79", K::Label, "GroupBox3", {148, 212, 148, 14}, 12, "درصد فوق العاده سختی کار :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label86", K::Label, "GroupBox3", {148, 237, 172, 14}, 12, "درصد فوق العاده مناطق عملیاتی :", HintLabel86, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label87", K::Label, "GroupBox3", {148, 262, 160, 14}, 12, "درصد فوق العاده منطقه محروم :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Label88", K::Label, "GroupBox3", {148, 287, 151, 14}, 12, "درصد فوق العاده كار با اشعه :", nullptr, -1, 0, NoColour, NoColour, false, true, false, false, P::Arrow},
    {"Edit13", K::Edit, "GroupBox3", {24, 33, 121, 24}, 13, nullptr, nullptr, 0, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"Edit14", K::Edit, "GroupBox3", {24, 58, 121, 24}, 13, nullptr, nullptr, 1, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"Edit15", K::Edit, "GroupBox3", {24, 83, 121, 24}, 13, nullptr, nullptr, 2, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"Edit16", K::Edit, "GroupBox3", {24, 108, 121, 24}, 13, nullptr, nullptr, 3, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"Edit17", K::Edit, "GroupBox3", {24, 133, 121, 24}, 13, nullptr, nullptr, 4, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"Edit19", K::Edit, "GroupBox3", {24, 158, 121, 24}, 13, nullptr, nullptr, 5, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"Edit20", K::Edit, "GroupBox3", {24, 183, 121, 24}, 13, nullptr, nullptr, 6, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"Edit21", K::Edit, "GroupBox3", {24, 208, 121, 24}, 13, nullptr, nullptr, 7, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"Edit22", K::Edit, "GroupBox3", {41, 233, 104, 24}, 13, nullptr, nullptr, 8, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"CheckBox5", K::CheckBox, "GroupBox3", {23, 237, 17, 17}, 13, nullptr, HintCheckBox5, 11, 0, NoColour, NoColour, false, false, false, false, P::Help},
    {"Edit23", K::Edit, "GroupBox3", {24, 258, 121, 24}, 13, nullptr, nullptr, 9, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"Edit24", K::Edit, "GroupBox3", {24, 283, 121, 24}, 13, nullptr, nullptr, 10, 3, 0x800000, 0xECF8FD, false, false, false, false, P::Arrow},
    {"CheckBox6", K::CheckBox, "GroupBox3", {24, 315, 322, 17}, 11, "مبلغ فوق العاده خاص جز 3 بند ب در محاسبه حق مسکن لحاظ شود", nullptr, 12, 0, NoColour, NoColour, true, false, false, false, P::Hand},
};
// clang-format on

const std::size_t PanelControlCount = sizeof PanelControls / sizeof PanelControls[0];

const ControlLayout* LayoutOf(std::string_view Name) {
  for (const ControlLayout& Control : PanelControls)
    if (Name == Control.Name) return &Control;
  return nullptr;
}

const char* CaptionOf(std::string_view Name) {
  const ControlLayout* Control = LayoutOf(Name);
  return Control && Control->Caption ? Control->Caption : "";
}

namespace {

const InputSpec* InputNamed(std::string_view Name) {
  for (const InputSpec& Input : Inputs)
    if (Name == Input.ControlName) return &Input;
  return nullptr;
}

// Children of Parent (nullptr: the window's panels) with a tab position, by
// it; group boxes and panels stand for their own children.
void AppendTabOrder(const char* Parent, std::vector<const char*>& Order) {
  std::vector<const ControlLayout*> Children;
  for (const ControlLayout& Control : PanelControls) {
    const bool Child = Parent ? Control.Parent && std::string_view(Parent) == Control.Parent : !Control.Parent;
    if (Child && Control.TabOrder >= 0) Children.push_back(&Control);
  }
  std::stable_sort(Children.begin(), Children.end(),
                   [](const ControlLayout* A, const ControlLayout* B) { return A->TabOrder < B->TabOrder; });
  for (const ControlLayout* Child : Children) {
    if (Child->Kind == ControlKind::GroupBox || Child->Kind == ControlKind::Panel)
      AppendTabOrder(Child->Name, Order);
    else
      Order.push_back(Child->Name);
  }
}

// A caption as a name, without its colon: " :" ends most labels; Label22
// has it before its bracket, "… 2 : (…)", and is named "… 2 (…)". A group box
// caption loses the spaces it is framed with.
std::string SpokenCaption(std::string_view Caption) {
  const std::size_t Colon = Caption.find(':');
  if (Colon == std::string_view::npos) return WithoutColon(Caption);
  const std::string Before = WithoutColon(Caption.substr(0, Colon + 1));
  const std::string After = TrimControl(Caption.substr(Colon + 1));
  return After.empty() ? Before : Before + " " + After;
}

}  // namespace

const std::vector<const char*>& InputPanelTabOrder() {
  static const std::vector<const char*> Order = [] {
    std::vector<const char*> Controls;
    AppendTabOrder("Panel2", Controls);
    return Controls;
  }();
  return Order;
}

const std::vector<const char*>& WindowTabOrder() {
  static const std::vector<const char*> Order = [] {
    std::vector<const char*> Controls;
    AppendTabOrder(nullptr, Controls);
    return Controls;
  }();
  return Order;
}

const char* EnterSuccessor(std::string_view Name) {
  const InputSpec* Input = InputNamed(Name);
  if (!Input || !Input->KeyFiltered) return nullptr;
  const std::vector<const char*>& Order = InputPanelTabOrder();
  auto At = std::find_if(Order.begin(), Order.end(), [&](const char* Control) { return Name == Control; });
  if (At == Order.end()) return nullptr;
  for (++At; At != Order.end(); ++At) {
    const InputSpec* Next = InputNamed(*At);
    if (!Next || Next->InEnterOrder) return *At;  // an input Enter stops at, or Button1
  }
  return nullptr;
}

std::string SpokenName(std::string_view Name) {
  const ControlLayout* Control = LayoutOf(Name);
  if (!Control) return "";
  if (Name == "CheckBox5") return SpokenCaption(CaptionOf("Label86")) + ": " + CheckBox5Purpose;
  if (Name == "WaterImage1") return WaterImage1Name;
  if (Name == "RichEdit1") return SpokenCaption(CaptionOf(Control->Parent));
  if (const InputSpec* Input = InputNamed(Name); Input && Input->LabelName) {
    std::string Spoken = SpokenCaption(CaptionOf(Input->LabelName));
    if (Control->Kind == ControlKind::CheckBox) Spoken += std::string(": ") + Control->Caption;
    return Spoken;
  }
  if (Control->Kind == ControlKind::Button || Control->Kind == ControlKind::CheckBox)
    return Control->Caption ? Control->Caption : "";
  return "";
}

std::string SpokenDescription(std::string_view Name) {
  if (Name == "WaterImage1") return WaterImage1Description;
  const ControlLayout* Control = LayoutOf(Name);
  if (!Control || Control->Kind == ControlKind::Label) return "";
  if (Control->Hint) return Control->Hint;
  if (const InputSpec* Input = InputNamed(Name); Input && Input->LabelName)
    if (const ControlLayout* Label = LayoutOf(Input->LabelName); Label && Label->Hint) return Label->Hint;
  return "";
}
