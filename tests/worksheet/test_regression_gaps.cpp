// Calculate refuses variables with gaps (MissingValue) inside the use range: the message names the
// first one, nothing is computed or reported, and the earlier results stay; the same data without
// the gap fits as before.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WorksheetFixture.h"
#include "store/Series.h"
#include "worksheet/Regression.h"

using namespace plotane;

namespace {

struct RegressionGapsTest : test::NamedColumnsTest {
  Regression reg{ws};

  bool reported() const {
    for (const std::string& line : log.lines())
      if (line.find("Number of observations") != std::string::npos) return true;
    return false;
  }
  std::vector<double> coefficients() const {
    const RegFit& f = reg.results();
    return std::vector<double>(f.res.b.begin(), f.res.b.begin() + f.m);
  }
  // A refused Calculate: its message, no report, the results as they were.
  void expectRefused(const std::string& message, const std::vector<double>& kept) {
    host.clear();
    log.CLEARLOG();
    EXPECT_FALSE(reg.Calculate());
    EXPECT_EQ(host.lastMessage(), message);
    EXPECT_TRUE(store.StoreError);
    EXPECT_FALSE(reported());
    EXPECT_TRUE(reg.calculated());
    EXPECT_EQ(coefficients(), kept);
  }
};

TEST_F(RegressionGapsTest, GapsInTheDependentAndAnIndependentAreRefused) {
  // y on a constant and x over indices 0..5; index 6 lies outside the use range.
  fill(0, "Y", {1, 3, 2, 5, 4, 6, 9});
  fill(1, "X", {1, 2, 3, 4, 5, 6, 7});
  fill(27, "Z", {2, 1, 4, 3, 6, 5, 8});
  ws.SetUseLimits(0, 5);
  reg.DefineDependent(0);
  reg.DefineIndependent(1);
  ASSERT_TRUE(reg.Calculate());
  // Least squares by hand: xbar = ybar = 3.5, Sxy = 15.5, Sxx = 17.5.
  const std::vector<double> line = coefficients();
  ASSERT_EQ(line.size(), 2u);
  EXPECT_NEAR(line[0], 0.4, 1E-5);
  EXPECT_NEAR(line[1], 15.5 / 17.5, 1E-6);

  // A gap in the dependent: the one-letter column name without its blank.
  store.PUTVAL(ws.column(0), 3, MissingValue);
  expectRefused("Missing value at index 3 in column A", line);
  // The saves still write the results of the last completed fit.
  reg.SaveCoefficients(5);
  EXPECT_FLOAT_EQ(at(5, 1), float(line[1]));

  // Without the gap the same data fit as before.
  store.PUTVAL(ws.column(0), 3, 5);
  ASSERT_TRUE(reg.Calculate());
  EXPECT_EQ(coefficients(), line);
  EXPECT_TRUE(reported());

  // A gap in an independent with a two-letter name, after a fit with it.
  reg.DefineIndependent(27);
  ASSERT_TRUE(reg.Calculate());
  const std::vector<double> plane = coefficients();
  ASSERT_EQ(plane.size(), 3u);
  store.PUTVAL(ws.column(27), 4, MissingValue);
  expectRefused("Missing value at index 4 in column AB", plane);

  // Gaps in both: the dependent is named, at its first gap.
  store.PUTVAL(ws.column(0), 5, MissingValue);
  store.PUTVAL(ws.column(0), 2, MissingValue);
  expectRefused("Missing value at index 2 in column A", plane);
  store.PUTVAL(ws.column(0), 5, 6);
  store.PUTVAL(ws.column(0), 2, 2);
  store.PUTVAL(ws.column(27), 4, 6);
  ASSERT_TRUE(reg.Calculate());
  EXPECT_EQ(coefficients(), plane);

  // A gap outside the use range does not matter.
  store.PUTVAL(ws.column(1), 6, MissingValue);
  ASSERT_TRUE(reg.Calculate());
  EXPECT_EQ(coefficients(), plane);
}

// An index never set inside a series' range is a gap too.
TEST_F(RegressionGapsTest, AnUnsetIndexIsAGap) {
  fill(0, "Y", {1, 3, 2});
  store.PUTVAL(ws.column(0), 4, 4);
  store.PUTVAL(ws.column(0), 5, 6);
  fill(1, "X", {1, 2, 3, 4, 5, 6});
  ws.SetUseLimits(0, 5);
  reg.DefineDependent(0);
  reg.DefineIndependent(1);
  ASSERT_TRUE(reg.model.dependent.covers);
  host.clear();
  EXPECT_FALSE(reg.Calculate());
  EXPECT_EQ(host.lastMessage(), "Missing value at index 3 in column A");
  EXPECT_FALSE(reg.calculated());
  EXPECT_FALSE(reported());
  // Narrowing the use limits past the gap lets the fit run.
  ws.SetUseLimits(4, 5);
  reg.ToggleConstant();  // two observations, one regressor
  EXPECT_TRUE(reg.Calculate());
}

}  // namespace
