// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/DecreeFields.h"

namespace {
using C = PanelControl;
using K = InputKind;
}  // namespace

const std::array<InputFieldInfo, InputFieldCount> InputFields = {{
    {C::Edit1, "Coefficient", "Edit1", K::Number},
    {C::Edit2, "DeclaredMinimumSalary", "Edit2", K::Number},
    {C::Edit3, "EffectiveMinimumSalary", "Edit3", K::Number},
    {C::Edit4, "FamilyAllowanceRate", "Edit4", K::Number},
    {C::Edit5, "ChildAllowanceRate", "Edit5", K::Number},
    {C::Edit6, "EmployeeGroup", "Edit6", K::Number},
    {C::Edit7, "IncentiveGroupCount", "Edit7", K::Number},
    {C::Edit8, "PreviousBaseSalary", "Edit8", K::Number},
    {C::Edit9, "PreviousSeniorityIncrease", "Edit9", K::Number},
    {C::Edit10, "SeniorityIncreasePercent", "Edit10", K::Number},
    {C::Edit11, "ChildCount", "Edit11", K::Number},
    {C::Edit12, "Note12Difference", "Edit12", K::Number},
    {C::Edit13, "JobPercent", "Edit13", K::Number},
    {C::Edit14, "AttractionPercent", "Edit14", K::Number},
    {C::Edit15, "SpecialPercent", "Edit15", K::Number},
    {C::Edit16, "ParticularPercent", "Edit16", K::Number},
    {C::Edit17, "DeprivationPercent", "Edit17", K::Number},
    {C::Edit18, "ClauseBItem3Amount", "Edit18", K::Number},
    {C::Edit19, "BadClimatePercent", "Edit19", K::Number},
    {C::Edit20, "ShiftWorkPercent", "Edit20", K::Number},
    {C::Edit21, "HardshipPercent", "Edit21", K::Number},
    {C::Edit22, "OperationalZonePercent", "Edit22", K::Number},
    {C::Edit23, "DeprivedRegionPercent", "Edit23", K::Number},
    {C::Edit24, "RadiationPercent", "Edit24", K::Number},
    {C::Edit25, "ClauseBItem3Points", "Edit25", K::Points},
    {C::Edit26, "MinimumSalaryAndBenefits", "Edit26", K::Number},
    {C::ComboBox1, "InsuranceType", "ComboBox1", K::Insurance},
    {C::CheckBox1, "HeadOfHousehold", "CheckBox1", K::Flag},
    {C::CheckBox2, "VeteranEligible", "CheckBox2", K::Flag},
    {C::CheckBox3, "AdjustmentEligible", "CheckBox3", K::Flag},
    {C::CheckBox4, "Article26Eligible", "CheckBox4", K::Flag},
    {C::CheckBox5, "OperationalZoneWideBase", "CheckBox5", K::Flag},
    {C::CheckBox6, "ClauseBItem3InHousing", "CheckBox6", K::Flag},
    {C::CheckBox8, "BorderDeprivationEligible", "CheckBox8", K::Flag},
}};

#define DECREE_RESULT_FIELD(Name) \
  { #Name, &DecreeResult::Name }

const std::array<ResultFieldInfo, ResultFieldCount> ResultFields = {{
    DECREE_RESULT_FIELD(BaseSalary),
    DECREE_RESULT_FIELD(SeniorityIncrease),
    DECREE_RESULT_FIELD(JobAllowance),
    DECREE_RESULT_FIELD(MinimumPayDifference),
    DECREE_RESULT_FIELD(SalaryRepair),
    DECREE_RESULT_FIELD(AttractionAllowance),
    DECREE_RESULT_FIELD(SpecialAllowance),
    DECREE_RESULT_FIELD(ParticularAllowance),
    DECREE_RESULT_FIELD(Note12Adjustment),
    DECREE_RESULT_FIELD(LivingFacilitiesDeprivation),
    DECREE_RESULT_FIELD(FamilyAllowance),
    DECREE_RESULT_FIELD(ChildAllowance),
    DECREE_RESULT_FIELD(VeteranAllowance),
    DECREE_RESULT_FIELD(ClauseBItem3Allowance),
    DECREE_RESULT_FIELD(BasicSalary),
    DECREE_RESULT_FIELD(BadClimateAllowance),
    DECREE_RESULT_FIELD(ShiftWorkAllowance),
    DECREE_RESULT_FIELD(HardshipAllowance),
    DECREE_RESULT_FIELD(OperationalZoneAllowance),
    DECREE_RESULT_FIELD(DeprivedRegionAllowance),
    DECREE_RESULT_FIELD(RadiationWorkAllowance),
    DECREE_RESULT_FIELD(Article26Allowance),
    DECREE_RESULT_FIELD(BorderDeprivationAllowance),
    DECREE_RESULT_FIELD(AdjustmentAllowance),
    DECREE_RESULT_FIELD(IncentiveGroupsDifference),
    DECREE_RESULT_FIELD(HousingBase),
    DECREE_RESULT_FIELD(ItemsTotal),
    DECREE_RESULT_FIELD(SeniorityMinimumDifference),
    DECREE_RESULT_FIELD(HousingAllowance),
    DECREE_RESULT_FIELD(GrandTotal),
}};

#undef DECREE_RESULT_FIELD

// DecreeResult holds exactly the 30 doubles listed above.
static_assert(sizeof(DecreeResult) == ResultFieldCount * sizeof(double), "a DecreeResult member is not listed");
