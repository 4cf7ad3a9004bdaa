#pragma once
// Little-endian writer into a growing byte buffer; files are built in memory
// and then written in one go (see file_io.h).

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace mok {

class ByteWriter {
 public:
  void u8(std::uint8_t v) { bytes_.push_back(v); }
  void u16(std::uint16_t v) { little(v, 2); }
  void i16(std::int16_t v) { little(static_cast<std::uint16_t>(v), 2); }
  void u32(std::uint32_t v) { little(v, 4); }
  void i32(std::int32_t v) { little(static_cast<std::uint32_t>(v), 4); }
  void f32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
  }
  void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  void raw(const void* data, std::size_t count) {
    auto p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + count);
  }
  void text(std::string_view s) { raw(s.data(), s.size()); }
  // s cut to fieldWidth - 1 characters, then zero bytes up to fieldWidth.
  void fixedString(std::string_view s, std::size_t fieldWidth) {
    std::size_t n = s.size() < fieldWidth ? s.size() : fieldWidth - 1;
    raw(s.data(), n);
    zeros(fieldWidth - n);
  }

  std::size_t size() const { return bytes_.size(); }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  void little(std::uint32_t v, int count) {
    for (int i = 0; i < count; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  std::vector<std::uint8_t> bytes_;
};

}  // namespace mok
