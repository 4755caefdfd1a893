// The least-squares core and the report text: reference data with certified values, fits whose
// answers were computed independently (numpy on the same single-precision inputs), the
// Gauss-Jordan inversion and the floating-point faults of degenerate problems.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/base/Messages.h"
#include "worksheet/RegressionMath.h"
#include "worksheet/RegressionReport.h"

using namespace plotane;

namespace {

using Matrix = std::array<double, kMaxRegressors * kMaxRegressors>;

// The repository's own copy of the reference data (tests/data).
std::string dataDir() { return PLOTANE_TEST_DATA_DIR; }

// Relative agreement to `digits` significant digits.
void expectDigits(double expected, double actual, int digits) {
  EXPECT_NEAR(actual, expected, std::fabs(expected) * std::pow(10.0, -digits)) << expected;
}

// Fits y on a constant and the given columns.
RegStatus fitWithConstant(const std::vector<float>& y, const std::vector<std::vector<float>>& xs,
                          RegFit& fit) {
  std::vector<float> ones(y.size(), 1.0f);
  std::vector<std::span<const float>> x{ones};
  for (const auto& c : xs) x.push_back(c);
  return REGFIT(y, x, fit);
}

// Fault kind of a fit that must fail, or -1 when it completed.
int faultOf(const std::vector<float>& y, const std::vector<std::vector<float>>& xs) {
  RegFit fit;
  try {
    fitWithConstant(y, xs, fit);
  } catch (const FloatFault& f) {
    return int(f.kind);
  }
  return -1;
}

TEST(RegressionMath, NorrisAgreesWithCertifiedAndSinglePrecisionValues) {
  std::ifstream in(dataDir() + "/Norris.txt");
  ASSERT_TRUE(in) << "Norris.txt not found";
  std::string line;
  while (std::getline(in, line) && line.rfind("Data (y x)", 0) != 0) {
  }
  std::vector<float> y, x;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    double yv, xv;
    if (ls >> yv >> xv) {
      y.push_back(float(yv));
      x.push_back(float(xv));
    }
  }
  ASSERT_EQ(y.size(), 36u);

  RegFit fit;
  ASSERT_EQ(fitWithConstant(y, {x}, fit), RegStatus::Ok);
  const RegResults& r = fit.res;

  // Certified values (exact decimal data): singles move them in the 6th digit.
  expectDigits(-0.262323073774029, r.b[0], 4);
  expectDigits(1.00211681802045, r.b[1], 6);
  expectDigits(0.232818234301152, r.se[0], 4);
  expectDigits(0.429796848199937E-03, r.se[1], 4);
  expectDigits(0.884796396144373, r.stdErr, 4);
  EXPECT_NEAR(r.rSquared, 0.999993745883712, 1E-8);

  // Exact arithmetic on the single-precision inputs, predicted values rounded to singles.
  expectDigits(-0.2623255459826544, r.b[0], 8);
  expectDigits(1.002116828592089, r.b[1], 10);
  expectDigits(0.23281615463400146, r.se[0], 7);
  expectDigits(0.000429793011633263, r.se[1], 7);
  expectDigits(0.8847884908625212, r.stdErr, 7);
  expectDigits(0.7828506735627778, fit.s2, 7);
  EXPECT_NEAR(r.rSquared, 0.9999937459954972, 1E-12);
  EXPECT_NEAR(r.rSquaredAdj, 0.9999935620541883, 1E-12);
  expectDigits(0.06923844315274341, r.C[0], 9);
  expectDigits(-9.890950277158443e-05, r.C[1], 9);
  expectDigits(-9.890950277158443e-05, r.C[kMaxRegressors], 9);
  expectDigits(2.3596075099241397e-07, r.C[kMaxRegressors + 1], 9);
  expectDigits(r.b[0] / r.se[0], r.t[0], 12);
  EXPECT_EQ(fit.n, 36);
  EXPECT_FLOAT_EQ(fit.yhat[0], -0.06190217658877373f);
  EXPECT_FLOAT_EQ(fit.yhat[3], 886.210205078125f);
  EXPECT_FLOAT_EQ(fit.pse[0], 0.9148896336555481f);
  EXPECT_FLOAT_EQ(fit.pse[3], 0.9190269708633423f);
}

TEST(RegressionMath, ClosedFormLineAndNoConstantFit) {
  // y = 0, 2, 1, 3 at x = 0..3: slope Sxy/Sxx = 4/5, intercept 1.5 - 0.8 * 1.5 = 0.3.
  std::vector<float> y{0, 2, 1, 3}, x{0, 1, 2, 3};
  RegFit fit;
  ASSERT_EQ(fitWithConstant(y, {x}, fit), RegStatus::Ok);
  EXPECT_NEAR(fit.res.b[0], 0.3, 1E-14);
  EXPECT_NEAR(fit.res.b[1], 0.8, 1E-14);
  // Residuals -0.3, 0.9, -0.9, 0.3 (as singles): SSE = 1.8, d = 2, SST = 5.
  EXPECT_NEAR(fit.s2, 0.9, 1E-6);
  EXPECT_NEAR(fit.res.rSquared, (5 - 1.8) / 5, 1E-6);
  EXPECT_NEAR(fit.res.rSquaredAdj, 1 - 0.9 / (5.0 / 3), 1E-6);
  // (X'X)^-1 = [[14, -6], [-6, 4]] / 20.
  EXPECT_NEAR(fit.res.C[0], 0.7, 1E-14);
  EXPECT_NEAR(fit.res.C[1], -0.3, 1E-14);
  EXPECT_NEAR(fit.res.C[kMaxRegressors + 1], 0.2, 1E-14);
  EXPECT_NEAR(fit.res.se[1], std::sqrt(0.9 * 0.2), 1E-6);

  // Through the origin: b = sum(xy) / sum(x^2) = 13 / 14 for the same data.
  std::vector<std::span<const float>> only{x};
  RegFit origin;
  ASSERT_EQ(REGFIT(y, only, origin), RegStatus::Ok);
  EXPECT_NEAR(origin.res.b[0], 13.0 / 14.0, 1E-14);
  EXPECT_NEAR(origin.res.C[0], 1.0 / 14.0, 1E-15);
}

