// Byte coding of the TVF format: little-endian fixed-width integers and LEB128 varints.
// Encoders append to a std::string or write to a raw pointer that has room; decoders never read past the
// end they are given and report a short or overlong input with a false result.
#ifndef TVF_CODING_H
#define TVF_CODING_H

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tvf {

// The longest varint of a 32-bit value.
inline constexpr int kMaxVarint32Length = 5;

inline void PutFixed32(std::string *out, uint32_t v) {
  char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
  out->append(b, 4);
}

inline void PutFixed64(std::string *out, uint64_t v) {
  PutFixed32(out, static_cast<uint32_t>(v));
  PutFixed32(out, static_cast<uint32_t>(v >> 32));
}

inline void EncodeFixed32(char *p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(v >> (8 * i));
}

inline void EncodeFixed64(char *p, uint64_t v) {
  EncodeFixed32(p, static_cast<uint32_t>(v));
  EncodeFixed32(p + 4, static_cast<uint32_t>(v >> 32));
}

inline uint32_t DecodeFixed32(const char *p) {
  const auto *u = reinterpret_cast<const unsigned char *>(p);
  return uint32_t{u[0]} | uint32_t{u[1]} << 8 | uint32_t{u[2]} << 16 | uint32_t{u[3]} << 24;
}

inline uint64_t DecodeFixed64(const char *p) {
  return uint64_t{DecodeFixed32(p)} | uint64_t{DecodeFixed32(p + 4)} << 32;
}

// Writes v at p (which has room for kMaxVarint32Length bytes) and returns the end of what was written.
inline char *EncodeVarint32(char *p, uint32_t v) {
  auto *u = reinterpret_cast<unsigned char *>(p);
  while (v >= 0x80) {
    *u++ = static_cast<unsigned char>(v | 0x80);
    v >>= 7;
  }
  *u++ = static_cast<unsigned char>(v);
  return reinterpret_cast<char *>(u);
}

// Reads a varint from [p, limit) into *v; returns the position after it, or nullptr when the input ends
// early or the value does not fit 32 bits.
inline const char *DecodeVarint32(const char *p, const char *limit, uint32_t *v) {
  uint32_t result = 0;
  for (int shift = 0; shift <= 28 && p < limit; shift += 7) {
    uint32_t byte = static_cast<unsigned char>(*p++);
    if (shift == 28 && byte > 0x0f) return nullptr;
    result |= (byte & 0x7f) << shift;
    if (byte < 0x80) {
      *v = result;
      return p;
    }
  }
  return nullptr;
}

// A cursor over a byte range for parsing structured sections; every Get fails once the input is
// exhausted and leaves the cursor failed, so a parser can check once at the end of a group of reads.
class ByteReader {
 public:
  ByteReader(const char *data, size_t size) : p_(data), limit_(data + size) {}

  bool ok() const { return ok_; }
  size_t remaining() const { return static_cast<size_t>(limit_ - p_); }

  uint8_t GetByte() {
    if (!Need(1)) return 0;
    return static_cast<unsigned char>(*p_++);
  }
  uint32_t GetFixed32() {
    if (!Need(4)) return 0;
    uint32_t v = DecodeFixed32(p_);
    p_ += 4;
    return v;
  }
  uint64_t GetFixed64() {
    if (!Need(8)) return 0;
    uint64_t v = DecodeFixed64(p_);
    p_ += 8;
    return v;
  }
  // A string of `length` bytes; an empty view when the input is too short.
  std::string_view GetBytes(size_t length) {
    if (!Need(length)) return {};
    std::string_view s(p_, length);
    p_ += length;
    return s;
  }
  // A string with a one-byte length prefix.
  std::string_view GetShortString() { return GetBytes(GetByte()); }

 private:
  bool Need(size_t n) {
    if (!ok_ || remaining() < n) {
      ok_ = false;
      return false;
    }
    return true;
  }

  const char *p_;
  const char *limit_;
  bool ok_ = true;
};

// Appends a string of at most 255 bytes with its one-byte length prefix.
inline void PutShortString(std::string *out, std::string_view s) {
  out->push_back(static_cast<char>(s.size()));
  out->append(s.data(), s.size());
}

}  // namespace tvf

#endif
