#include "LhaCrc16.h"

#include <array>

namespace {

constexpr std::array<uint16_t, 256> makeTable() {
  std::array<uint16_t, 256> t{};
  for (unsigned i = 0; i < 256; ++i) {
    uint16_t c = uint16_t(i);
    for (int k = 0; k < 8; ++k) c = (c & 1) ? uint16_t((c >> 1) ^ 0xA001) : uint16_t(c >> 1);
    t[i] = c;
  }
  return t;
}

constexpr std::array<uint16_t, 256> Table = makeTable();

}  // namespace

uint16_t LhaCrc16(const uint8_t* data, size_t size, uint16_t crc) {
  for (size_t i = 0; i < size; ++i) crc = uint16_t(Table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8));
  return crc;
}
