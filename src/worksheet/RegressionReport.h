#pragma once
// The text of the regression listings: the variable definitions and the Calculate report,
// line by line as they go to the log.

#include <string>
#include <vector>

#include "worksheet/RegressionMath.h"

namespace plotane {

// A line of 66 dashes.
std::string RegDashes();

// One regressor of the variable listing or the report.
struct RegVarText {
  bool constant = false;   // the constant term: the line "Constant"
  std::string columnText;  // listing: "AB : " or "** : "; report: the column's letters
  std::string nameText;    // listing: the name text; report: the series name
};

// The variable listing after the log's leading empty line: the first string is appended to that
// line, the rest are added after it.
std::vector<std::string> RegVarListLines(const std::string& depColumnText,
                                         const std::string& depNameText, bool constant,
                                         const std::vector<RegVarText>& vars);

struct RegReportHead {
  std::string depLetters;  // ColumnLetters of the dependent
  std::string depName;
  int n = 0, useLow = 0, useHigh = 0;
  bool constant = false;
};

// The report's lines, which follow the log's leading empty line.
std::vector<std::string> RegReportLines(const RegReportHead& head, const RegResults& res,
                                        const std::vector<RegVarText>& vars);

}  // namespace plotane
