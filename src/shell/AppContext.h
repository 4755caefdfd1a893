#pragma once
// The one application context: it owns every subsystem's state, so that nothing else in the
// program is mutable global state and every test can start from a fresh context.

#include <string>

#include "shell/base/Host.h"
#include "shell/base/LogModel.h"

namespace plotane {

class AppContext {
 public:
  // The store's state is initialised first, then the other subsystems, as at start-up.
  explicit AppContext(Host& host);
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  Host& host;
  LogModel log;

  // True while one script statement executes: windows skip their questions then.
  bool ScriptRunning = false;

  // Window selection: one work window maximised, the others normal. SHOWDRAWING re-creates a
  // discarded drawing first.
  void SHOWWORKSHEET();
  void SHOWGRAPHDEFS();
  void SHOWDRAWING();
};

// Product name and version, as shown in the main window's caption and by --version.
std::string productName();
std::string productVersion();

}  // namespace plotane
