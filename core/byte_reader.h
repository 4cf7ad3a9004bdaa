#pragma once
// The one bounds-checked reader used by every file format.
//
// A read past the end never touches memory outside the data: it returns zero
// and marks the reader failed (sticky). Loaders check sizes up front with
// has()/remaining() and test failed() once at the end of a step.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>

namespace mok {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

  std::size_t size() const { return data_.size(); }
  std::size_t offset() const { return offset_; }
  std::size_t remaining() const { return offset_ <= data_.size() ? data_.size() - offset_ : 0; }
  bool has(std::size_t count) const { return count <= remaining(); }
  bool failed() const { return failed_; }

  // Moves to an absolute offset; an offset past the end fails the reader.
  bool seek(std::size_t position) {
    if (position > data_.size()) {
      failed_ = true;
      return false;
    }
    offset_ = position;
    return true;
  }
  bool skip(std::size_t count) {
    if (!has(count)) {
      failed_ = true;
      offset_ = data_.size();
      return false;
    }
    offset_ += count;
    return true;
  }

  std::uint8_t u8() { return static_cast<std::uint8_t>(readLittle(1)); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(readLittle(2)); }
  std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
  std::uint32_t u32() { return static_cast<std::uint32_t>(readLittle(4)); }
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  float f32() {
    std::uint32_t bits = u32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // Copies count bytes into out; on overrun fills out with zeros and fails.
  bool bytes(void* out, std::size_t count) {
    if (!has(count)) {
      std::memset(out, 0, count);
      failed_ = true;
      offset_ = data_.size();
      return false;
    }
    std::memcpy(out, data_.data() + offset_, count);
    offset_ += count;
    return true;
  }

  // A view of count bytes from here, advancing past them; empty on overrun.
  std::span<const std::uint8_t> take(std::size_t count) {
    if (!has(count)) {
      failed_ = true;
      offset_ = data_.size();
      return {};
    }
    auto part = data_.subspan(offset_, count);
    offset_ += count;
    return part;
  }

  // A reader over [position, position + count) of the same data, or nothing
  // when that range does not lie inside it.
  std::optional<ByteReader> sub(std::size_t position, std::size_t count) const {
    if (position > data_.size() || count > data_.size() - position) return std::nullopt;
    return ByteReader(data_.subspan(position, count));
  }

  // A fixed-width text field: characters up to the first zero byte, at most
  // maxChars of them; always advances by the whole field width.
  std::string fixedString(std::size_t fieldWidth, std::size_t maxChars) {
    auto field = take(fieldWidth);
    std::size_t length = 0;
    while (length < field.size() && length < maxChars && field[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(field.data()), length);
  }

  std::span<const std::uint8_t> data() const { return data_; }

 private:
  std::uint64_t readLittle(std::size_t count) {
    if (!has(count)) {
      failed_ = true;
      offset_ = data_.size();
      return 0;
    }
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= std::uint64_t(data_[offset_ + i]) << (8 * i);
    offset_ += count;
    return value;
  }

  std::span<const std::uint8_t> data_;
  std::size_t offset_ = 0;
  bool failed_ = false;
};

}  // namespace mok
