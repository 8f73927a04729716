#include "LhaHuffman.h"

#include <algorithm>
#include <queue>

#include "LhaError.h"

namespace {

// Plain Huffman depths; may exceed the limit, the caller retries with flattened counts.
std::vector<uint8_t> huffmanDepths(const std::vector<uint32_t>& freq) {
  const int n = int(freq.size());
  std::vector<int> parent(2 * n, -1);
  using Node = std::pair<uint64_t, int>;
  std::priority_queue<Node, std::vector<Node>, std::greater<Node>> heap;
  for (int i = 0; i < n; ++i)
    if (freq[i]) heap.push({freq[i], i});
  int next = n;
  while (heap.size() > 1) {
    Node a = heap.top();
    heap.pop();
    Node b = heap.top();
    heap.pop();
    parent[a.second] = next;
    parent[b.second] = next;
    heap.push({a.first + b.first, next});
    ++next;
  }
  std::vector<uint8_t> len(n, 0);
  for (int i = 0; i < n; ++i) {
    if (!freq[i]) continue;
    int d = 0;
    for (int p = parent[i]; p >= 0; p = parent[p]) ++d;
    len[i] = uint8_t(std::min(d, 255));
  }
  return len;
}

}  // namespace

std::vector<uint8_t> LhaBuildLengths(const std::vector<uint32_t>& freq, int maxLength) {
  int used = int(std::count_if(freq.begin(), freq.end(), [](uint32_t f) { return f != 0; }));
  if (used < 2) return std::vector<uint8_t>(freq.size(), 0);
  std::vector<uint32_t> f = freq;
  for (;;) {
    std::vector<uint8_t> len = huffmanDepths(f);
    if (*std::max_element(len.begin(), len.end()) <= maxLength) return len;
    // Too deep: flatten the counts and try again. Converges because equal counts give a
    // balanced tree, and 510 symbols fit in 9 bits.
    for (auto& x : f)
      if (x) x = (x >> 1) | 1;
  }
}

std::vector<uint16_t> LhaMakeCodes(const std::vector<uint8_t>& lengths) {
  uint32_t count[LhaMaxCodeLength + 2] = {};
  for (uint8_t l : lengths) count[l]++;
  count[0] = 0;
  uint32_t next[LhaMaxCodeLength + 2] = {};
  uint32_t code = 0;
  for (int l = 1; l <= LhaMaxCodeLength; ++l) {
    code = (code + count[l - 1]) << 1;
    next[l] = code;
  }
  std::vector<uint16_t> codes(lengths.size(), 0);
  for (size_t i = 0; i < lengths.size(); ++i)
    if (lengths[i]) codes[i] = uint16_t(next[lengths[i]]++);
  return codes;
}

void TLhaHuffDecoder::SetSingle(int symbol) { Single = symbol; }

void TLhaHuffDecoder::Build(const std::vector<uint8_t>& lengths, int lookBits) {
  Single = -1;
  LookBits = lookBits;
  std::fill(std::begin(Count), std::end(Count), 0);
  int used = 0, lastUsed = 0;
  for (size_t i = 0; i < lengths.size(); ++i) {
    if (lengths[i] > LhaMaxCodeLength) throw ELhaError(LhaBadArchive, "Tabla de códigos dañada.");
    if (lengths[i]) {
      Count[lengths[i]]++;
      ++used;
      lastUsed = int(i);
    }
  }
  if (used == 0) throw ELhaError(LhaBadArchive, "Tabla de códigos vacía.");
  if (used == 1) {
    // Some writers send a lone symbol with a real length instead of the one-symbol form.
    Table.assign(size_t(1) << LookBits, 0xFFFF);
    int len = lengths[lastUsed];
    // Its code is all zeros; anything else is damage.
    uint32_t span = len <= LookBits ? (1u << (LookBits - len)) : 1;
    if (len <= LookBits)
      for (uint32_t k = 0; k < span; ++k) Table[k] = uint16_t((lastUsed << 5) | len);
  } else {
    uint64_t kraft = 0;
    for (int l = 1; l <= LhaMaxCodeLength; ++l) kraft += uint64_t(Count[l]) << (LhaMaxCodeLength - l);
    if (kraft != (uint64_t(1) << LhaMaxCodeLength))
      throw ELhaError(LhaBadArchive, "Tabla de códigos dañada.");
  }
  uint32_t code = 0, offset = 0;
  for (int l = 1; l <= LhaMaxCodeLength; ++l) {
    code = (code + Count[l - 1]) << 1;  // Count[0] stays 0
    First[l] = code;
    Offset[l] = offset;
    offset += Count[l];
  }
  Sorted.assign(offset, 0);
  uint32_t fill[LhaMaxCodeLength + 1];
  std::copy(std::begin(Offset), std::end(Offset), fill);
  for (size_t i = 0; i < lengths.size(); ++i)
    if (lengths[i]) Sorted[fill[lengths[i]]++] = uint16_t(i);
  if (used == 1) return;
  Table.assign(size_t(1) << LookBits, 0xFFFF);
  std::vector<uint16_t> codes = LhaMakeCodes(lengths);
  for (size_t i = 0; i < lengths.size(); ++i) {
    int len = lengths[i];
    if (!len || len > LookBits) continue;
    uint32_t start = uint32_t(codes[i]) << (LookBits - len);
    uint32_t span = 1u << (LookBits - len);
    for (uint32_t k = 0; k < span; ++k) Table[start + k] = uint16_t((i << 5) | len);
  }
}

int TLhaHuffDecoder::decodeLong(TLhaBitReader& in, uint32_t v) const {
  for (int l = LookBits + 1; l <= LhaMaxCodeLength; ++l) {
    uint32_t code = v >> (LhaMaxCodeLength - l);
    if (Count[l] && code - First[l] < Count[l]) {
      in.Skip(l);
      return Sorted[Offset[l] + code - First[l]];
    }
  }
  throw ELhaError(LhaBadArchive, "Código no válido en los datos comprimidos.");
}
