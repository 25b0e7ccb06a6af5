// SPDX-License-Identifier: GPL-3.0-or-later
// The worked decrees A and B as rows of a file, by DecreeInput field name,
// and a small sheet builder for the tests of the batch pipeline.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "batch/Columns.h"
#include "batch/CsvReader.h"
#include "decree/DecreeCatalogue.h"

namespace BatchTest {

using Cells = std::map<std::string, std::string>;  // field name -> cell text

inline Cells WorkedRowA() {
  return {{"Coefficient", "1000"},
          {"DeclaredMinimumSalary", "2000000"},
          {"EffectiveMinimumSalary", "1600000"},
          {"FamilyAllowanceRate", "300000"},
          {"ChildAllowanceRate", "100000"},
          {"EmployeeGroup", "9"},
          {"IncentiveGroupCount", "2"},
          {"PreviousBaseSalary", "800000"},
          {"PreviousSeniorityIncrease", "100000"},
          {"SeniorityIncreasePercent", "4"},
          {"HeadOfHousehold", "1"},
          {"ChildCount", "2"},
          {"JobPercent", "20"},
          {"AttractionPercent", "50"},
          {"SpecialPercent", "10"},
          {"ShiftWorkPercent", "20"},
          {"AdjustmentEligible", "1"},
          {"MinimumSalaryAndBenefits", "6000000"},
          {"InsuranceType", "1"}};
}

inline Cells WorkedRowB() {
  Cells row = WorkedRowA();
  row["MinimumSalaryAndBenefits"] = "16000000";
  row["Note12Difference"] = "50000";
  row["DeprivationPercent"] = "10";
  row["BadClimatePercent"] = "5";
  row["OperationalZonePercent"] = "20";
  row["OperationalZoneWideBase"] = "1";
  row["VeteranEligible"] = "1";
  row["Article26Eligible"] = "1";
  row["ClauseBItem3Amount"] = "200000";
  row["ClauseBItem3InHousing"] = "1";
  row["InsuranceType"] = "0";
  return row;
}

// Every input column, named by field name.
inline std::vector<std::string> FieldNameHeaders() {
  std::vector<std::string> headers;
  for (const InputSpec& field : Inputs) headers.push_back(field.FieldName);
  return headers;
}

// A header row and the records under it.
struct Sheet {
  std::vector<std::string> Headers;
  ColumnLayout Layout;

  explicit Sheet(std::vector<std::string> Names) : Headers(std::move(Names)), Layout(MapColumns(Headers, 1)) {}

  // The cells of Row under these headers; a header that is a field name or
  // names the same input as one takes that field's text.
  CsvRecord Record(const Cells& Row, std::size_t Line = 2) const {
    CsvRecord record;
    record.Line = Line;
    for (const std::string& header : Headers) {
      std::string text;
      if (const auto control = InputOfHeader(header)) {
        const auto found = Row.find(InputOf(*control).FieldName);
        if (found != Row.end()) text = found->second;
      } else {
        const auto found = Row.find(header);
        if (found != Row.end()) text = found->second;
      }
      record.Cells.push_back(text);
    }
    return record;
  }
};

}  // namespace BatchTest
