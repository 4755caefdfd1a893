#pragma once
// Little-endian field access for the binary file formats. Records are read and written field by
// field through these, never by copying structs.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace plotane {

inline uint16_t getU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int16_t getI16(const uint8_t* p) { return int16_t(getU16(p)); }
inline uint32_t getU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t getI32(const uint8_t* p) { return int32_t(getU32(p)); }
inline float getF32(const uint8_t* p) {
  uint32_t u = getU32(p);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
inline double getF64(const uint8_t* p) {
  uint64_t u = uint64_t(getU32(p)) | (uint64_t(getU32(p + 4)) << 32);
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

inline void putU16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void putI16(uint8_t* p, int16_t v) { putU16(p, uint16_t(v)); }
inline void putU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void putI32(uint8_t* p, int32_t v) { putU32(p, uint32_t(v)); }
inline void putF32(uint8_t* p, float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  putU32(p, u);
}
inline void putF64(uint8_t* p, double d) {
  uint64_t u;
  std::memcpy(&u, &d, 8);
  putU32(p, uint32_t(u));
  putU32(p + 4, uint32_t(u >> 32));
}

// A length-prefixed string field of `capacity` characters (length byte + capacity bytes).
// The length byte is trusted only up to the capacity, so a damaged byte never reads beyond it.
inline std::string getPString(const uint8_t* p, std::size_t capacity) {
  std::size_t n = p[0];
  if (n > capacity) n = capacity;
  return std::string(reinterpret_cast<const char*>(p + 1), n);
}
// Writes the string cut to the capacity; unused bytes of the field are left as they are.
inline void putPString(uint8_t* p, std::size_t capacity, const std::string& s) {
  std::size_t n = s.size() < capacity ? s.size() : capacity;
  p[0] = uint8_t(n);
  std::memcpy(p + 1, s.data(), n);
}

// Appending writer for building a file image in memory.
class ByteWriter {
 public:
  std::vector<uint8_t>& bytes() { return buf_; }
  const std::vector<uint8_t>& bytes() const { return buf_; }
  void u8(uint8_t v) { buf_.push_back(v); }
  void u16(uint16_t v) {
    grow(2, [&](uint8_t* p) { putU16(p, v); });
  }
  void i16(int16_t v) { u16(uint16_t(v)); }
  void u32(uint32_t v) {
    grow(4, [&](uint8_t* p) { putU32(p, v); });
  }
  void i32(int32_t v) { u32(uint32_t(v)); }
  void f32(float v) {
    grow(4, [&](uint8_t* p) { putF32(p, v); });
  }
  void f64(double v) {
    grow(8, [&](uint8_t* p) { putF64(p, v); });
  }
  void raw(const void* data, std::size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(data);
    buf_.insert(buf_.end(), b, b + n);
  }
  void zeros(std::size_t n) { buf_.insert(buf_.end(), n, 0); }

 private:
  template <class F>
  void grow(std::size_t n, F f) {
    buf_.resize(buf_.size() + n);
    f(buf_.data() + buf_.size() - n);
  }
  std::vector<uint8_t> buf_;
};

// Bounds-checked reader over a file image: reading past the end yields zeros and sets failed(),
// so a truncated file is detected after the fact without any read beyond the buffer.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, std::size_t size) : p_(data), size_(size) {}
  explicit ByteReader(const std::vector<uint8_t>& v) : ByteReader(v.data(), v.size()) {}
  bool failed() const { return failed_; }
  std::size_t pos() const { return pos_; }
  std::size_t remaining() const { return size_ - pos_; }
  bool atEnd() const { return pos_ >= size_; }
  void seek(std::size_t pos) {
    if (pos > size_) {
      failed_ = true;
      pos_ = size_;
    } else {
      pos_ = pos;
    }
  }
  const uint8_t* take(std::size_t n) {
    if (n > size_ - pos_) {
      failed_ = true;
      pos_ = size_;
      return nullptr;
    }
    const uint8_t* r = p_ + pos_;
    pos_ += n;
    return r;
  }
  uint8_t u8() {
    const uint8_t* q = take(1);
    return q ? q[0] : 0;
  }
  uint16_t u16() {
    const uint8_t* q = take(2);
    return q ? getU16(q) : 0;
  }
  int16_t i16() { return int16_t(u16()); }
  uint32_t u32() {
    const uint8_t* q = take(4);
    return q ? getU32(q) : 0;
  }
  int32_t i32() { return int32_t(u32()); }
  float f32() {
    const uint8_t* q = take(4);
    return q ? getF32(q) : 0.0f;
  }
  double f64() {
    const uint8_t* q = take(8);
    return q ? getF64(q) : 0.0;
  }

 private:
  const uint8_t* p_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace plotane
