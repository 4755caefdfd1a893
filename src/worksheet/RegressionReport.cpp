#include "worksheet/RegressionReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace plotane {

std::string RegStr(long v, int w) {
  std::string s = std::to_string(v);
  if (int(s.size()) < w) s.insert(0, std::size_t(w) - s.size(), ' ');
  return s;
}

std::string RegDashes() { return std::string(66, '-'); }

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
    const RegVarText& v = vars[j];
    if (v.constant)
      out.push_back("Constant");
    else
      out.push_back(RegStr(long(j), 2) + "=" + v.columnText + "   " + v.nameText);
  }
  return out;
}

std::vector<std::string> RegReportLines(const RegReportHead& head, const RegResults& res,
                                        const std::vector<RegVarText>& vars) {
  using regfmt::FormatReal;
  using regfmt::FormatSci;
  std::vector<std::string> out;
  out.push_back("Dependent variable is " + head.depLetters + " :");
  out.push_back("    " + head.depName);
  out.push_back(" ");
  out.push_back("   Number of observations =" + RegStr(head.n, 4) + "; from " +
                RegStr(head.useLow, 4) + " to " + RegStr(head.useHigh, 4));
  out.push_back("   Std. error of residuals=" + FormatSci(14, res.stdErr));
  out.push_back("   R - squared            =" + FormatReal(9, 5, res.rSquared) +
                "    ..adjusted =" + FormatReal(9, 5, res.rSquaredAdj));
  out.push_back(RegDashes());
  out.push_back(" ");
  out.push_back("                          Coefficient       Std error        T-ratio");
  const std::size_t last = vars.empty() ? 0 : vars.size() - 1;
  for (std::size_t j = 0; j < vars.size(); ++j) {
    const RegVarText& v = vars[j];
    if (v.constant)
      out.push_back("Constant");
    else
      out.push_back(RegStr(long(j), 2) + "=" + v.columnText + " : " + v.nameText);
    out.push_back(std::string(28, ' ') + FormatSci(14, res.b[j]) + "  " + FormatSci(12, res.se[j]) +
                  "  " + FormatSci(12, res.t[j]));
    if (j != last) out.push_back(" ");
  }
  return out;
}

namespace regfmt {

std::string FormatSci(int w, double x) {
  const int decimals = std::max(1, w - 7);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", decimals, std::fabs(x));
  std::string s(buf);
  std::size_t e = s.find('E');
  if (e == std::string::npos) return s;  // inf or nan: not produced by a completed calculation
  std::string mantissa = s.substr(0, e);
  char expSign = s[e + 1];
  std::string digits = s.substr(e + 2);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  if (digits.compare(0, 2, "00") == 0) digits.erase(0, 2);
  return std::string(1, std::signbit(x) && x != 0.0 ? '-' : ' ') + mantissa + "E" + expSign +
         digits;
}

std::string FormatReal(int w, int spec, double x) {
  if (spec == -1) return FormatSci(w, x);
  int decimals = spec;
  if (spec == -2) {
    int e = x == 0.0 ? 0 : int(std::nearbyint(std::log10(std::fabs(x))));
    if (std::abs(e - 1) > w - 7) return FormatSci(w, x);
    decimals = std::max(0, 7 - e);
  }
  char buf[400];
  std::snprintf(buf, sizeof buf, "%*.*f", w, decimals, x);
  return buf;
}

}  // namespace regfmt

}  // namespace plotane
