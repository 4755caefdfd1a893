#pragma once
// Libraries loaded only when something needs them. The plotane program itself links the model
// alone, so that a script that needs no window starts like a plain command-line program; the
// toolkit (the desktop program and batch mode's platform fonts and page printing) and any other
// heavy dependency live in modules opened with dlopen on first use.
//
// A module NAME is the shared library libplotane_NAME.so. It is looked for beside the running
// program (the build tree), then in the program's installed module folder (<prefix>/lib/plotane,
// see kInstalledModuleFolder). It exports one C function, plotane_NAME_module, that returns its
// entry table: a struct of function pointers whose first member is its size in bytes (so that an
// older module is refused instead of called past its end). The table's type is declared in a
// Qt-free header both sides include.

#include <cstddef>
#include <string>
#include <vector>

namespace plotane {

// The folder of the running program (no trailing slash); empty when it cannot be told.
std::string programFolder();

// The files module NAME is looked for in, first found first used.
std::vector<std::string> moduleCandidates(const std::string& name);

// Opens module NAME (at most once per process: the system keeps it open) and returns its entry
// table when that is at least minSize bytes; null with `error` set when no candidate loads, the
// entry is missing or the table too small.
const void* loadModule(const std::string& name, std::size_t minSize, std::string& error);

// The typed form: Table's first member is `std::size_t size`.
template <class Table>
const Table* loadModuleTable(const std::string& name, std::string& error) {
  return static_cast<const Table*>(loadModule(name, sizeof(Table), error));
}

}  // namespace plotane
