// CRC-16 of LHA archives: polynomial 0x8005 reflected (0xA001), start 0, no final xor.
// Used for member data and for the level-2 header CRC alike.
#pragma once
#include <cstddef>
#include <cstdint>

uint16_t LhaCrc16(const uint8_t* data, size_t size, uint16_t crc = 0);
