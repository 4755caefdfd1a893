// A graph over a full column set, drawing on a real page: what the rendering tests start from.
#pragma once

#include <gtest/gtest.h>

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
  TextEngine text{d};

  // The graph box runs from the A cursor (ax, ay) to the B cursor (bx, by).
  GraphPage(double ax, double ay, double bx, double by) {
    graph.setColumns(std::span<Series>(cols.get(), 510));
    d.SetACursor(ax, ay);
    d.SetBCursor(bx, by);
  }
};

}  // namespace plotane::test
