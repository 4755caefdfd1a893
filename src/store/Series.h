#pragma once
// The in-memory Series: a named, sparse sequence of singles addressed by a signed 16-bit index,
// kept in blocks of 31 values (one block per DSF data record).

#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plotane {

class Store;

// "No value": what a read outside the range returns and what fills new blocks.
inline constexpr uint32_t kMissingBits = 0x7F7FC99E;
inline constexpr float MissingValue = std::bit_cast<float>(kMissingBits);
inline bool isMissing(float v) { return std::bit_cast<uint32_t>(v) == kMissingBits; }
inline bool isMissing(double v) { return v == double(MissingValue); }

// Magnitudes below this are stored as 0 (no denormal singles are ever stored).
inline constexpr double kTinyValue = 1.2E-38;

inline constexpr int kBlockValues = 31;
inline constexpr uint16_t kNoRecord = 0xFFFF;
inline constexpr std::size_t kComponentLength = 27;
inline constexpr std::size_t kPathLength = 87;
inline constexpr std::size_t kDescriptionLength = 109;
inline constexpr std::size_t kDsfNameLength = 67;
inline constexpr const char* kNoName = "***noname***";

struct SaveStamp {
  uint16_t year = 0;
  uint8_t month = 0, day = 0, hour = 0, minute = 0;
  bool operator==(const SaveStamp&) const = default;
};

// Bytes 6..21 of the DsfHeader: the name tail and the creation stamp, which tell DSFs apart.
using DsfIdentity = std::array<uint8_t, 16>;

// Stored unchanged as bytes 4..127 of a SeriesHeaderRecord.
struct SeriesInfo {
  int16_t base = 0;       // index of slot 0 of the first block
  int16_t highest = 0;    // highest index
  int8_t firstSlot = -1;  // slot of the lowest index in the first block; -1 = no data
  uint8_t reserved = 0;
  SaveStamp stamp;
  std::string description;  // up to 109 characters: line 1 + "\" + line 2
  uint16_t xRecord = 0;     // header record of the stored X series, 0 = none
};

struct ValueBlock {
  std::array<float, kBlockValues> v;
  ValueBlock() { v.fill(MissingValue); }
};

struct SeriesNameBlock {
  uint16_t storedRecord = kNoRecord;  // SeriesHeaderRecord in the attached DSF
  std::string path;                   // the name; absolute path once stored or loaded
  DsfIdentity identity{};             // of the DSF it was stored in or loaded from
};

// One handle. Handles live at fixed addresses (the worksheet's column array); X links and the
// loaded-series chain point at them, so they are neither copied nor moved in memory.
// A handle that is destroyed while loaded takes itself out of its store first.
class Series {
 public:
  Series() = default;
  ~Series();
  Series(const Series&) = delete;
  Series& operator=(const Series&) = delete;

  // True while the handle holds a series (its name block exists).
  bool inUse() const { return nameBlock != nullptr; }

  // Lowest and highest index of a loaded series with data; (0, -1) without data.
  int lowest() const { return info && info->firstSlot >= 0 ? info->base + info->firstSlot : 0; }
  int highestIndex() const { return info && info->firstSlot >= 0 ? info->highest : -1; }
  bool hasData() const { return info && info->firstSlot >= 0; }
  const std::string& path() const;

  Series* link = nullptr;  // next in the loaded-series chain
  std::unique_ptr<SeriesNameBlock> nameBlock;
  uint8_t reserved = 1;
  bool modified = false;
  std::unique_ptr<SeriesInfo> info;
  Series* xLink = nullptr;  // the handle holding this series' X values
  // Block k holds indices base + 31k .. base + 31k + 30; a vector keeps every index one step away.
  std::vector<ValueBlock> blocks;

 private:
  friend class Store;
  Store* owner_ = nullptr;  // the store whose chain holds this handle
};

}  // namespace plotane
