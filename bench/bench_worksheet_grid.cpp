// The worksheet window's grid: painting one full screen of cells of a worksheet whose 510
// columns hold 12 401 values each (every index the grid shows), and scrolling one page down
// and back. Each should stay well under one frame (16 ms) in a Release build.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <memory>

#include "shell/AppContext.h"
#include "shell/ui/QtHost.h"
#include "worksheet/ui/WkGrid.h"

namespace {

using namespace plotane;

QApplication& app() {
  static int argc = 1;
  static char name[] = "bench_worksheet_grid";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication a(argc, argv);
  return a;
}

struct Screen {
  QtHost host;
  AppContext ctx{host};
  std::unique_ptr<WkGridModel> model;
  std::unique_ptr<WkGridView> view;
  QImage image{1920, 1080 - 222, QImage::Format_RGB32};

  Screen() {
    Worksheet& ws = ctx.worksheet;
    for (int c = 0; c < ColumnCount; ++c) {
      Series& s = ws.column(c);
      ctx.store.NEWSERIES(s, false, "");
      for (int i = MinRowIndex; i <= MaxRowIndex; ++i) ctx.store.PUTVAL(s, i, 0.5 * c + 0.001 * i);
    }
    model = std::make_unique<WkGridModel>(ws);
    view = std::make_unique<WkGridView>(ws, model.get());
    view->resize(image.size());
    view->show();
    view->scrollTo(model->index(WkGridModel::modelRowOfIndex(6000), 255),
                   QAbstractItemView::PositionAtTop);
    QCoreApplication::processEvents();
  }
  void paint() {
    QPainter p(&image);
    view->render(&p);
  }
};

Screen& screen() {
  app();
  static Screen s;
  return s;
}

void BM_PaintFullScreen(benchmark::State& state) {
  Screen& s = screen();
  for (auto _ : state) {
    s.paint();
    benchmark::DoNotOptimize(s.image.constBits());
  }
  state.counters["rows"] = s.view->height() / 18;
  state.counters["columns"] = s.view->width() / 80;
}
BENCHMARK(BM_PaintFullScreen)->Unit(benchmark::kMillisecond);

void BM_ScrollOnePageAndPaint(benchmark::State& state) {
  Screen& s = screen();
  QScrollBar* bar = s.view->verticalScrollBar();
  int start = bar->value();
  bool down = true;
  for (auto _ : state) {
    bar->setValue(down ? start + bar->pageStep() : start);
    down = !down;
    s.paint();
    benchmark::DoNotOptimize(s.image.constBits());
  }
}
BENCHMARK(BM_ScrollOnePageAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace
