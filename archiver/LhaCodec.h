// The -lh5- compressor and the -lh5-/-lh6-/-lh7- decompressor: LZSS with static Huffman blocks.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Window size in bits for a compressed method id, or 0 when it is not one we decode.
int LhaDictBits(const std::string& method);

// Compresses with -lh5- (8 KiB window). The result has the exact size readers insist on:
// no trailing byte and no empty block.
std::vector<uint8_t> Lh5Encode(const uint8_t* data, size_t size);

// Decodes a compressed member piece by piece, so a member that claims a huge original size
// never needs that much memory.
class TLhaDecoder {
 public:
  TLhaDecoder(const uint8_t* data, size_t size, int dictBits);
  ~TLhaDecoder();
  // Produces exactly n more bytes; throws ELhaError when the stream is damaged or too short.
  void Decode(uint8_t* out, size_t n);

 private:
  struct TState;
  std::unique_ptr<TState> S;
};
