#pragma once
// A worksheet over a fresh store with a recording view, for the worksheet tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestHost.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"
#include "worksheet/Worksheet.h"

namespace plotane::test {

class RecordingView : public WorksheetView {
 public:
  std::vector<int> columnsShown;
  std::vector<std::pair<int, int>> cellsShown;
  int listChanges = 0, xvalsChanges = 0, requestChanges = 0, limitChanges = 0;
  bool editing = false;
  std::string edit;

  void cellChanged(int c, int i) override { cellsShown.emplace_back(c, i); }
  void columnChanged(int c) override { columnsShown.push_back(c); }
  void columnListChanged() override { ++listChanges; }
  void xvalsChanged() override { ++xvalsChanges; }
  void useLimitsChanged() override { ++limitChanges; }
  void requestChanged() override { ++requestChanges; }
  bool currentEditText(std::string& text) override {
    if (!editing) return false;
    text = edit;
    return true;
  }
  bool shown(int c) const {
    return std::find(columnsShown.begin(), columnsShown.end(), c) != columnsShown.end();
  }
  void clear() {
    columnsShown.clear();
    cellsShown.clear();
    listChanges = xvalsChanges = requestChanges = limitChanges = 0;
  }
};

class WorksheetTest : public ::testing::Test {
 protected:
  TestHost host;
  LogModel log;
  Store store{host, log};
  Worksheet ws{store, host, log};
  RecordingView view;

  void SetUp() override { ws.setView(&view); }

  // Puts values at consecutive indices from `from` on, creating the column's series if needed.
  void fill(int c, int from, std::initializer_list<double> values) {
    Series& s = ws.column(c);
    if (!s.inUse()) store.NEWSERIES(s, false, "");
    int i = from;
    for (double v : values) store.PUTVAL(s, i++, v);
  }
  float val(int c, int index) {
    bool before = store.StoreError;
    float v = store.GETVAL(ws.column(c), index);
    store.StoreError = before;
    return v;
  }
  std::pair<int, int> range(int c) { return {ws.column(c).lowest(), ws.column(c).highestIndex()}; }
};

// A worksheet without a view whose columns hold named series: for the analysis commands.
struct NamedColumnsTest : ::testing::Test {
  TestHost host;
  LogModel log;
  Store store{host, log};
  Worksheet ws{store, host, log};

  // Fills a column with values at indices first, first + 1, ...
  void fill(int c, const std::string& name, const std::vector<double>& v, int first = 0) {
    store.NAMEDNEWSERIES(ws.column(c), name, "");
    for (std::size_t i = 0; i < v.size(); ++i) store.PUTVAL(ws.column(c), first + int(i), v[i]);
  }
  float at(int c, int index) { return store.GETVAL(ws.column(c), index); }
};

}  // namespace plotane::test
