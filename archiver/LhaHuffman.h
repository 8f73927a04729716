// Static Huffman tables of the -lh5- family: code lengths (at most 16 bits), canonical codes,
// and table-driven decoding.
#pragma once
#include <cstdint>
#include <vector>

#include "LhaBits.h"

constexpr int LhaMaxCodeLength = 16;

// Code lengths for the given frequencies, none longer than maxLength. Symbols with frequency 0
// get length 0. With fewer than two used symbols the lengths are all 0 (the caller sends such
// a table in its one-symbol form).
std::vector<uint8_t> LhaBuildLengths(const std::vector<uint32_t>& freq, int maxLength);

// Canonical codes: by increasing length, then by increasing symbol.
std::vector<uint16_t> LhaMakeCodes(const std::vector<uint8_t>& lengths);

class TLhaHuffDecoder {
 public:
  // A table whose every symbol decodes to `symbol` with no bits.
  void SetSingle(int symbol);
  // Throws ELhaError unless the lengths form a complete prefix code (one used symbol alone
  // is tolerated).
  void Build(const std::vector<uint8_t>& lengths, int lookBits);
  int Decode(TLhaBitReader& in) const {
    if (Single >= 0) return Single;
    uint32_t v = in.Peek(16);
    uint16_t e = Table[v >> (16 - LookBits)];
    if (e != 0xFFFF) {
      in.Skip(e & 31);
      return e >> 5;
    }
    return decodeLong(in, v);
  }

 private:
  int decodeLong(TLhaBitReader& in, uint32_t v) const;
  int Single = -1;
  int LookBits = 8;
  std::vector<uint16_t> Table;   // (symbol << 5) | length, 0xFFFF for longer codes
  uint32_t First[LhaMaxCodeLength + 1] = {};
  uint32_t Count[LhaMaxCodeLength + 1] = {};
  uint32_t Offset[LhaMaxCodeLength + 1] = {};
  std::vector<uint16_t> Sorted;
};
