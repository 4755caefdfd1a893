#pragma once
// Whole files as bytes, for checking what was written and for writing damaged copies.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace plotane::test {

// The file's bytes; empty when it cannot be read.
inline std::vector<uint8_t> readBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The file as text, bytes unchanged; empty when it cannot be read.
inline std::string readText(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream out(name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace plotane::test
