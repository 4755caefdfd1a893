// The loaded-series chain and the elementary operations on one Series.

#include "store/Store.h"

#include <unistd.h>

#include <cmath>
#include <limits>

#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/LogModel.h"
#include "shell/base/Messages.h"

namespace plotane {

namespace {
const std::string kEmpty;
}

Series::~Series() {
  if (owner_) owner_->DISPOSESERIES(*this);
}

const std::string& Series::path() const { return nameBlock ? nameBlock->path : kEmpty; }

Store::Store(Host& h, LogModel& l) : host(h), log(l) {}

Store::~Store() {
  closeFile();
  // Handles outlive nothing of ours: forget them so their destructors do not call back.
  for (Series* s = head_; s;) {
    Series* next = s->link;
    s->owner_ = nullptr;
    s->link = nullptr;
    s = next;
  }
}

void Store::STOREMSG(const std::string& text) { plotane::STOREMSG(host, text); }

SaveStamp Store::stampNow() {
  ClockStamp c = host.now();
  SaveStamp st;
  st.year = uint16_t(c.year);
  st.month = uint8_t(c.month);
  st.day = uint8_t(c.day);
  st.hour = uint8_t(c.hour);
  st.minute = uint8_t(c.minute);
  return st;
}

int Store::loadedCount() const {
  int n = 0;
  for (Series* s = head_; s; s = s->link) ++n;
  return n;
}

void Store::appendLoaded(Series& s) {
  s.link = nullptr;
  s.owner_ = this;
  if (!head_) {
    head_ = tail_ = cursor_ = &s;
  } else {
    tail_->link = &s;
    tail_ = &s;
  }
}

void Store::NEWSERIES(Series& s, bool flag, const std::string& description) {
  // A handle already in the chain is emptied first, so it is never linked twice.
  if (s.owner_ == this) DISPOSESERIES(s);
  s.nameBlock = std::make_unique<SeriesNameBlock>();
  s.nameBlock->path = kNoName;
  s.reserved = 1;
  s.modified = false;
  s.info = std::make_unique<SeriesInfo>();
  s.info->reserved = flag ? 1 : 0;
  s.info->description = cut(description, kDescriptionLength);
  s.xLink = nullptr;
  s.blocks.assign(1, ValueBlock());
  appendLoaded(s);
  StoreError = false;
}

void Store::NAMEDNEWSERIES(Series& s, const std::string& name, const std::string& description) {
  if (ISLOADED(s)) DISPOSESERIES(s);
  NEWSERIES(s, false, description);
  s.nameBlock->path = cut(name, kPathLength);
}

void Store::unlink(Series& s) {
  Series* prev = nullptr;
  for (Series* p = head_; p && p != &s; p = p->link) prev = p;
  if (prev)
    prev->link = s.link;
  else
    head_ = s.link;
  if (tail_ == &s) tail_ = prev;
  cursor_ = head_;
  s.link = nullptr;
  s.owner_ = nullptr;
}

void Store::freeSeries(Series& s) {
  s.blocks.clear();
  s.blocks.shrink_to_fit();
  s.info.reset();
  s.nameBlock.reset();
  s.xLink = nullptr;
}

void Store::DISPOSESERIES(Series& s) {
  if (s.owner_ != this) return;
  unlink(s);
  freeSeries(s);
  for (Series* p = head_; p; p = p->link)
    if (p->xLink == &s) p->xLink = nullptr;
}

bool Store::ISLOADED(Series& s) {
  // Membership is recorded in the handle itself, so the answer does not need a search.
  if (s.owner_ != this) return false;
  cursor_ = &s;
  return true;
}

void Store::COPYSERIES(Series& dest, Series& src) {
  if (!ISLOADED(src)) {
    StoreError = true;
    return;
  }
  if (&dest == &src) {
    src.info->stamp = SaveStamp{};
    src.modified = true;
    return;
  }
  if (ISLOADED(dest)) DISPOSESERIES(dest);
  NEWSERIES(dest, false, "");
  *dest.info = *src.info;
  dest.info->stamp = SaveStamp{};
  dest.blocks = src.blocks;
  dest.modified = true;
}

void Store::MOVESERIES(Series& dest, Series& src) {
  if (!ISLOADED(src)) {
    StoreError = true;
    return;
  }
  if (&dest == &src) return;
  if (ISLOADED(dest)) DISPOSESERIES(dest);
  // dest takes src's place in the chain.
  Series* prev = nullptr;
  for (Series* p = head_; p && p != &src; p = p->link) prev = p;
  if (prev)
    prev->link = &dest;
  else
    head_ = &dest;
  if (tail_ == &src) tail_ = &dest;
  if (cursor_ == &src) cursor_ = &dest;
  dest.link = src.link;
  dest.owner_ = this;
  dest.nameBlock = std::move(src.nameBlock);
  dest.reserved = src.reserved;
  dest.modified = src.modified;
  dest.info = std::move(src.info);
  dest.xLink = src.xLink;
  dest.blocks = std::move(src.blocks);
  src.blocks.clear();
  src.link = nullptr;
  src.owner_ = nullptr;
  src.xLink = nullptr;
  src.nameBlock.reset();
  src.info.reset();
  for (Series* p = head_; p; p = p->link)
    if (p->xLink == &src) p->xLink = &dest;
}

std::string Store::SERIESNAME(Series& s) {
  StoreError = !ISLOADED(s);
  return StoreError ? std::string() : s.nameBlock->path;
}

bool Store::SERIESRANGE(Series& s, int& lowest, int& highest) {
  StoreError = !ISLOADED(s);
  if (StoreError) return true;
  lowest = s.lowest();
  highest = s.highestIndex();
  return false;
}

float Store::GETVAL(Series& s, int index) {
  if (s.owner_ != this || !s.info) {
    StoreError = true;
    return MissingValue;
  }
  const SeriesInfo& in = *s.info;
  int d = index - in.base;
  if (index > in.highest || d < in.firstSlot || in.firstSlot < 0) {
    StoreError = true;
    STOREMSG("Warning, GETVAL beyond range for " + s.nameBlock->path);
    return MissingValue;
  }
  StoreError = false;
  std::size_t b = std::size_t(d / kBlockValues);
  if (b >= s.blocks.size()) return MissingValue;
  return s.blocks[b].v[d % kBlockValues];
}

void Store::PUTVAL(Series& s, int index, double value) {
  if (s.owner_ != this || !s.info) {
    StoreError = true;
    return;
  }
  SeriesInfo& in = *s.info;
  if (std::fabs(value) < kTinyValue) value = 0.0;
  // A value a single cannot hold is no value.
  float f = (std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max())
                ? float(value)
                : MissingValue;
  if (std::fabs(f) < float(kTinyValue)) f = 0.0f;
  if (index < -32768 || index > 32767) {
    StoreError = true;
    STOREMSG("Index out of range for " + s.nameBlock->path);
    return;
  }
  if (in.firstSlot < 0) {
    in.base = int16_t(index);
    in.highest = int16_t(index);
    in.firstSlot = 0;
    if (s.blocks.empty()) s.blocks.emplace_back();
    s.blocks[0].v[0] = f;
    s.modified = true;
    return;
  }
  int d = index - in.base;
  if (d < 0) {
    int q = (d - 30) / kBlockValues;  // truncates towards zero: a negative block count
    int newBase = in.base + kBlockValues * q;
    // The whole series must stay within 32767 indices of its base.
    if (newBase < -32768 || in.highest - newBase > 32767) {
      StoreError = true;
      STOREMSG("Index span too wide for " + s.nameBlock->path);
      return;
    }
    s.blocks.insert(s.blocks.begin(), std::size_t(-q), ValueBlock());
    in.base = int16_t(newBase);
    in.firstSlot = int8_t(d - kBlockValues * q);
    s.blocks[0].v[in.firstSlot] = f;
    s.modified = true;
    return;
  }
  if (d > 32767) {
    StoreError = true;
    STOREMSG("Index span too wide for " + s.nameBlock->path);
    return;
  }
  if (d < in.firstSlot) in.firstSlot = int8_t(d);
  if (index > in.highest) in.highest = int16_t(index);
  std::size_t b = std::size_t(d / kBlockValues);
  float& slot = [&]() -> float& {
    if (b >= s.blocks.size()) {
      s.blocks.resize(b + 1);
      s.modified = true;
    }
    return s.blocks[b].v[d % kBlockValues];
  }();
  if (std::bit_cast<uint32_t>(slot) != std::bit_cast<uint32_t>(f)) s.modified = true;
  slot = f;
}

bool Store::ISLEGALNAME(const std::string& name) {
  if (name.find_first_of("&*?") != std::string::npos) return false;
  std::size_t start = 0;
  while (true) {
    std::size_t dot = name.find('.', start);
    std::size_t len = (dot == std::string::npos ? name.size() : dot) - start;
    if (len > kComponentLength) return false;
    if (dot == std::string::npos) return true;
    start = dot + 1;
  }
}

}  // namespace plotane
