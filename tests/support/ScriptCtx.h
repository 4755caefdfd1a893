// A fresh application context over a test host, with a scratch folder, for running scripts.
#pragma once

#include <string>

#include "TempDir.h"
#include "TestHost.h"
#include "shell/AppContext.h"

namespace plotane::test {

struct ScriptCtx {
  TestHost host;
  TempDir dir;
  AppContext ctx{host};
  // Runs a script; "$" in it stands for the temporary folder (quoted names keep their case).
  bool run(std::string text) {
    for (std::size_t p; (p = text.find('$')) != std::string::npos;) text.replace(p, 1, dir.path());
    ctx.runner.setText(text);
    ctx.runner.RUN();
    return !ctx.runner.ScriptError;
  }
  Series& col(int c) { return ctx.worksheet.column(c); }
  float val(int c, int i) { return ctx.store.GETVAL(col(c), i); }
  // Puts values 1..n (times k) at indices from..from+n-1 of a column.
  void fill(int c, int n, double k = 1, int from = 0) {
    ctx.store.NEWSERIES(col(c), false, "d");
    for (int i = 0; i < n; ++i) ctx.store.PUTVAL(col(c), from + i, (i + 1) * k);
  }
};

}  // namespace plotane::test