TEST(RegressionMath, GaussJordanInvertsWithPivotingAndDetectsZeroPivot) {
  // Needs a row exchange at once: the leading element is 0.
  Matrix a{}, c{};
  const double m3[3][3] = {{0, 2, 1}, {3, 6, 1}, {2, 5, 3}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) a[i * kMaxRegressors + j] = m3[i][j];
  ASSERT_TRUE(GaussJordanInvert(a, 3, c));
  // Inverse by the adjugate: det = -11.
  const double inv[3][3] = {{13, -1, -4}, {-7, -2, 3}, {3, 4, -6}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      EXPECT_NEAR(c[i * kMaxRegressors + j], inv[i][j] / -11.0, 1E-15) << i << "," << j;

  // Rows 0 and 1 proportional: the second pivot is exactly zero.
  Matrix s{}, cs{};
  s[0] = 1, s[1] = 2, s[kMaxRegressors] = 2, s[kMaxRegressors + 1] = 4;
  EXPECT_FALSE(GaussJordanInvert(s, 2, cs));

  // All 18 regressors: a diagonal matrix.
  Matrix d{}, cd{};
  for (int i = 0; i < kMaxRegressors; ++i) d[i * kMaxRegressors + i] = i + 1;
  ASSERT_TRUE(GaussJordanInvert(d, kMaxRegressors, cd));
  for (int i = 0; i < kMaxRegressors; ++i)
    EXPECT_DOUBLE_EQ(cd[i * kMaxRegressors + i], 1.0 / (i + 1));
}

TEST(RegressionMath, DegenerateProblemsFaultOrAreSingular) {
  const int div0 = int(FloatFaultKind::DivideByZero);
  // A perfect fit: s2 = 0, so the t-ratios divide by a zero standard error.
  EXPECT_EQ(faultOf({1, 3, 5, 7, 9}, {{0, 1, 2, 3, 4}}), div0);
  // A constant dependent: SST = 0.
  EXPECT_EQ(faultOf({4, 4, 4, 4}, {{1, 2, 3, 5}}), div0);
  // As many regressors as observations: d = 0.
  EXPECT_EQ(faultOf({1, 4}, {{0, 2}}), div0);
  // A regressor equal to the constant term: an exactly zero pivot.
  RegFit fit;
  EXPECT_EQ(fitWithConstant({1, 2, 4}, {{2, 2, 2}}, fit), RegStatus::Singular);
}

TEST(RegressionReport, ReportLinesAreExact) {
  // y on a constant and two columns; results from numpy on the same singles.
  std::vector<float> y{3.1f, 3.9f, 7.2f, 7.8f, 11.1f, 11.9f}, x1{1, 2, 3, 4, 5, 6},
      x2{2, 1, 4, 3, 6, 5};
  RegFit fit;
  ASSERT_EQ(fitWithConstant(y, {x1, x2}, fit), RegStatus::Ok);
  RegReportHead head{"A ", "YDATA", 6, 0, 5, true};
  std::vector<RegVarText> vars{{true, "", ""}, {false, "B ", "X1"}, {false, "AC", "X2"}};
  std::vector<std::string> expected{
      "Dependent variable is A  :",
      "    YDATA",
      " ",
      "   Number of observations =   6; from    0 to    5",
      "   Std. error of residuals= 6.6666524E-02",
      "   R - squared            =  0.99979    ..adjusted =  0.99966",
      std::string(66, '-'),
      " ",
      "                          Coefficient       Std error        T-ratio",
      "Constant",
      "                             5.0000000E-01   6.43700E-02   7.76759E+00",
      " ",
      " 1=B  : X1",
      "                             1.3666666E+00   2.84637E-02   4.80144E+01",
      " ",
      " 2=AC : X2",
      "                             6.3333337E-01   2.84637E-02   2.22506E+01",
  };
  EXPECT_EQ(RegReportLines(head, fit.res, vars), expected);
}

TEST(RegressionReport, VariableListing) {
  std::vector<RegVarText> vars{{false, "C : ", "X0"}, {false, "B : ", "X1"}, {false, "** : ", " "}};
  std::vector<std::string> expected{
      "Dependent variable is A : ",
      "                                 NO Constant",
      "           YDATA",
      std::string(66, '-'),
      " ",
      " 0=C :    X0",
      " 1=B :    X1",
      " 2=** :     ",
  };
  auto lines = RegVarListLines("A : ", "YDATA", false, vars);
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(RegVarListLines("** : ", " ", true, {})[1], " ");
}

}  // namespace
