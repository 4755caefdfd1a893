#include "shell/base/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace plotane {

namespace fs = std::filesystem;

bool fileExists(const std::string& name) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(name), ec);
}

std::string resolveFileName(const std::string& given) {
  if (given.empty()) return given;
  std::error_code ec;
  fs::path p(given);
  if (fs::exists(p, ec)) return given;
  fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
  std::string want = upperCase(p.filename().string());
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (upperCase(it->path().filename().string()) == want) {
      return p.has_parent_path() ? (p.parent_path() / it->path().filename()).string()
                                 : it->path().filename().string();
    }
  }
  return given;
}

bool readWholeFile(const std::string& name, std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) {
    error = std::string("cannot open file: ") + std::strerror(errno);
    return false;
  }
  uint8_t buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  bool bad = std::ferror(f) != 0;
  std::fclose(f);
  if (bad) {
    error = "read failed";
    return false;
  }
  return true;
}

bool writeWholeFile(const std::string& name, const std::vector<uint8_t>& data, std::string& error) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) {
    error = std::string("cannot create file: ") + std::strerror(errno);
    return false;
  }
  bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) error = "write failed";
  return ok;
}

std::string withDefaultExtension(const std::string& name, const std::string& ext) {
  fs::path p(name);
  if (p.has_extension()) return name;
  return name + ext;
}

std::string upperCase(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

bool sameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && upperCase(a) == upperCase(b);
}

}  // namespace plotane
