// Bit streams of the -lh5- family: values are sent most significant bit first and bytes fill
// from bit 7 down.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class TLhaBitWriter {
 public:
  explicit TLhaBitWriter(std::vector<uint8_t>& out) : Out(out) {}
  // bits <= 24
  void Put(uint32_t value, int bits) {
    if (bits == 0) return;
    Acc = (Acc << bits) | (value & ((1u << bits) - 1));
    Count += bits;
    while (Count >= 8) {
      Count -= 8;
      Out.push_back(uint8_t(Acc >> Count));
    }
  }
  // Completes the last byte with zero bits.
  void Flush() {
    if (Count > 0) Out.push_back(uint8_t(Acc << (8 - Count)));
    Count = 0;
  }

 private:
  std::vector<uint8_t>& Out;
  uint64_t Acc = 0;
  int Count = 0;
};

// Reads past the end as zero bits and counts them, so a truncated stream is found by
// Overrun() instead of by a read out of bounds.
class TLhaBitReader {
 public:
  TLhaBitReader(const uint8_t* data, size_t size) : Data(data), Size(size) {}
  // bits in 1..16
  uint32_t Peek(int bits) {
    if (Count < bits) fill();
    return uint32_t(Acc >> (64 - bits));
  }
  void Skip(int bits) {
    Acc <<= bits;
    Count -= bits;
    Consumed += uint64_t(bits);
  }
  uint32_t Get(int bits) {
    if (bits == 0) return 0;
    uint32_t v = Peek(bits);
    Skip(bits);
    return v;
  }
  bool Overrun() const { return Consumed > uint64_t(Size) * 8; }

 private:
  void fill() {
    while (Count <= 56) {
      uint8_t b = Pos < Size ? Data[Pos] : 0;
      ++Pos;
      Acc |= uint64_t(b) << (56 - Count);
      Count += 8;
    }
  }
  const uint8_t* Data;
  size_t Size;
  size_t Pos = 0;
  uint64_t Acc = 0;
  int Count = 0;
  uint64_t Consumed = 0;
};
