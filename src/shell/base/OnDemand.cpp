#include "shell/base/OnDemand.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "shell/base/Files.h"

#ifndef PLOTANE_MODULE_FOLDER
#define PLOTANE_MODULE_FOLDER "lib/plotane"
#endif

namespace plotane {

namespace {
// Where an installed program's modules are, from the installation prefix (the program is in
// <prefix>/bin).
constexpr const char* kInstalledModuleFolder = PLOTANE_MODULE_FOLDER;
}  // namespace

std::string programFolder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  std::string exe(path, std::size_t(n));
  const std::size_t slash = exe.rfind('/');
  return slash == std::string::npos ? std::string() : exe.substr(0, slash == 0 ? 1 : slash);
}

std::vector<std::string> moduleCandidates(const std::string& name) {
  const std::string file = "libplotane_" + name + ".so";
  std::vector<std::string> out;
  const std::string here = programFolder();
  if (!here.empty()) {
    out.push_back(here + "/" + file);
    const std::size_t slash = here.rfind('/');
    const std::string prefix = slash == std::string::npos ? "." : here.substr(0, slash);
    out.push_back(prefix + "/" + kInstalledModuleFolder + "/" + file);
  }
  return out;
}

const void* loadModule(const std::string& name, std::size_t minSize, std::string& error) {
  std::string why;
  for (const std::string& path : moduleCandidates(name)) {
    if (!fileExists(path)) continue;
    // Local binding: a module's symbols never stand in for the program's.
    void* lib = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
      const char* e = ::dlerror();
      why = e ? e : "cannot load " + path;
      continue;
    }
    using Entry = const void* (*)();
    const std::string symbol = "plotane_" + name + "_module";
    auto entry = reinterpret_cast<Entry>(::dlsym(lib, symbol.c_str()));
    const void* table = entry ? entry() : nullptr;
    std::size_t size = 0;
    if (table) std::memcpy(&size, table, sizeof size);
    if (!table || size < minSize) {
      why = path + " is not a module of this program";
      continue;  // kept open: a library's constructors may not be undone safely
    }
    return table;
  }
  error = why.empty() ? "the module libplotane_" + name + ".so is not installed" : why;
  return nullptr;
}

}  // namespace plotane
