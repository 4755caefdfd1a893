// "Spline interpolation" on a worksheet: the request chain and its messages, the point limits,
// the result columns' names and X links, and the resampled curve (checked against scipy's
// not-a-knot CubicSpline on the chord-length parameter, numbers kept as constants).

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "SplineReference.h"
#include "WorksheetFixture.h"
#include "worksheet/Spline.h"

using namespace plotane;

namespace {

struct SplineTest : test::NamedColumnsTest {
  Spline spline{ws};

  // The whole chain as a user answers it: Y source, X source, N, result Y, result X.
  void run(int y, int x, double n, int resultY, int resultX) {
    spline.Start();
    ws.ConfirmRequest(y);
    host.reals = {n};
    ws.ConfirmRequest(x);
    ws.ConfirmRequest(resultY);
    ws.ConfirmRequest(resultX);
  }
};

TEST_F(SplineTest, RequestChainPromptsAndRefusals) {
  spline.Start();
  EXPECT_EQ(ws.Request.prompt, "Y column source for spline");
  ws.ConfirmRequest(1);
  EXPECT_EQ(host.lastMessage(), "No Y column");
  EXPECT_FALSE(ws.requestActive());

  fill(1, "Y", {0, 1, 2, 3});
  spline.Start();
  ws.ConfirmRequest(1);
  EXPECT_EQ(ws.Request.prompt, "Specify X source for spline");
  ws.ConfirmRequest(0);
  EXPECT_EQ(host.lastMessage(), "No X column");
  EXPECT_FALSE(ws.requestActive());

  // Cancelling the number stops the chain; N keeps its value.
  fill(0, "X", {0, 1, 2, 3});
  spline.Start();
  ws.ConfirmRequest(1);
  ws.ConfirmRequest(0);
  EXPECT_EQ(host.prompts.back(), "Spline----No. of result points");
  EXPECT_FALSE(ws.requestActive());
  EXPECT_EQ(spline.Points, 400);

  spline.Start();
  ws.ConfirmRequest(1);
  host.reals = {7.5};  // rounded to the nearest, ties to even
  ws.ConfirmRequest(0);
  EXPECT_EQ(spline.Points, 8);
  EXPECT_EQ(ws.Request.prompt, "Spline result Y column:");
  ws.ConfirmRequest(5);
  EXPECT_EQ(ws.Request.prompt, "Specify result X column:");
  ws.ConfirmRequest(4);
  EXPECT_EQ(spline.ResultY, 5);
  EXPECT_EQ(spline.ResultX, 4);
  EXPECT_EQ(ws.column(5).highestIndex(), 7);
}

TEST_F(SplineTest, StraightLineIsReproducedWithNamesAndLinks) {
  // Eight unevenly spaced points on y = 3 - x, starting at index 5.
  const std::vector<double> x{1, 1.5, 2, 4, 4.5, 6, 8.5, 9};
  std::vector<double> y;
  for (double v : x) y.push_back(3 - v);
  fill(0, "XS", x, 5);
  fill(1, "YS", y, 5);
  fill(3, "TEMP", {42});
  run(1, 0, 15, 3, 2);
  EXPECT_TRUE(host.messages.empty()) << host.lastMessage();

  EXPECT_EQ(ws.columnName(3), "TEMP");
  EXPECT_EQ(ws.columnName(2), "Xspline");
  EXPECT_EQ(ws.column(1).xLink, &ws.column(0));
  EXPECT_EQ(ws.column(3).xLink, &ws.column(2));
  EXPECT_EQ(ws.column(2).lowest(), 5);
  EXPECT_EQ(ws.column(2).highestIndex(), 19);
  EXPECT_EQ(ws.column(3).highestIndex(), 19);
  for (int k = 0; k < 15; ++k) {
    double ex = 1 + 8.0 * k / 14;
    EXPECT_NEAR(at(2, 5 + k), ex, 2E-6) << k;
    EXPECT_NEAR(at(3, 5 + k), 3 - ex, 2E-6) << k;
  }
  EXPECT_FLOAT_EQ(at(2, 5), 1.0f);
  EXPECT_FLOAT_EQ(at(3, 19), -6.0f);
  // The column list shows the link.
  EXPECT_NE(ws.ColumnListLine(3).find("(C )"), std::string::npos) << ws.ColumnListLine(3);
}

TEST_F(SplineTest, AgreesWithScipyAndFollowsACircle) {
  fill(0, "X", {0, 1, 3, 4.5, 6, 9});
  fill(1, "Y", {0, 2, 3, 1, 0.5, 2});
  run(1, 0, 9, 3, 2);
  for (int k = 0; k < 9; ++k) {
    EXPECT_FLOAT_EQ(at(2, k), float(test::kSplineXRef[k])) << k;
    EXPECT_FLOAT_EQ(at(3, k), float(test::kSplineYRef[k])) << k;
  }

  // Twelve points on the unit circle, first and last distinct: a curve that turns back.
  std::vector<double> cx, cy;
  for (int k = 0; k < 12; ++k) {
    double a = 2 * std::numbers::pi * k / 12;
    cx.push_back(std::cos(a));
    cy.push_back(std::sin(a));
  }
  fill(10, "CX", cx);
  fill(11, "CY", cy);
  run(11, 10, 100, 13, 12);
  ASSERT_EQ(ws.column(12).highestIndex(), 99);
  for (int k = 0; k < 100; ++k) EXPECT_NEAR(std::hypot(at(12, k), at(13, k)), 1.0, 0.01) << k;
}

TEST_F(SplineTest, PointLimitsFollowTheUseLimits) {
  std::vector<double> many(201), sq(201);
  for (int i = 0; i <= 200; ++i) {
    many[i] = i;
    sq[i] = i * i * 0.01;
  }
  fill(0, "X", many);
  fill(1, "Y", sq);
  run(1, 0, 10, 3, 2);
  EXPECT_EQ(host.lastMessage(), "More than 128 points, too many");
  EXPECT_FALSE(ws.inUse(2));

  ws.SetUseLimits(10, 12);
  host.clear();
  run(1, 0, 10, 3, 2);
  EXPECT_EQ(host.lastMessage(), "Less than 4 points, too few");

  // Exactly four points: indices 10..13; the results start at index 10.
  ws.SetUseLimits(10, 13);
  host.clear();
  run(1, 0, 4, 3, 2);
  EXPECT_TRUE(host.messages.empty()) << host.lastMessage();
  EXPECT_EQ(ws.column(3).lowest(), 10);
  EXPECT_EQ(ws.column(3).highestIndex(), 13);
  // The first and last result points are the first and last data points.
  EXPECT_FLOAT_EQ(at(2, 10), 10.0f);
  EXPECT_FLOAT_EQ(at(3, 10), 1.0f);
  EXPECT_NEAR(at(2, 13), 13.0, 1E-5);
  EXPECT_NEAR(at(3, 13), 1.69, 1E-5);

  // 128 points are allowed, 129 are not.
  ws.SetUseLimits(0, 127);
  host.clear();
  run(1, 0, 10, 3, 2);
  EXPECT_TRUE(host.messages.empty()) << host.lastMessage();
  ws.SetUseLimits(0, 128);
  run(1, 0, 10, 3, 2);
  EXPECT_EQ(host.lastMessage(), "More than 128 points, too many");
}

TEST_F(SplineTest, MissingValuesZeroCountAndFaults) {
  fill(0, "X", {0, 1, 2});  // one index short of the Y source
  fill(1, "Y", {0, 1, 0, 1});
  run(1, 0, 10, 3, 2);
  ASSERT_GE(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[host.messages.size() - 2], "Warning, GETVAL beyond range for X");
  EXPECT_EQ(host.lastMessage(), "Missing X value");
  EXPECT_EQ(ws.column(1).xLink, &ws.column(0));  // linked before the values are read
  EXPECT_FALSE(ws.inUse(2));

  fill(0, "X", {0, 1, 2, 3});
  store.PUTVAL(ws.column(1), 2, double(MissingValue));
  run(1, 0, 10, 3, 2);
  EXPECT_EQ(host.lastMessage(), "Missing Y value");

  // N = 0: the result columns are renewed and linked, and stay empty.
  fill(1, "Y", {0, 1, 0, 1});
  fill(2, "OLDX", {5, 5});
  host.clear();
  run(1, 0, 0, 3, 2);
  EXPECT_TRUE(host.messages.empty()) << host.lastMessage();
  EXPECT_EQ(ws.columnName(2), "OLDX");
  EXPECT_EQ(ws.columnName(3), "Yspline");
  EXPECT_FALSE(ws.column(2).hasData());
  EXPECT_FALSE(ws.column(3).hasData());
  EXPECT_EQ(ws.column(3).xLink, &ws.column(2));

  // N = 1 divides the parameter span by zero.
  run(1, 0, 1, 3, 2);
  EXPECT_EQ(host.lastMessage(), "Floating point division by zero");
  EXPECT_FALSE(ws.column(3).hasData());

  // Two neighbouring points at the same place.
  fill(0, "X", {0, 1, 1, 3});
  fill(1, "Y", {0, 1, 1, 0});
  host.clear();
  run(1, 0, 10, 3, 2);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Floating point division by zero"});
  EXPECT_FALSE(ws.column(3).hasData());
}

}  // namespace
