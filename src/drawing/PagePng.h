#pragma once
// The page as a 1-bit PNG file (the batch mode's --png).

#include <cstdint>
#include <string>
#include <vector>

namespace plotane {

class Drawing;
struct WriteFaults;

// The PNG image of the page bits (3000 rows of 300 bytes, set bit black, high bit leftmost): a
// 1-bit palette image of 2400 x 3000 pixels, ink black on white, marked 300 dots per inch. Short
// page bits leave the missing rows white. Empty when the encoder fails (`error` says why).
std::vector<uint8_t> PagePngImage(const std::vector<uint8_t>& pageBits, std::string& error);

// Writes PagePngImage to the file. The file is replaced only when the whole image is written;
// false with `error` set otherwise.
bool WritePagePng(const std::vector<uint8_t>& pageBits, const std::string& fileName,
                  std::string& error, WriteFaults* faults = nullptr);

// The same image of the drawing's raster, read in place (no copy of the page is made).
std::vector<uint8_t> PagePngImage(const Drawing& drawing, std::string& error);
bool WritePagePng(const Drawing& drawing, const std::string& fileName, std::string& error,
                  WriteFaults* faults = nullptr);

}  // namespace plotane
