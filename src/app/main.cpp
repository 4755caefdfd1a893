// The plotane command: the desktop program, or with --batch a script run with no window. The
// program links the model only; the toolkit comes from a module loaded when needed.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/ExportModule.h"
#include "app/QtModule.h"
#include "drawing/DrawingOutput.h"
#include "drawing/PagePng.h"
#include "shell/AppContext.h"
#include "shell/base/BatchHost.h"
#include "shell/base/OnDemand.h"

namespace {

const char kUsage[] =
    "Usage: plotane [NAME [P2 ... P9]]\n"
    "       plotane --batch NAME [P2 ... P9] [--print-to FILE] [--png FILE [--dpi N]]\n"
    "                                         [--svg FILE] [--pdf FILE]\n"
    "       plotane --help | --version\n"
    "\n"
    "Makes technical graphs and line drawings at printer resolution.\n"
    "\n"
    "  NAME            an EBT script (NAME.EBT) run at start-up; all parameters fill %1 to %9\n"
    "  FILE.EXT        a file opened by its type: EBT runs, GRL opens in the drawing,\n"
    "                  GRD is loaded as graph definitions, DSF is attached\n"
    "  --batch         run the script with no window and exit: 0 when it ended normally,\n"
    "                  1 when it stopped on an error, 2 for a usage error or unreadable script;\n"
    "                  messages go to standard error, the log (SHOWLOG) to standard output\n"
    "  --print-to FILE printing writes to FILE instead of a printer\n"
    "  --png FILE      with --batch: the drawing is written as a 1-bit PNG when the script ends\n"
    "  --dpi N         the PNG's resolution: 300 (the default: the page raster itself), or 600\n"
    "                  or 1200 (rendered from the drawing's vectors, black and white)\n"
    "  --svg FILE      with --batch: the drawing as an SVG page at true size (vectors)\n"
    "  --pdf FILE      with --batch: the drawing as a PDF page at true size (vectors)\n"
    "  --help          show this text\n"
    "  --version       show the version\n";

struct Options {
  bool batch = false;
  std::string printTo;
  std::string png, svg, pdf;
  int dpi = 300;
  std::vector<std::string> params;
};

// False on a usage error (message already printed).
bool parse(int argc, char** argv, Options& o, bool& done) {
  done = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help") {
      std::fputs(kUsage, stdout);
      done = true;
      return true;
    }
    if (a == "--version") {
      std::printf("%s %s\n", plotane::productName().c_str(), plotane::productVersion().c_str());
      done = true;
      return true;
    }
    if (a == "--batch") {
      o.batch = true;
    } else if (a == "--print-to" || a == "--png" || a == "--svg" || a == "--pdf") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "plotane: %s needs a file name\n", a.c_str());
        return false;
      }
      (a == "--png" ? o.png : a == "--svg" ? o.svg : a == "--pdf" ? o.pdf : o.printTo) = argv[++i];
    } else if (a == "--dpi") {
      const std::string n = i + 1 < argc ? argv[++i] : "";
      if (n != "300" && n != "600" && n != "1200") {
        std::fprintf(stderr, "plotane: --dpi takes 300, 600 or 1200\n");
        return false;
      }
      o.dpi = std::stoi(n);
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      std::fprintf(stderr, "plotane: unknown option %s\n%s", a.c_str(), kUsage);
      return false;
    } else {
      o.params.push_back(a);
    }
  }
  if (o.params.size() > 9) {
    std::fprintf(stderr, "plotane: at most 9 parameters\n");
    return false;
  }
  if (o.batch && o.params.empty()) {
    std::fprintf(stderr, "plotane: --batch needs a script name\n%s", kUsage);
    return false;
  }
  for (const auto& [file, name] :
       {std::pair{&o.png, "--png"}, {&o.svg, "--svg"}, {&o.pdf, "--pdf"}})
    if (!file->empty() && !o.batch) {
      std::fprintf(stderr, "plotane: %s goes with --batch\n", name);
      return false;
    }
  if (o.dpi != 300 && o.png.empty()) {
    std::fprintf(stderr, "plotane: --dpi goes with --png\n");
    return false;
  }
  return true;
}

