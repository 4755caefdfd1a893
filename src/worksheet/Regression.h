#pragma once
// The worksheet's Regression submenu: the model definition (dependent column, constant term,
// independent columns), Calculate with its report in the log, and the four saves of results
// into columns. One Regression object per worksheet, owned next to it by the application
// context; it plugs its column-request steps (codes 23 to 28) into the worksheet.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "worksheet/RegressionMath.h"
#include "worksheet/RegressionReport.h"

namespace plotane {

class Worksheet;

// One variable of the model: a column and what was found in it when it was last tested.
struct RegEntry {
  int16_t column = -1;
  bool covers = false;   // the series' range contains UseLow..UseHigh
  bool defined = false;  // a series was in the column
};

struct RegSpec {
  RegEntry dependent;
  int16_t p = 0;         // number of the last regressor; -1 for none
  bool constant = true;  // regressor 0 is the constant term
  std::array<RegEntry, kMaxRegressors> reg;
};

class Regression {
 public:
  // Request codes of the definitions and saves.
  static constexpr int kDependentCode = 23;
  static constexpr int kIndependentCode = 24;
  static constexpr int kSavePredictedCode = 25;
  static constexpr int kSaveRangeCode = 26;
  static constexpr int kSaveCoefficientsCode = 27;
  static constexpr int kSaveMatrixCode = 28;

  static constexpr const char* kNoSeries = "No series";
  static constexpr const char* kIndexError = "Index error";
  static constexpr const char* kDuplicate = "Duplicate";
  static constexpr const char* kTooMany = "Too many independent variables";
  static constexpr const char* kErrorInProblem = "Error in problem";
  static constexpr const char* kNotCalculated = "Regression has not been calculated";
  static constexpr const char* kPastLastColumn = "Dest. block runs past column SP";

  // Registers the request steps 23 to 28 with the worksheet.
  explicit Regression(Worksheet& ws);
  // Takes its steps out of the worksheet again.
  ~Regression();
  Regression(const Regression&) = delete;
  Regression& operator=(const Regression&) = delete;

  RegSpec model;

  // ---- Menu commands ----
  void StartDependent();    // AskColumn("Select Dependent variable column:", 23)
  void StartIndependent();  // AskColumn("Select Independent variable column:", 24)
  // Asks for the variable number, then RemoveVariable.
  void RemoveIndependent();
  void ToggleConstant();
  // Commits the current cell, then Calculate.
  void CalculateCommand();
  // Save predicted values, predicted range, coefficients, correlation matrix: the codes 25..28.
  void StartSave(int code);
  void ShowVDefs();

  // ---- The steps (scripts and tests may call them directly) ----
  void DefineDependent(int column);
  void DefineIndependent(int column);
  // Removes regressor k (numbers as listed); out-of-range numbers change nothing.
  void RemoveVariable(long k);
  // False when the calculation failed (nothing reported, earlier results kept).
  bool Calculate();
  void SavePredicted(int column);
  void SaveRange(int column);
  void SaveCoefficients(int column);
  void SaveMatrix(int column);

  // ---- Results of the latest completed Calculate ----
  bool calculated() const { return calculated_; }
  const RegFit& results() const { return fit_; }

 private:
  void recheck(RegEntry& e);
  bool usableEntry(int column, RegEntry& e);
  std::string columnText(const RegEntry& e) const;
  std::string nameText(const RegEntry& e) const;
  bool complete() const;
  void removeSlot(int k);
  // Values for one column, written from index `first` on.
  struct ColumnValues {
    int column;
    std::string name;
    long first;
    std::vector<double> values;
  };
  // Blanks and renews every column (keeping names they had), then writes the values. Nothing
  // is touched when a column lies past the last one or a value cannot be stored.
  bool writeColumns(const std::vector<ColumnValues>& out);
  void failed();

  Worksheet& ws_;
  bool calculated_ = false;
  RegFit fit_;
};

}  // namespace plotane
