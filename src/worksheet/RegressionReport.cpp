#include "worksheet/RegressionReport.h"

#include "worksheet/Format.h"

namespace plotane {

std::string RegDashes() { return std::string(66, '-'); }

namespace {

// One variable's heading line: "Constant", or its number, column and name.
std::string varLine(std::size_t j, const RegVarText& v, const char* separator) {
  if (v.constant) return "Constant";
  return IntText(long(j), 2) + "=" + v.columnText + separator + v.nameText;
}

}  // namespace

std::vector<std::string> RegVarListLines(const std::string& depColumnText,
                                         const std::string& depNameText, bool constant,
                                         const std::vector<RegVarText>& vars) {
  std::vector<std::string> out;
  out.push_back("Dependent variable is " + depColumnText);
  out.push_back(constant ? " " : std::string(33, ' ') + "NO Constant");
  out.push_back(std::string(11, ' ') + depNameText);
  out.push_back(RegDashes());
  out.push_back(" ");
  for (std::size_t j = 0; j < vars.size(); ++j) {
    out.push_back(varLine(j, vars[j], "   "));
  }
  return out;
}

std::vector<std::string> RegReportLines(const RegReportHead& head, const RegResults& res,
                                        const std::vector<RegVarText>& vars) {
  std::vector<std::string> out;
  out.push_back("Dependent variable is " + head.depLetters + " :");
  out.push_back("    " + head.depName);
  out.push_back(" ");
  out.push_back("   Number of observations =" + IntText(head.n, 4) + "; from " +
                IntText(head.useLow, 4) + " to " + IntText(head.useHigh, 4));
  out.push_back("   Std. error of residuals=" + FormatSci(14, res.stdErr));
  out.push_back("   R - squared            =" + FormatReal(9, 5, res.rSquared) +
                "    ..adjusted =" + FormatReal(9, 5, res.rSquaredAdj));
  out.push_back(RegDashes());
  out.push_back(" ");
  out.push_back("                          Coefficient       Std error        T-ratio");
  const std::size_t last = vars.empty() ? 0 : vars.size() - 1;
  for (std::size_t j = 0; j < vars.size(); ++j) {
    out.push_back(varLine(j, vars[j], " : "));
    out.push_back(std::string(28, ' ') + FormatSci(14, res.b[j]) + "  " + FormatSci(12, res.se[j]) +
                  "  " + FormatSci(12, res.t[j]));
    if (j != last) out.push_back(" ");
  }
  return out;
}

}  // namespace plotane