// Batch mode's host. The toolkit (platform letter fonts, printing through the platform) is
// loaded the first time a script needs it; a script that needs neither never loads it.
class BatchModuleHost : public plotane::BatchHost {
 public:
  BatchModuleHost(int& argc, char** argv) : argc_(argc), argv_(argv) {}

  bool platformText(const plotane::PlatformTextRequest& request,
                    plotane::PlatformTextResult& result) override {
    plotane::BatchToolkit* t = toolkit();
    return t && t->platformText(request, result);
  }
  // No dialog: the default printer, or the file of --print-to (a PDF).
  bool printPage(const std::vector<uint8_t>& pageBits, const std::string& toFile,
                 bool landscape) override {
    plotane::BatchToolkit* t = toolkit();
    if (!t) return false;
    std::string error;
    bool ok = t->printPage(pageBits, toFile, landscape, error);
    if (!ok) message(error.empty() ? "Printing failed" : error);
    return ok;
  }

 private:
  plotane::BatchToolkit* toolkit() {
    if (!tried_) {
      tried_ = true;
      std::string error;
      if (auto* m = plotane::loadModuleTable<plotane::QtModule>("qt", error))
        toolkit_.reset(m->openBatchToolkit(argc_, argv_));
      else
        message("The toolkit cannot be loaded: " + error);
    }
    return toolkit_.get();
  }

  int& argc_;
  char** argv_;
  bool tried_ = false;
  std::unique_ptr<plotane::BatchToolkit> toolkit_;
};

int runBatch(int& argc, char** argv, const Options& o) {
  BatchModuleHost host(argc, argv);
  plotane::AppContext ctx(host);
  host.setLog(&ctx.log);
  // The same graph definition defaults as the desktop program's start.
  ctx.graph.LoadStartUpGrd(plotane::programFolder());
  ctx.printToFile = o.printTo;
  // Why a run stopped goes with the line where it stopped.
  ctx.runner.ReasonInErrorBox = false;
  bool unreadable = false;
  bool ok = ctx.RUNFROMCOMMANDLINE(o.params, &unreadable);
  if (unreadable) return 2;
  if (!ok) {
    const std::string& why = ctx.runner.reason();
    std::fprintf(stderr, "plotane: %s.EBT stopped at line %zu (%s)%s%s\n", o.params[0].c_str(),
                 ctx.runner.statementLine(), ctx.runner.commandWord().c_str(),
                 why.empty() ? "" : ": ", why.c_str());
  }
  std::string error;
  if (!o.png.empty() && o.dpi == 300 && ctx.drawing &&
      !plotane::WritePagePng(*ctx.drawing, o.png, error)) {
    std::fprintf(stderr, "plotane: cannot write %s: %s\n", o.png.c_str(), error.c_str());
    return 1;
  }
  using plotane::VectorFormat;
  const plotane::ExportModule* vectors = nullptr;
  for (const auto& [file, format] : {std::pair{o.svg, VectorFormat::Svg},
                                     {o.pdf, VectorFormat::Pdf},
                                     {o.dpi == 300 ? std::string() : o.png, VectorFormat::Png}}) {
    if (file.empty() || !ctx.drawing) continue;
    // The vector writers come with their module, opened by the first export only.
    if (!vectors) vectors = plotane::loadModuleTable<plotane::ExportModule>("export", error);
    if (!vectors ||
        !vectors->exportDrawing(*ctx.drawing, format, file, o.dpi, error, host.writeFaults())) {
      std::fprintf(stderr, "plotane: cannot write %s: %s\n", file.c_str(), error.c_str());
      return 1;
    }
  }
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // A file size limit makes a write fail (and the save report it) instead of killing us.
  std::signal(SIGXFSZ, SIG_IGN);
  Options o;
  bool done = false;
  if (!parse(argc, argv, o, done)) return 2;
  if (done) return 0;
  if (o.batch) return runBatch(argc, argv, o);

  // The desktop program lives in the toolkit module.
  std::string error;
  auto* qt = plotane::loadModuleTable<plotane::QtModule>("qt", error);
  if (!qt) {
    std::fprintf(stderr, "plotane: the windows cannot be loaded: %s\n", error.c_str());
    return 2;
  }
  return qt->runDesktop(argc, argv, plotane::DesktopOptions{o.printTo, o.params});
}
