// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "decree/DecreeCatalogue.h"
#include "decree/DecreeInput.h"

// An input panel in memory; records what the decree does to it.
class FakePanel : public DecreePanel {
 public:
  std::map<PanelControl, std::string> Texts;
  std::set<PanelControl> CheckedBoxes;
  int Index = -1;
  std::vector<std::string> Messages;
  std::vector<PanelControl> Focus;
  std::vector<PanelControl> Writes;

  std::string Text(PanelControl Edit) const override {
    const auto it = Texts.find(Edit);
    return it == Texts.end() ? std::string() : it->second;
  }
  void SetText(PanelControl Edit, const std::string& Text) override {
    Texts[Edit] = Text;
    Writes.push_back(Edit);
  }
  void SetFocus(PanelControl Control) override { Focus.push_back(Control); }
  int ItemIndex() const override { return Index; }
  bool Checked(PanelControl CheckBox) const override { return CheckedBoxes.count(CheckBox) != 0; }
  void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
};

// Worked input A as typed: every required field, optional ones empty.
inline FakePanel WorkedPanelA() {
  FakePanel p;
  using C = PanelControl;
  p.Texts = {{C::Edit1, "1000"},   {C::Edit2, "2000000"}, {C::Edit3, "1600000"}, {C::Edit26, "6000000"},
             {C::Edit4, "300000"}, {C::Edit5, "100000"},  {C::Edit6, "9"},       {C::Edit7, "2"},
             {C::Edit8, "800000"}, {C::Edit9, "100000"},  {C::Edit10, "4"},      {C::Edit11, "2"},
             {C::Edit13, "20"},    {C::Edit14, "50"},     {C::Edit15, "10"},     {C::Edit20, "20"}};
  p.CheckedBoxes = {C::CheckBox1, C::CheckBox3};
  p.Index = 1;
  return p;
}
