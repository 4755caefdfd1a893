#pragma once
// The page as a 1-bit PNG file (the batch mode's --png).

#include <cstdint>
#include <string>
#include <vector>

namespace plotane {

struct WriteFaults;

// Writes the page bits (3000 rows of 300 bytes, set bit black) as a 1-bit PNG of 2400 x 3000
// pixels, ink black on white. The file is replaced only when the whole image is written; false
// with `error` set otherwise.
bool WritePagePng(const std::vector<uint8_t>& pageBits, const std::string& fileName,
                  std::string& error, WriteFaults* faults = nullptr);

}  // namespace plotane
