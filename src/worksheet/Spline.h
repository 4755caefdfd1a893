#pragma once
// The worksheet's "Spline interpolation": a chain of column requests (codes 29 to 32) that fits
// a parametric cubic spline through the points of two columns and writes an evenly spaced
// resampling into two result columns linked as Y of X. One Spline object per worksheet, owned
// next to it by the application context; its settings last for the whole run.

#include <string>

namespace plotane {

class Worksheet;

class Spline {
 public:
  static constexpr int kYSourceCode = 29;
  static constexpr int kXSourceCode = 30;
  static constexpr int kResultYCode = 31;
  static constexpr int kResultXCode = 32;

  static constexpr const char* kNoYColumn = "No Y column";
  static constexpr const char* kNoXColumn = "No X column";
  static constexpr const char* kTooFew = "Less than 4 points, too few";
  static constexpr const char* kTooMany = "More than 128 points, too many";
  static constexpr const char* kMissingX = "Missing X value";
  static constexpr const char* kMissingY = "Missing Y value";
  static constexpr const char* kExistence = "Spline existence error";

  // Registers the request steps 29 to 32 with the worksheet.
  explicit Spline(Worksheet& ws);
  // Takes its steps out of the worksheet again.
  ~Spline();
  Spline(const Spline&) = delete;
  Spline& operator=(const Spline&) = delete;

  // The remembered settings.
  int XSource = 0;
  int YSource = 1;
  int ResultX = 2;
  int ResultY = 3;
  long Points = 400;  // number of result points N

  // The menu entry: AskColumn("Y column source for spline", 29).
  void Start();

  // ---- The steps (scripts and tests may call them directly) ----
  void SetYSource(int column);  // 29
  void SetXSource(int column);  // 30: asks for N, then for the result Y column
  void SetResultY(int column);  // 31
  void SetResultX(int column);  // 32: runs the spline
  // Runs the spline with the current settings. False when it stopped on a message.
  bool Run();

 private:
  bool sourceInUse(int column, const char* message);
  Worksheet& ws_;
};

}  // namespace plotane
