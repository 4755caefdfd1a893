#pragma once
// Byte layout of the DSF's 128-byte records.

#include <cstdint>
#include <cstring>
#include <string>

#include "shell/base/Bytes.h"
#include "store/Series.h"

namespace plotane::dsf {

inline constexpr int kEntrySize = 31;
inline constexpr int kEntriesPerRecord = 4;
inline constexpr int kHeaderNextFree = 4;
inline constexpr int kHeaderNameTail = 6;  // length byte + 9 characters
inline constexpr std::size_t kNameTailLength = 9;
inline constexpr int kHeaderStamp = 16;
inline constexpr int kIdentityOffset = 6;
inline constexpr int kInfoDescription = 16;  // length byte + 109 characters
inline constexpr int kInfoXRecord = 126;

inline constexpr uint8_t kHeaderKind = 3;
inline constexpr uint8_t kDirRecordKind = 0;
inline constexpr uint8_t kSeriesHeaderKind = 1;
inline constexpr uint8_t kSeriesDataKind = 2;

inline int entryOffset(int slot) { return 4 + kEntrySize * slot; }
inline uint16_t link(const uint8_t* rec) { return getU16(rec); }
inline void setLink(uint8_t* rec, uint16_t v) { putU16(rec, v); }

// A DsDirRecord with four free slots.
inline void emptyDirRecord(uint8_t* rec, uint16_t linkTo) {
  std::memset(rec, 0, 128);
  setLink(rec, linkTo);
  rec[3] = kDirRecordKind;
  for (int i = 0; i < kEntriesPerRecord; ++i) putU16(rec + entryOffset(i), kNoRecord);
}

inline void putEntry(uint8_t* rec, int slot, uint16_t record, const std::string& name,
                     uint8_t kind) {
  uint8_t* p = rec + entryOffset(slot);
  std::memset(p, 0, kEntrySize);
  putU16(p, record);
  putPString(p + 2, kComponentLength, name);
  p[30] = kind;
}

inline void putStamp(uint8_t* p, const SaveStamp& s) {
  putU16(p, s.year);
  p[2] = s.month;
  p[3] = s.day;
  p[4] = s.hour;
  p[5] = s.minute;
}

inline SaveStamp getStamp(const uint8_t* p) {
  SaveStamp s;
  s.year = getU16(p);
  s.month = p[2];
  s.day = p[3];
  s.hour = p[4];
  s.minute = p[5];
  return s;
}

// SeriesInfo into bytes 4..127 of a SeriesHeaderRecord.
inline void putInfo(uint8_t* rec, const SeriesInfo& in) {
  putI16(rec + 4, in.base);
  putI16(rec + 6, in.highest);
  rec[8] = uint8_t(in.firstSlot);
  rec[9] = in.reserved;
  putStamp(rec + 10, in.stamp);
  std::memset(rec + kInfoDescription, 0, 1 + kDescriptionLength);
  putPString(rec + kInfoDescription, kDescriptionLength, in.description);
  putU16(rec + kInfoXRecord, in.xRecord);
}

}  // namespace plotane::dsf
