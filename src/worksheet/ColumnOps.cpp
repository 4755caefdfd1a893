// The column commands of the "Arith ops" menu and Copy, Move and Erase: each asks for its
// columns through column requests and runs one series calculation or series operation.

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "worksheet/Worksheet.h"

namespace plotane {

namespace {

std::string opText(char op) { return std::string(1, op); }

}  // namespace

std::string Worksheet::UnaryName(char op) {
  switch (op) {
    case 'N':
      return "-";
    case 'I':
      return "1/";
    case 'L':
      return "Ln";
    case 'E':
      return "Exp";
    case 'C':
      return "Cum";
    default:
      return opText(op);
  }
}

// ---- First steps (menu entries) ----

void Worksheet::StartSeriesSeries(char op) {
  PendingOp = op;
  AskColumn("[D]=[C1]" + opText(op) + "[C2]; Specify C1 source column", 12);
}

void Worksheet::StartConstant(char op) {
  PendingOp = op;
  double value = ConstSeriesValue;
  if (!host.askReal("Constant*Series operations---Enter constant value:", value)) return;
  ConstSeriesValue = value;
  if (op == 'S') {
    // A shift beyond any index range is still a shift beyond it; keep k printable.
    double k = std::nearbyint(std::clamp(value, -1.0e6, 1.0e6));
    ConstSeriesValue = k;
    AskColumn("Specify source column to be shifted" + std::to_string(long(k)) + " :", 10);
  } else if (op == 'X') {
    AskColumn("Source column is ?^" + FormatReal(12, kSpecFlexible, value), 10);
  } else {
    AskColumn("Source column is ? " + opText(op) + " " + FormatReal(12, kSpecFlexible, value), 10);
  }
}

void Worksheet::StartUnary(char op) {
  PendingOp = op;
  AskColumn("Unary operation source column: " + UnaryName(op) + "(?)", 8);
}

void Worksheet::StartIndexSeries() { AskColumn("Specify column to receive index series:", 15); }

void Worksheet::StartDifferenceSeries() {
  AskColumn("Specify column to receive difference series:", 16);
}

void Worksheet::StartFill() { AskColumn("Specify column to fill with constants:", 17); }

void Worksheet::StartSumRange() { AskRange("Sum range of columns---specify range:", 18); }

void Worksheet::StartRangeOp(char op) {
  PendingOp = op;
  AskRange("Range [C1]..[C2] operated on:", 20);
}

void Worksheet::StartUnaryRange(char op) {
  PendingOp = op;
  AskRange("Specify range of columns to be operated on:", 22);
}

void Worksheet::StartCopy() { AskRange("Range of columns to COPY", 33); }
void Worksheet::StartMove() { AskRange("Range of columns to MOVE", 35); }
void Worksheet::StartErase() { AskRange("Range of columns to ERASE", 37); }

// ---- Steps over explicit columns ----

void Worksheet::SumOverRange(int first, int last, int dest) {
  if (!validColumn(dest)) return;
  Series& d = columns_[dest];
  if (!d.inUse()) {
    store.NEWSERIES(d, false, "");
    if (store.StoreError) return;
  }
  first = std::max(first, 0);
  last = std::min(last, MaxColumn);
  int low = UseLow(), high = UseHigh();
  guardFloat(host, [&] {
    BusyCursor busy(host);
    if (!d.hasData())
      for (int i = low; i <= high; ++i) store.PUTVAL(d, i, 0.0);
    bool warned = false;
    for (int i = low; i <= high; ++i) {
      float v;
      if (d.hasData() && i >= d.lowest() && i <= d.highestIndex()) {
        v = peek(d, i);
      } else {
        // The destination does not reach this index: warn once, not once per index.
        if (!warned) store.GETVAL(d, i);
        warned = true;
        v = MissingValue;
      }
      double sum = isMissing(v) ? 0.0 : double(v);
      for (int k = first; k <= last; ++k) {
        const Series& s = columns_[k];
        if (!s.hasData() || i < s.lowest() || i > s.highestIndex()) continue;
        float w = peek(s, i);
        if (!isMissing(w)) sum += double(w);
      }
      if (std::fabs(sum) > double(FLT_MAX)) throw FloatFault{FloatFaultKind::Overflow};
      store.PUTVAL(d, i, sum);
    }
  });
  ShowColumn(dest);
}

bool Worksheet::blockAllowed(int first, int last, int dest) {
  if (last < first) return false;
  if (!validColumn(first) || !validColumn(last) || !validColumn(dest)) return false;
  if (dest <= last && dest + (last - first) >= first) {
    store.STOREMSG(kOverlap);
    store.StoreError = true;
    return false;
  }
  if (dest + (last - first) > MaxColumn) {
    store.STOREMSG(kPastLastColumn);
    store.StoreError = true;
    return false;
  }
  return true;
}

void Worksheet::CopyBlock(int first, int last, int dest) {
  if (!blockAllowed(first, last, dest)) return;
  for (int k = 0; k <= last - first; ++k) {
    ClearColumn(dest + k);
    store.COPYSERIES(columns_[dest + k], columns_[first + k]);
    store.StoreError = false;
    ShowColumn(dest + k);
  }
}

void Worksheet::MoveBlock(int first, int last, int dest) {
  if (!blockAllowed(first, last, dest)) return;
  for (int k = 0; k <= last - first; ++k) {
    ClearColumn(first + k);
    ClearColumn(dest + k);
    store.MOVESERIES(columns_[dest + k], columns_[first + k]);
    ShowColumn(dest + k);
    store.StoreError = false;
  }
}

void Worksheet::EraseColumns(int first, int last) {
  for (int c = std::max(first, 0); c <= std::min(last, MaxColumn); ++c) {
    if (!inUse(c)) continue;
    ClearColumn(c);
    store.DISPOSESERIES(columns_[c]);
  }
  RefreshColumnList();
}

// ---- Request steps ----

void Worksheet::registerColumnOpSteps() {
  auto op = [](Worksheet& ws) { return opText(ws.PendingOp); };
  setRequestStep(8, [](Worksheet& ws) {
    ws.SavedColumn1 = ws.C1;
    ws.AskColumn("Specify result destination column:", 9);
  });
  setRequestStep(9, [](Worksheet& ws) {
    if (!validColumn(ws.C1) || !validColumn(ws.SavedColumn1)) return;
    ws.store.UNARYCALCS(ws.PendingOp, ws.column(ws.C1), ws.column(ws.SavedColumn1));
    ws.ShowColumn(ws.C1);
  });
  setRequestStep(10, [](Worksheet& ws) {
    ws.SavedColumn1 = ws.C1;
    ws.AskColumn("Specify destination column:", 11);
  });
  setRequestStep(11, [](Worksheet& ws) {
    if (!validColumn(ws.C1) || !validColumn(ws.SavedColumn1)) return;
    ws.store.CONSTCALCS(ws.PendingOp, ws.column(ws.C1), ws.column(ws.SavedColumn1),
                        ws.ConstSeriesValue);
    ws.ShowColumn(ws.C1);
  });
  setRequestStep(12, [op](Worksheet& ws) {
    ws.SavedColumn1 = ws.C1;
    ws.AskColumn("[D]=[C1]" + op(ws) + "[C2]; Specify C2 source column", 13);
  });
  setRequestStep(13, [op](Worksheet& ws) {
    ws.SavedColumn2 = ws.C1;
    ws.AskColumn("[D]=[C1]" + op(ws) + "[C2]; Specify Destination column", 14);
  });
  setRequestStep(14, [](Worksheet& ws) {
    if (!validColumn(ws.C1) || !validColumn(ws.SavedColumn1) || !validColumn(ws.SavedColumn2))
      return;
    ws.store.BINARYCALCS(ws.PendingOp, ws.column(ws.C1), ws.column(ws.SavedColumn1),
                         ws.column(ws.SavedColumn2));
    ws.ShowColumn(ws.C1);
  });
  setRequestStep(15, [](Worksheet& ws) {
    if (!validColumn(ws.C1)) return;
    ws.ClearColumn(ws.C1);
    ws.store.MAKEINDEXSERIES(ws.column(ws.C1));
    ws.ShowColumn(ws.C1);
  });
  setRequestStep(16, [](Worksheet& ws) {
    if (!validColumn(ws.C1)) return;
    double start = ws.DiffStart;
    if (!ws.host.askReal("Difference series---Enter starting value (at lower index limit):", start))
      return;
    ws.DiffStart = start;
    double step = ws.DiffStep;
    if (!ws.host.askReal("Difference series---Enter difference value (term to term):", step))
      return;
    ws.DiffStep = step;
    ws.ClearColumn(ws.C1);
    ws.store.MAKERAMP(ws.column(ws.C1), start, step);
    ws.ShowColumn(ws.C1);
  });
  setRequestStep(17, [](Worksheet& ws) {
    if (!validColumn(ws.C1)) return;
    double value = ws.FillValue;
    if (!ws.host.askReal("Fill a series with a constant---Enter constant value:", value)) return;
    ws.FillValue = value;
    ws.store.MAKECONST(ws.column(ws.C1), value);
    ws.ShowColumn(ws.C1);
  });
  setRequestStep(18, [](Worksheet& ws) {
    ws.SavedColumn1 = ws.C1;
    ws.SavedColumn2 = ws.C2;
    ws.AskColumn("Specify destination column for sum result:", 19);
  });
  setRequestStep(19,
                 [](Worksheet& ws) { ws.SumOverRange(ws.SavedColumn1, ws.SavedColumn2, ws.C1); });
  setRequestStep(20, [op](Worksheet& ws) {
    ws.SavedColumn1 = ws.C1;
    ws.SavedColumn2 = ws.C2;
    ws.AskColumn("Calc: [C1]" + op(ws) + "[C3]...[C2]" + op(ws) + "[C3], Specify [C3]", 21);
  });
  setRequestStep(21, [](Worksheet& ws) {
    if (!validColumn(ws.C1)) return;
    BusyCursor busy(ws.host);
    for (int k = std::max(ws.SavedColumn1, 0); k <= std::min(ws.SavedColumn2, MaxColumn); ++k) {
      ws.store.MODIFYBIN(ws.PendingOp, ws.column(k), ws.column(ws.C1));
      ws.ShowColumn(k);
      if (ws.store.CalcFault) break;  // an overflow ends the whole command
    }
  });
  setRequestStep(22, [](Worksheet& ws) {
    BusyCursor busy(ws.host);
    for (int k = std::max(ws.C1, 0); k <= std::min(ws.C2, MaxColumn); ++k) {
      ws.store.MODIFYUN(ws.PendingOp, ws.column(k));
      ws.ShowColumn(k);
      if (ws.store.CalcFault) break;
    }
  });
  setRequestStep(33, [](Worksheet& ws) {
    ws.SavedColumn1 = ws.C1;
    ws.AskColumn("Destination (left column in block)?", 34);
  });
  setRequestStep(34, [](Worksheet& ws) { ws.CopyBlock(ws.SavedColumn1, ws.C2, ws.C1); });
  setRequestStep(35, [](Worksheet& ws) {
    ws.SavedColumn1 = ws.C1;
    ws.AskColumn("Destination (left column in block)?", 36);
  });
  setRequestStep(36, [](Worksheet& ws) { ws.MoveBlock(ws.SavedColumn1, ws.C2, ws.C1); });
  setRequestStep(37, [](Worksheet& ws) { ws.EraseColumns(ws.C1, ws.C2); });
}

}  // namespace plotane
