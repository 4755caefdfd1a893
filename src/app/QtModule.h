#pragma once
// The entry table of the toolkit module (libplotane_qt.so, loaded on demand:
// shell/base/OnDemand.h): the desktop program, and the toolkit services batch mode needs only for
// some scripts. Qt-free, so that the plotane program can include it without linking the toolkit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/base/Host.h"

namespace plotane {

// Batch mode's use of the toolkit, made when a script first needs it (no window is ever shown).
class BatchToolkit {
 public:
  virtual ~BatchToolkit() = default;
  // A platform letter font (Host::platformText).
  virtual bool platformText(const PlatformTextRequest& request, PlatformTextResult& result) = 0;
  // The page through the platform's printing service with no dialog: the default printer, or
  // the PDF of the page in toFile. False with `error` set (possibly empty) when nothing printed.
  virtual bool printPage(const std::vector<uint8_t>& pageBits, const std::string& toFile,
                         bool landscape, std::string& error) = 0;
};

struct DesktopOptions {
  std::string printTo;              // --print-to
  std::vector<std::string> params;  // NAME and P2 .. P9
};

struct QtModule {
  std::size_t size;  // sizeof(QtModule) of the module's build
  // The desktop program; returns the exit code. argc must outlive the call.
  int (*runDesktop)(int& argc, char** argv, const DesktopOptions& options);
  // The toolkit for batch mode (the caller owns it); argc must outlive it.
  BatchToolkit* (*openBatchToolkit)(int& argc, char** argv);
};

}  // namespace plotane
