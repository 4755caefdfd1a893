#pragma once
// Shared pieces of the fuzz targets: a Host that shows nothing and declines every question, and
// a private working folder per fuzzing process into which each input is written as a file.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/base/Host.h"

namespace plotane::fuzz {

// Answers No (Cancel where offered), cancels every prompt, keeps no record.
class QuietHost : public Host {
 public:
  void message(const std::string&, const std::string& = {}) override {}
  Answer ask(const std::string&, bool withCancel = false, const std::string& = {}) override {
    return withCancel ? Answer::Cancel : Answer::No;
  }
  void beep() override {}
  void setBusy(bool) override {}
  bool askReal(const std::string&, double&) override { return false; }
  bool askName(const std::string&, std::string&) override { return false; }
  void showLog() override {}
  // A fixed clock keeps runs of the same input identical.
  ClockStamp now() override { return {1996, 5, 17, 14, 30}; }
  bool printPage(const std::vector<uint8_t>&, const std::string&, bool) override { return false; }
  // Fuzzing looks for crashes, not for durability: no sync per store operation.
  bool syncEachStoreOperation() override { return false; }
};

// The process's own fresh folder, made the working directory at start and removed at exit, so
// that the files a target writes never meet those of another process or of the user.
class WorkFolder {
 public:
  // Called from LLVMFuzzerInitialize, before libFuzzer reads its arguments: the corpus folders,
  // input files and output paths given relative to the starting folder are made absolute first,
  // so that they keep naming the same files after the change of folder.
  static void enter(int* argc, char*** argv) {
    static std::vector<std::string> args;
    static std::vector<char*> pointers;
    const std::string start = std::filesystem::current_path().string() + "/";
    auto absolute = [&](const std::string& p) { return p.empty() || p[0] == '/' ? p : start + p; };
    bool prefixed = false;
    for (int i = 0; i < *argc; ++i) {
      std::string a = (*argv)[i];
      if (i > 0 && !a.empty() && a[0] != '-') {
        a = absolute(a);
      } else {
        for (std::string flag :
             {"-artifact_prefix=", "-exact_artifact_path=", "-dict=", "-features_dir=",
              "-merge_control_file=", "-seed_inputs=", "-stop_file="}) {
          if (a.size() > flag.size() && a.compare(0, flag.size(), flag) == 0)
            a = flag + absolute(a.substr(flag.size()));
        }
        prefixed |= a.rfind("-artifact_prefix=", 0) == 0;
      }
      args.push_back(a);
    }
    // Findings go to the starting folder, as they would without the change of folder.
    if (!prefixed) args.push_back("-artifact_prefix=" + start);
    for (std::string& a : args) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    *argc = int(args.size());
    *argv = pointers.data();
    enter();
  }
  static void enter() {
    static WorkFolder folder;
    (void)folder;
  }
  // Removes every file the last input left behind.
  static void clear() {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(".", ec))
      std::filesystem::remove_all(e.path(), ec);
  }

 private:
  WorkFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "plotane-fuzz-XXXXXX").string();
    if (!mkdtemp(tmpl.data()) || chdir(tmpl.c_str()) != 0) {
      std::perror("plotane fuzz: cannot make a working folder");
      std::abort();
    }
    path_ = tmpl;
  }
  ~WorkFolder() {
    std::error_code ec;
    if (chdir("/") == 0) std::filesystem::remove_all(path_, ec);
  }
  std::string path_;
};

// Writes the input as a file of the working folder.
inline bool writeInput(const std::string& name, const uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return false;
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace plotane::fuzz
