// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "decree/DecreeInput.h"

// The common input of the two worked decrees.
inline DecreeInput Common() {
  DecreeInput in;
  in.Coefficient = 1000;
  in.DeclaredMinimumSalary = 2000000;
  in.EffectiveMinimumSalary = 1600000;
  in.FamilyAllowanceRate = 300000;
  in.ChildAllowanceRate = 100000;
  in.EmployeeGroup = 9;
  in.IncentiveGroupCount = 2;
  in.PreviousBaseSalary = 800000;
  in.PreviousSeniorityIncrease = 100000;
  in.SeniorityIncreasePercent = 4;
  in.HeadOfHousehold = true;
  in.ChildCount = 2;
  in.JobPercent = 20;
  in.AttractionPercent = 50;
  in.SpecialPercent = 10;
  in.ShiftWorkPercent = 20;
  in.AdjustmentEligible = true;
  return in;
}

inline DecreeInput WorkedA() {
  DecreeInput in = Common();
  in.MinimumSalaryAndBenefits = 6000000;
  in.InsuranceType = 1;
  return in;
}

inline DecreeInput WorkedB() {
  DecreeInput in = Common();
  in.MinimumSalaryAndBenefits = 16000000;
  in.Note12Difference = 50000;
  in.DeprivationPercent = 10;
  in.BadClimatePercent = 5;
  in.OperationalZonePercent = 20;
  in.OperationalZoneWideBase = true;
  in.VeteranEligible = true;
  in.Article26Eligible = true;
  in.ClauseBItem3Amount = 200000;
  in.ClauseBItem3InHousing = true;
  in.InsuranceType = 0;
  return in;
}
