#pragma once
// File helpers shared by every reader and writer.

#include <cstdint>
#include <string>
#include <vector>

namespace plotane {

// The name as given when such a file exists; otherwise a case-insensitive match in the same
// folder (data and scripts come from a case-insensitive file system); otherwise the name as given.
std::string resolveFileName(const std::string& given);

bool fileExists(const std::string& name);

// Whole-file helpers. On failure they return false and leave `error` with what failed.
bool readWholeFile(const std::string& name, std::vector<uint8_t>& out, std::string& error);
bool writeWholeFile(const std::string& name, const std::vector<uint8_t>& data, std::string& error);

// The name with `ext` (for example ".GRL") appended when it has no extension of its own.
std::string withDefaultExtension(const std::string& name, const std::string& ext);

// ASCII upper-casing, as names and patterns are compared.
std::string upperCase(std::string s);
bool sameTextIgnoringCase(const std::string& a, const std::string& b);

// Cuts a string to at most n characters (the model's length-limited strings).
inline std::string cut(const std::string& s, std::size_t n) {
  return s.size() > n ? s.substr(0, n) : s;
}

}  // namespace plotane
