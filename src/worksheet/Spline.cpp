#include "worksheet/Spline.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "worksheet/SplineMath.h"
#include "worksheet/Worksheet.h"

namespace plotane {

namespace {

// Larger counts could not be written anyway: indices stop at 32767.
constexpr double kMaxPoints = 65536.0;

// A result beyond the single range cannot be stored: the platform's overflow.
double storable(double v) {
  if (std::fabs(fpCheck(v)) > double(FLT_MAX)) throw FloatFault{FloatFaultKind::Overflow};
  return v;
}

}  // namespace

Spline::Spline(Worksheet& ws) : ws_(ws) {
  ws_.setRequestStep(kYSourceCode, [this](Worksheet& w) { SetYSource(w.C1); });
  ws_.setRequestStep(kXSourceCode, [this](Worksheet& w) { SetXSource(w.C1); });
  ws_.setRequestStep(kResultYCode, [this](Worksheet& w) { SetResultY(w.C1); });
  ws_.setRequestStep(kResultXCode, [this](Worksheet& w) { SetResultX(w.C1); });
}

Spline::~Spline() {
  for (int code : {kYSourceCode, kXSourceCode, kResultYCode, kResultXCode})
    ws_.setRequestStep(code, nullptr);
}

void Spline::Start() { ws_.AskColumn("Y column source for spline", kYSourceCode); }

// A source column must hold a series; otherwise the message and a store error.
bool Spline::sourceInUse(int column, const char* message) {
  if (ws_.inUse(column)) return true;
  ws_.store.STOREMSG(message);
  ws_.store.StoreError = true;
  return false;
}

void Spline::SetYSource(int column) {
  YSource = column;
  if (!sourceInUse(column, kNoYColumn)) return;
  ws_.AskColumn("Specify X source for spline", kXSourceCode);
}

void Spline::SetXSource(int column) {
  XSource = column;
  if (!sourceInUse(column, kNoXColumn)) return;
  double n = double(Points);
  if (!ws_.host.askReal("Spline----No. of result points", n)) return;
  if (!std::isfinite(n)) n = 0.0;
  Points = long(std::nearbyint(std::clamp(n, -kMaxPoints, kMaxPoints)));
  ws_.AskColumn("Spline result Y column:", kResultYCode);
}

void Spline::SetResultY(int column) {
  ResultY = column;
  ws_.AskColumn("Specify result X column:", kResultXCode);
}

void Spline::SetResultX(int column) {
  ResultX = column;
  Run();
}

bool Spline::Run() {
  Store& store = ws_.store;
  auto stop = [&](const char* text) {
    store.STOREMSG(text);
    store.StoreError = true;
    return false;
  };
  if (!ws_.inUse(YSource)) return stop(kNoYColumn);
  if (!ws_.inUse(XSource)) return stop(kNoXColumn);
  if (!Worksheet::validColumn(ResultX) || !Worksheet::validColumn(ResultY)) return false;

  Series& ySeries = ws_.column(YSource);
  Series& xSeries = ws_.column(XSource);
  const int lo = std::max(ySeries.lowest(), ws_.UseLow());
  const int hi = std::min(ySeries.highestIndex(), ws_.UseHigh());
  const int n = hi - lo + 1;
  if (n < kSplineMinPoints) return stop(kTooFew);
  if (n > kSplineMaxPoints) return stop(kTooMany);

  ySeries.xLink = &xSeries;

  std::vector<double> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    float xv = store.GETVAL(xSeries, lo + k);
    if (isMissing(xv)) return stop(kMissingX);
    float yv = store.GETVAL(ySeries, lo + k);
    if (isMissing(yv)) return stop(kMissingY);
    x[std::size_t(k)] = xv;
    y[std::size_t(k)] = yv;
  }
  store.StoreError = false;

  ws_.ClearColumn(ResultY);
  ws_.ClearColumn(ResultX);
  ws_.RenewColumn(ResultY, "Yspline");
  ws_.RenewColumn(ResultX, "Xspline");
  Series& rx = ws_.column(ResultX);
  Series& ry = ws_.column(ResultY);
  ry.xLink = &rx;

  BusyCursor busy(ws_.host);
  bool existence = false;
  std::vector<SplinePoint> points;
  bool ok = guardFloat(ws_.host, [&] {
    SplineCurve curve;
    if (!curve.fit(x, y)) {
      existence = true;
      return;
    }
    curve.resample(Points, [&](long k, SplinePoint p) {
      if (lo + k > INT16_MAX) return;  // past the last index a series can hold
      points.push_back({storable(p.x), storable(p.y)});
    });
  });
  // Only a completed resampling is written.
  if (ok && !existence) {
    for (std::size_t k = 0; k < points.size(); ++k) {
      store.PUTVAL(rx, lo + int(k), points[k].x);
      store.PUTVAL(ry, lo + int(k), points[k].y);
    }
  }
  if (existence) return stop(kExistence);
  ws_.ShowColumn(ResultX);
  ws_.ShowColumn(ResultY);
  if (!ok) store.StoreError = true;
  return ok;
}

}  // namespace plotane
