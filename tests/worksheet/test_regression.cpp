// The Regression submenu on a worksheet: definitions and their refusals, the constant's order,
// Calculate's report and failures, and the four saves into columns. Expected numbers come from
// numpy (lstsq and inv on the same single-precision data), kept as constants.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "WorksheetFixture.h"
#include "worksheet/Regression.h"
#include "worksheet/Spline.h"

using namespace plotane;

namespace {

struct RegressionTest : test::NamedColumnsTest {
  Regression reg{ws};

  const std::vector<std::string>& lines() { return log.lines(); }

  // y on a constant, B and C: the data of the report case.
  void smallProblem() {
    fill(0, "YDATA", {3.1f, 3.9f, 7.2f, 7.8f, 11.1f, 11.9f});
    fill(1, "X1", {1, 2, 3, 4, 5, 6});
    fill(2, "X2", {2, 1, 4, 3, 6, 5});
    ws.SetUseLimits(0, 5);
    reg.DefineDependent(0);
    reg.DefineIndependent(1);
    reg.DefineIndependent(2);
  }
};

TEST_F(RegressionTest, DefinitionsAreRefusedWithTheirMessages) {
  ws.SetUseLimits(0, 9);
  std::vector<double> ten(10, 1.0);
  fill(0, "Y", ten);
  fill(1, "X", ten);
  fill(3, "SHORT", std::vector<double>(6, 1.0));  // stops before UseHigh

  reg.DefineDependent(7);
  EXPECT_EQ(host.lastMessage(), "No series");
  reg.DefineDependent(3);
  EXPECT_EQ(host.lastMessage(), "Index error");
  EXPECT_EQ(reg.model.dependent.column, -1);

  // Through the worksheet's column request.
  reg.StartDependent();
  EXPECT_EQ(ws.Request.prompt, "Select Dependent variable column:");
  EXPECT_EQ(ws.Request.code, 23);
  ws.ConfirmRequest(0);
  EXPECT_EQ(reg.model.dependent.column, 0);
  EXPECT_TRUE(reg.model.dependent.defined && reg.model.dependent.covers);

  host.clear();
  reg.DefineIndependent(0);
  EXPECT_EQ(host.lastMessage(), "Duplicate");
  reg.DefineIndependent(3);
  EXPECT_EQ(host.lastMessage(), "Index error");
  reg.DefineIndependent(8);
  EXPECT_EQ(host.lastMessage(), "No series");
  EXPECT_EQ(reg.model.p, 0);
  reg.StartIndependent();
  EXPECT_EQ(ws.Request.prompt, "Select Independent variable column:");
  ws.ConfirmRequest(1);
  EXPECT_EQ(reg.model.p, 1);
  EXPECT_EQ(reg.model.reg[1].column, 1);
  reg.DefineIndependent(1);
  EXPECT_EQ(host.lastMessage(), "Duplicate");

  // Up to 18 regressors: the constant and 17 columns.
  for (int c = 10; c < 26; ++c) {
    fill(c, "V" + std::to_string(c), ten);
    reg.DefineIndependent(c);
  }
  EXPECT_EQ(reg.model.p, 17);
  fill(30, "ONEMORE", ten);
  host.clear();
  reg.DefineIndependent(30);
  EXPECT_EQ(host.lastMessage(), "Too many independent variables");
  EXPECT_EQ(reg.model.p, 17);
  // Turning the constant off and on again needs a free slot too.
  reg.ToggleConstant();
  EXPECT_EQ(reg.model.p, 16);
  reg.DefineIndependent(30);
  EXPECT_EQ(reg.model.p, 17);
  host.clear();
  reg.ToggleConstant();
  EXPECT_EQ(host.lastMessage(), "Too many independent variables");
  EXPECT_FALSE(reg.model.constant);
}

TEST_F(RegressionTest, ListingAndTheConstantsOrder) {
  ws.SetUseLimits(0, 3);
  fill(0, "YDATA", {1, 2, 3, 5});
  fill(1, "XA", {1, 0, 3, 2});
  fill(2, "XB", {0, 1, 1, 4});
  reg.DefineDependent(0);
  reg.DefineIndependent(1);
  std::vector<std::string> expected{"Dependent variable is A  : ",
                                    " ",
                                    "           YDATA",
                                    std::string(66, '-'),
                                    " ",
                                    "Constant",
                                    " 1=B  :    XA"};
  EXPECT_EQ(lines(), expected);
  EXPECT_GT(host.logShown, 0);

  // Removing variable 0 while the constant is the only regressor does nothing.
  reg.RemoveVariable(1);
  EXPECT_EQ(reg.model.p, 0);
  reg.RemoveVariable(0);
  EXPECT_EQ(reg.model.p, 0);
  EXPECT_TRUE(reg.model.constant);

  // X1, X2 without the constant, then the constant in front of them.
  reg.ToggleConstant();
  EXPECT_EQ(reg.model.p, -1);
  reg.DefineIndependent(1);
  reg.DefineIndependent(2);
  EXPECT_EQ(lines()[1], std::string(33, ' ') + "NO Constant");
  EXPECT_EQ(lines()[5], " 0=B  :    XA");
  reg.ToggleConstant();
  ASSERT_EQ(reg.model.p, 2);
  EXPECT_EQ(lines().size(), 8u);
  EXPECT_EQ(lines()[5], "Constant");
  EXPECT_EQ(lines()[6], " 1=B  :    XA");
  EXPECT_EQ(lines()[7], " 2=C  :    XB");

  // The asked number is rounded; numbers out of range change nothing.
  host.reals = {7.0, -1.0, 1.4};
  reg.RemoveIndependent();
  reg.RemoveIndependent();
  EXPECT_EQ(reg.model.p, 2);
  reg.RemoveIndependent();
  EXPECT_EQ(host.prompts.back(), "Enter variable number to remove:");
  ASSERT_EQ(reg.model.p, 1);
  EXPECT_EQ(reg.model.reg[1].column, 2);

  // Removing variable 0 with the constant on takes the constant away, keeping the columns.
  reg.DefineIndependent(1);
  ASSERT_EQ(reg.model.p, 2);
  reg.RemoveVariable(0);
  EXPECT_FALSE(reg.model.constant);
  ASSERT_EQ(reg.model.p, 1);
  EXPECT_EQ(reg.model.reg[0].column, 2);
  EXPECT_EQ(reg.model.reg[1].column, 1);
  EXPECT_EQ(lines()[5], " 0=C  :    XB");
  reg.RemoveVariable(1);
  reg.ToggleConstant();

  // A column that stops short later is listed as an index error and stops Calculate.
  host.answers = {Answer::Yes};
  ASSERT_TRUE(store.DELETEENDVALUE(ws.column(2), 3));
  reg.ShowVDefs();
  EXPECT_EQ(lines()[6], " 1=C  :       ** index error **");
  host.clear();
  EXPECT_FALSE(reg.Calculate());
  EXPECT_EQ(host.messages, std::vector<std::string>{"Error in problem"});
  EXPECT_FALSE(reg.calculated());
  // And an erased one as undefined.
  store.DISPOSESERIES(ws.column(2));
  reg.ShowVDefs();
  EXPECT_EQ(lines()[6], " 1=** :     ");
}

TEST_F(RegressionTest, CalculateReportsAndSavesEveryResult) {
  smallProblem();
  host.clear();
  reg.StartSave(25);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Regression has not been calculated"});
  EXPECT_FALSE(ws.requestActive());

  ASSERT_TRUE(reg.Calculate());
  ASSERT_TRUE(reg.calculated());
  ASSERT_EQ(lines().size(), 18u);
  EXPECT_EQ(lines()[0], "");
  EXPECT_EQ(lines()[1], "Dependent variable is A  :");
  EXPECT_EQ(lines()[4], "   Number of observations =   6; from    0 to    5");
  EXPECT_EQ(lines()[13], " 1=B  : X1");
  EXPECT_EQ(lines()[17], "                             6.3333337E-01   2.84637E-02   2.22506E+01");

  // Predicted values into a column holding TEMP: the name stays.
  fill(4, "TEMP", {9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
  reg.StartSave(25);
  EXPECT_EQ(ws.Request.prompt, "Column to save predicted values:");
  ws.ConfirmRequest(4);
  EXPECT_EQ(ws.columnName(4), "TEMP");
  const float yhat[] = {3.133333444595337f, 3.866666555404663f,  7.133333206176758f,
                        7.866666793823242f, 11.133333206176758f, 11.866666793823242f};
  for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(at(4, i), yhat[i]);
  EXPECT_EQ(ws.column(4).highestIndex(), 5);
  EXPECT_TRUE(ws.column(4).modified);

  // The band, one standard error of prediction either side.
  reg.StartSave(26);
  EXPECT_EQ(ws.Request.prompt, "1st of 2 columns to save predicted range:");
  ws.ConfirmRequest(6);
  EXPECT_EQ(ws.columnName(6), "PredLower");
  EXPECT_EQ(ws.columnName(7), "PredUpper");
  const float lo[] = {3.0494465827941895f, 3.7827796936035156f, 7.056353569030762f,
                      7.789687156677246f,  11.049446105957031f, 11.782779693603516f};
  const float hi[] = {3.2172203063964844f, 3.9505534172058105f, 7.210312843322754f,
                      7.943646430969238f,  11.217220306396484f, 11.950553894042969f};
  for (int i = 0; i < 6; ++i) {
    EXPECT_NEAR(at(6, i), lo[i], 2E-6);
    EXPECT_NEAR(at(7, i), hi[i], 2E-6);
  }

  // Coefficients at indices 0..2 whatever the use limits.
  ws.SetUseLimits(100, 200);
  reg.StartSave(27);
  EXPECT_EQ(ws.Request.prompt, "Column to save estimated coefficients:");
  ws.ConfirmRequest(8);
  EXPECT_EQ(ws.columnName(8), "BCoeff");
  EXPECT_EQ(ws.column(8).lowest(), 0);
  EXPECT_EQ(ws.column(8).highestIndex(), 2);
  EXPECT_FLOAT_EQ(at(8, 0), 0.5f);
  EXPECT_FLOAT_EQ(at(8, 1), 1.36666663f);
  EXPECT_FLOAT_EQ(at(8, 2), 0.63333337f);

  // s2 and the inverse normal matrix, one column per regressor.
  reg.StartSave(28);
  EXPECT_EQ(ws.Request.prompt, "1st column of correlation matrix:");
  ws.ConfirmRequest(10);
  EXPECT_EQ(ws.columnName(10), "S2");
  EXPECT_NEAR(at(10, 0), 0.004444425371161742, 1E-8);
  const double C[3][3] = {{0.9322916666666666, -0.109375, -0.109375},
                          {-0.109375, 0.18229166666666666, -0.15104166666666666},
                          {-0.109375, -0.15104166666666666, 0.18229166666666666}};
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(ws.columnName(11 + j), "CC" + std::to_string(j));
    EXPECT_EQ(ws.column(11 + j).highestIndex(), 2);
    for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(at(11 + j, k), float(C[k][j]));
  }

  // Saves that would run past the last column are refused.
  host.clear();
  reg.SaveRange(MaxColumn);
  reg.SaveMatrix(MaxColumn - 2);
  EXPECT_EQ(host.messages, (std::vector<std::string>{"Dest. block runs past column SP",
                                                     "Dest. block runs past column SP"}));
  EXPECT_FALSE(ws.inUse(MaxColumn));
}

TEST_F(RegressionTest, FailedCalculationsReportNothingAndKeepEarlierResults) {
  ws.SetUseLimits(0, 4);
  fill(0, "Y", {1, 3, 5, 7, 9});  // y = 2x + 1 exactly
  fill(1, "X", {0, 1, 2, 3, 4});
  fill(2, "Y2", {1, 3, 4, 7, 9});
  fill(3, "TWO", {2, 2, 2, 2, 2});
  reg.DefineDependent(0);
  reg.DefineIndependent(1);

  host.clear();
  EXPECT_FALSE(reg.Calculate());
  EXPECT_EQ(host.messages, std::vector<std::string>{"Floating point division by zero"});
  EXPECT_FALSE(reg.calculated());
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(lines()[1], " ");  // the variable listing, not a report
  for (const auto& l : lines()) EXPECT_EQ(l.find("Coefficient"), std::string::npos);

  // A good fit, then a singular one: the earlier results stay for the saves.
  reg.DefineDependent(2);
  ASSERT_TRUE(reg.Calculate());
  const double b1 = reg.results().res.b[1];
  EXPECT_NEAR(b1, 2.0, 0.15);
  reg.RemoveVariable(1);
  reg.DefineIndependent(3);
  host.clear();
  EXPECT_FALSE(reg.Calculate());
  EXPECT_EQ(host.messages, (std::vector<std::string>{" ZERO DET", "ZERO DET"}));
  EXPECT_TRUE(reg.calculated());
  EXPECT_EQ(reg.results().res.b[1], b1);
  reg.SaveCoefficients(5);
  EXPECT_FLOAT_EQ(at(5, 1), float(b1));

  // No regressor at all: every y is a residual. SST = 40.8, SSE = 156, d = 5, s2 = 31.2:
  // R-squared (40.8 - 156) / 40.8, adjusted 1 - 31.2 / (40.8 / 4).
  reg.RemoveVariable(1);
  reg.ToggleConstant();
  ASSERT_EQ(reg.model.p, -1);
  EXPECT_TRUE(reg.Calculate());
  EXPECT_EQ(lines().size(), 10u);
  EXPECT_EQ(lines()[6], "   R - squared            = -2.82353    ..adjusted = -2.05882");
  reg.ToggleConstant();

  // The next Calculate starts afresh.
  reg.RemoveVariable(1);
  reg.DefineIndependent(1);
  EXPECT_TRUE(reg.Calculate());
  EXPECT_FALSE(store.StoreError);
}

// The steps are plugged into the worksheet by the objects and leave with them.
TEST(RegressionLifetime, StepsLeaveWithTheirOwners) {
  test::TestHost host;
  LogModel log;
  Store store{host, log};
  Worksheet ws{store, host, log};
  {
    Regression reg{ws};
    Spline spline{ws};
  }
  ws.C1 = 0;
  for (int code = 23; code <= 32; ++code) ws.RunRequest(code);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
