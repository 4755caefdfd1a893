// The toolkit module: the desktop program and batch mode's toolkit services, behind the entry
// table of app/QtModule.h. The plotane program opens it only when it needs one of them.

#include "app/QtModule.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "drawing/ui/PagePrinter.h"
#include "drawing/ui/PlatformGlyphs.h"
#include "shell/ui/Shell.h"
#include "shell/ui/TForm1.h"

namespace plotane {

namespace {

// Batch mode's standard error carries the program's own lines only: the toolkit's warnings
// and notes are dropped (a fatal error still ends the program, with its text).
void quietToolkit(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtFatalMsg) return;
  std::fprintf(stderr, "plotane: %s\n", text.toLocal8Bit().constData());
  std::abort();
}

class QtBatchToolkit : public BatchToolkit {
 public:
  QtBatchToolkit(int& argc, char** argv) : app_(prepare(argc), argv) {}

  bool platformText(const PlatformTextRequest& request, PlatformTextResult& result) override {
    return RenderPlatformText(request, result);
  }
  bool printPage(const std::vector<uint8_t>& pageBits, const std::string& toFile, bool landscape,
                 std::string& error) override {
    return PrintPageImage(pageBits, toFile, nullptr, error, landscape);
  }

 private:
  // Fonts and printing need an application object, but no window is ever shown.
  static int& prepare(int& argc) {
    qInstallMessageHandler(quietToolkit);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
  }
  QApplication app_;
};

int runDesktop(int& argc, char** argv, const DesktopOptions& options) {
  QApplication app(argc, argv);
  Shell shell;
  shell.context().printToFile = options.printTo;
  // A script's quit closes the main window at once, with its close checks (which ask nothing
  // while the statement runs); the event loop then ends as soon as it starts.
  shell.context().onQuit = [&shell, &app] {
    if (shell.mainWindow()->close())
      QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
  };
  shell.start(options.params);
  return app.exec();
}

BatchToolkit* openBatchToolkit(int& argc, char** argv) { return new QtBatchToolkit(argc, argv); }

const QtModule kModule{sizeof(QtModule), runDesktop, openBatchToolkit};

}  // namespace

}  // namespace plotane

extern "C" __attribute__((visibility("default"))) const void* plotane_qt_module() {
  return &plotane::kModule;
}
