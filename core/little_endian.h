#pragma once
// Little-endian integers at raw byte pointers, for the frame loops that read
// and write animation data in place (ByteReader and ByteWriter serve files
// read and built in sequence).

#include <cstdint>

namespace mok {

inline std::uint16_t LoadLittle16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(std::uint16_t{p[0]} | std::uint16_t{p[1]} << 8);
}

inline std::uint32_t LoadLittle32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

// The low `bytes` bytes of value, lowest first.
inline void StoreLittle(std::uint8_t* p, std::uint32_t value, int bytes) {
  for (int k = 0; k < bytes; ++k) p[k] = static_cast<std::uint8_t>(value >> (8 * k));
}

}  // namespace mok
