// A graph over a full column set, drawing on a real page: what the rendering tests start from.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <span>

#include "TestHost.h"
#include "drawing/Drawing.h"
#include "drawing/Text.h"
#include "graph/Graph.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

namespace plotane::test {

struct GraphPage : ::testing::Test {
  TestHost host;
  LogModel log;
  Store store{host, log};
  std::unique_ptr<Series[]> cols{new Series[510]};
  Graph graph{host, store};
  Drawing d{host};

  // Ink at a page position, and anywhere in a page rectangle.
  bool ink(double X, double Y) const {
    double c = 0, r = 0;
    d.pageToRaster(X, Y, c, r);
    const int ci = int(std::lround(c)), ri = int(std::lround(r));
    if (ri < 0 || ri >= kRasterRows || ci < 0 || ci >= kRasterCols) return false;
    return d.image().pixel(ri, ci);
  }
  bool inkIn(double X1, double Y1, double X2, double Y2) const {
    for (double X = X1; X <= X2; X += 1.0 / 300)
      for (double Y = Y1; Y <= Y2; Y += 1.0 / 300)
        if (ink(X, Y)) return true;
    return false;
  }
  TextEngine text{d};

  // The graph box runs from the A cursor (ax, ay) to the B cursor (bx, by).
  GraphPage(double ax, double ay, double bx, double by) {
    graph.setColumns(std::span<Series>(cols.get(), 510));
    d.SetACursor(ax, ay);
    d.SetBCursor(bx, by);
  }
};

}  // namespace plotane::test
