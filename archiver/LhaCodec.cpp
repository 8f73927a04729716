#include "LhaCodec.h"

#include <algorithm>
#include <cstring>

#include "LhaBits.h"
#include "LhaError.h"
#include "LhaHuffman.h"

namespace {

constexpr int NC = 510;        // literal/length symbols
constexpr int NT = 19;         // pre-table symbols
constexpr int TBIT = 5;
constexpr int CBIT = 9;
constexpr int MinMatch = 3;
constexpr int MaxMatch = 256;

int methodNp(int dictBits) { return dictBits + 1; }
int methodPbit(int dictBits) { return dictBits == 13 ? 4 : 5; }

// ---- encoder ------------------------------------------------------------------------------

constexpr int Lh5DictBits = 13;
constexpr size_t Lh5Window = size_t(1) << Lh5DictBits;
constexpr int HashBits = 15;
constexpr size_t BlockSymbols = 16384;
constexpr int MaxChain = 48;
constexpr int NiceMatch = 128;

int bitLength(uint32_t v) {
  int n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

class TBlockWriter {
 public:
  explicit TBlockWriter(TLhaBitWriter& out) : Out(out) {}
  void AddLiteral(uint8_t b) { Codes.push_back(b); }
  void AddMatch(int length, uint32_t p) {
    Codes.push_back(uint16_t(length - MinMatch + 256));
    Positions.push_back(uint16_t(p));
  }
  bool Full() const { return Codes.size() >= BlockSymbols; }
  void Flush();

 private:
  void writePtLengths(const std::vector<uint8_t>& len, int nbit, bool special);
  TLhaBitWriter& Out;
  std::vector<uint16_t> Codes;
  std::vector<uint16_t> Positions;
};

int usedCount(const std::vector<uint32_t>& f, int& only) {
  int used = 0;
  only = 0;
  for (size_t i = 0; i < f.size(); ++i)
    if (f[i]) {
      ++used;
      only = int(i);
    }
  return used;
}

void TBlockWriter::writePtLengths(const std::vector<uint8_t>& len, int nbit, bool special) {
  int n = int(len.size());
  while (n > 0 && len[n - 1] == 0) --n;
  Out.Put(uint32_t(n), nbit);
  for (int i = 0; i < n;) {
    int l = len[i++];
    if (l <= 6) Out.Put(uint32_t(l), 3);
    else Out.Put((1u << (l - 3)) - 2, l - 3);
    if (special && i == 3) {
      int k = 0;
      while (k < 3 && i + k < n && len[i + k] == 0) ++k;
      Out.Put(uint32_t(k), 2);
      i += k;
    }
  }
}

// Counts how the C lengths will be sent, as T symbols (the run coding of zero lengths).
template <class Emit>
void walkCLengths(const std::vector<uint8_t>& lenC, int n, Emit emit) {
  for (int i = 0; i < n;) {
    if (lenC[i]) {
      emit(lenC[i] + 2, 0, 0);
      ++i;
      continue;
    }
    int run = 0;
    while (i + run < n && lenC[i + run] == 0) ++run;
    i += run;
    if (run <= 2) {
      for (int k = 0; k < run; ++k) emit(0, 0, 0);
    } else if (run <= 18) {
      emit(1, run - 3, 4);
    } else if (run == 19) {
      emit(0, 0, 0);
      emit(1, 15, 4);
    } else {
      emit(2, run - 20, CBIT);
    }
  }
}

int trimmed(const std::vector<uint8_t>& len) {
  int n = int(len.size());
  while (n > 0 && len[n - 1] == 0) --n;
  return n;
}

void TBlockWriter::Flush() {
  if (Codes.empty()) return;
  std::vector<uint32_t> freqC(NC, 0), freqP(methodNp(Lh5DictBits), 0);
  for (uint16_t c : Codes) freqC[c]++;
  for (uint16_t p : Positions) freqP[p < 2 ? p : bitLength(p)]++;
  Out.Put(uint32_t(Codes.size()), 16);

  int onlyC = 0;
  std::vector<uint8_t> lenC = LhaBuildLengths(freqC, 16);
  std::vector<uint16_t> codeC = LhaMakeCodes(lenC);
  if (usedCount(freqC, onlyC) == 1) {
    Out.Put(0, TBIT);
    Out.Put(0, TBIT);
    Out.Put(0, CBIT);
    Out.Put(uint32_t(onlyC), CBIT);
  } else {
    int n = trimmed(lenC);
    std::vector<uint32_t> freqT(NT, 0);
    walkCLengths(lenC, n, [&](int t, int, int) { freqT[t]++; });
    std::vector<uint8_t> lenT = LhaBuildLengths(freqT, 16);
    std::vector<uint16_t> codeT = LhaMakeCodes(lenT);
    int onlyT = 0;
    if (usedCount(freqT, onlyT) == 1) {
      Out.Put(0, TBIT);
      Out.Put(uint32_t(onlyT), TBIT);
    } else {
      writePtLengths(lenT, TBIT, true);
    }
    Out.Put(uint32_t(n), CBIT);
    walkCLengths(lenC, n, [&](int t, int extra, int extraBits) {
      Out.Put(codeT[t], lenT[t]);
      Out.Put(uint32_t(extra), extraBits);
    });
  }

  const int pbit = methodPbit(Lh5DictBits);
  int onlyP = 0;
  std::vector<uint8_t> lenP = LhaBuildLengths(freqP, 16);
  std::vector<uint16_t> codeP = LhaMakeCodes(lenP);
  if (usedCount(freqP, onlyP) <= 1) {
    Out.Put(0, pbit);
    Out.Put(uint32_t(onlyP), pbit);
  } else {
    writePtLengths(lenP, pbit, false);
  }

  size_t pi = 0;
  for (uint16_t c : Codes) {
    Out.Put(codeC[c], lenC[c]);
    if (c < 256) continue;
    uint32_t p = Positions[pi++];
    int j = p < 2 ? int(p) : bitLength(p);
    Out.Put(codeP[j], lenP[j]);
    if (j >= 2) Out.Put(p, j - 1);
  }
  Codes.clear();
  Positions.clear();
}

class TMatcher {
 public:
  TMatcher(const uint8_t* data, size_t size)
      : Data(data), Size(size), Head(size_t(1) << HashBits, -1), Prev(2 * Lh5Window, -1) {}
  void Insert(size_t pos) {
    if (pos + MinMatch > Size) return;
    uint32_t h = hash(pos);
    Prev[pos & (Prev.size() - 1)] = Head[h];
    Head[h] = int64_t(pos);
  }
  // Longest earlier match at pos within the window; length 0 when none of MinMatch or more.
  int Find(size_t pos, size_t& distance) const {
    if (pos + MinMatch > Size) return 0;
    const size_t limit = std::min<size_t>(MaxMatch, Size - pos);
    int best = 0;
    int chain = MaxChain;
    for (int64_t cand = Head[hash(pos)]; cand >= 0 && chain-- > 0;
         cand = Prev[size_t(cand) & (Prev.size() - 1)]) {
      size_t dist = pos - size_t(cand);
      if (dist == 0 || dist > Lh5Window) break;
      const uint8_t* a = Data + cand;
      const uint8_t* b = Data + pos;
      if (a[best] != b[best] && best > 0) continue;
      size_t len = 0;
      while (len < limit && a[len] == b[len]) ++len;
      if (int(len) > best) {
        best = int(len);
        distance = dist;
        if (best >= NiceMatch || len == limit) break;
      }
    }
    return best >= MinMatch ? best : 0;
  }

 private:
  uint32_t hash(size_t p) const {
    return ((uint32_t(Data[p]) << 10) ^ (uint32_t(Data[p + 1]) << 5) ^ Data[p + 2]) &
           ((1u << HashBits) - 1);
  }
  const uint8_t* Data;
  size_t Size;
  std::vector<int64_t> Head;
  std::vector<int64_t> Prev;
};

}  // namespace

int LhaDictBits(const std::string& method) {
  if (method == "-lh5-") return 13;
  if (method == "-lh6-") return 15;
  if (method == "-lh7-") return 16;
  return 0;
}

std::vector<uint8_t> Lh5Encode(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out;
  out.reserve(size / 2 + 64);
  TLhaBitWriter bits(out);
  TBlockWriter block(bits);
  TMatcher matcher(data, size);
  size_t pos = 0;
  while (pos < size) {
    size_t dist = 0;
    int len = matcher.Find(pos, dist);
    if (len && len < 32 && pos + 1 < size) {
      // One step of lazy matching: a longer match one byte later is worth a literal.
      matcher.Insert(pos);
      size_t dist2 = 0;
      int len2 = matcher.Find(pos + 1, dist2);
      if (len2 > len) {
        block.AddLiteral(data[pos]);
        ++pos;
        len = len2;
        dist = dist2;
      } else {
        block.AddMatch(len, uint32_t(dist - 1));
        for (size_t k = 1; k < size_t(len); ++k) matcher.Insert(pos + k);
        pos += size_t(len);
        if (block.Full()) block.Flush();
        continue;
      }
    }
    if (len) {
      block.AddMatch(len, uint32_t(dist - 1));
      for (size_t k = 0; k < size_t(len); ++k) matcher.Insert(pos + k);
      pos += size_t(len);
    } else {
      block.AddLiteral(data[pos]);
      matcher.Insert(pos);
      ++pos;
    }
    if (block.Full()) block.Flush();
  }
  block.Flush();
  bits.Flush();
  return out;
}

// ---- decoder ------------------------------------------------------------------------------

struct TLhaDecoder::TState {
  TState(const uint8_t* data, size_t size, int dictBits)
      : In(data, size), Np(methodNp(dictBits)), Pbit(methodPbit(dictBits)),
        Window(WindowSize, 0x20) {}
  static constexpr size_t WindowSize = 65536;
  TLhaBitReader In;
  int Np, Pbit;
  std::vector<uint8_t> Window;
  size_t WPos = 0;
  uint32_t BlockLeft = 0;
  size_t CopyLeft = 0;
  size_t CopyDist = 0;
  TLhaHuffDecoder T, C, P;

  void readPtLengths(TLhaHuffDecoder& table, int nbit, int size, bool special);
  void readCLengths();
  void readBlockHeader();
  void check() {
    if (In.Overrun()) throw ELhaError(LhaBadArchive, "Datos comprimidos incompletos.");
  }
};

void TLhaDecoder::TState::readPtLengths(TLhaHuffDecoder& table, int nbit, int size,
                                        bool special) {
  int n = int(In.Get(nbit));
  if (n == 0) {
    int sym = int(In.Get(nbit));
    if (sym >= size) throw ELhaError(LhaBadArchive, "Tabla de códigos dañada.");
    table.SetSingle(sym);
    return;
  }
  if (n > size) throw ELhaError(LhaBadArchive, "Tabla de códigos dañada.");
  std::vector<uint8_t> len(size_t(size), 0);
  for (int i = 0; i < n;) {
    int l = int(In.Get(3));
    if (l == 7) {
      while (In.Get(1)) {
        if (++l > LhaMaxCodeLength) throw ELhaError(LhaBadArchive, "Tabla de códigos dañada.");
      }
    }
    len[size_t(i++)] = uint8_t(l);
    if (special && i == 3) {
      int k = int(In.Get(2));
      while (k-- > 0 && i < n) len[size_t(i++)] = 0;
    }
    check();
  }
  table.Build(len, 8);
}

void TLhaDecoder::TState::readCLengths() {
  int n = int(In.Get(CBIT));
  if (n == 0) {
    int sym = int(In.Get(CBIT));
    if (sym >= NC) throw ELhaError(LhaBadArchive, "Tabla de códigos dañada.");
    C.SetSingle(sym);
    return;
  }
  if (n > NC) throw ELhaError(LhaBadArchive, "Tabla de códigos dañada.");
  std::vector<uint8_t> len(NC, 0);
  for (int i = 0; i < n;) {
    int t = T.Decode(In);
    if (t > 2) {
      len[size_t(i++)] = uint8_t(t - 2);
    } else {
      int run = t == 0 ? 1 : t == 1 ? int(In.Get(4)) + 3 : int(In.Get(CBIT)) + 20;
      if (i + run > n) throw ELhaError(LhaBadArchive, "Tabla de códigos dañada.");
      i += run;
    }
    check();
  }
  C.Build(len, 12);
}

void TLhaDecoder::TState::readBlockHeader() {
  BlockLeft = In.Get(16);
  if (BlockLeft == 0) throw ELhaError(LhaBadArchive, "Bloque comprimido vacío.");
  readPtLengths(T, TBIT, NT, true);
  readCLengths();
  readPtLengths(P, Pbit, Np, false);
  check();
}

TLhaDecoder::TLhaDecoder(const uint8_t* data, size_t size, int dictBits)
    : S(std::make_unique<TState>(data, size, dictBits)) {}

TLhaDecoder::~TLhaDecoder() = default;

void TLhaDecoder::Decode(uint8_t* out, size_t n) {
  TState& s = *S;
  constexpr size_t mask = TState::WindowSize - 1;
  uint8_t* win = s.Window.data();
  size_t done = 0;
  while (done < n) {
    if (s.CopyLeft) {
      size_t k = std::min(s.CopyLeft, n - done);
      size_t from = s.WPos - s.CopyDist;
      for (size_t i = 0; i < k; ++i) {
        uint8_t b = win[(from + i) & mask];
        win[(s.WPos + i) & mask] = b;
        out[done + i] = b;
      }
      s.WPos += k;
      done += k;
      s.CopyLeft -= k;
      continue;
    }
    if (s.BlockLeft == 0) s.readBlockHeader();
    s.BlockLeft--;
    int c = s.C.Decode(s.In);
    if (c < 256) {
      win[s.WPos++ & mask] = uint8_t(c);
      out[done++] = uint8_t(c);
    } else {
      int j = s.P.Decode(s.In);
      uint32_t p = j < 2 ? uint32_t(j) : (1u << (j - 1)) + s.In.Get(j - 1);
      s.CopyLeft = size_t(c - 256 + MinMatch);
      s.CopyDist = size_t(p) + 1;
    }
    s.check();
  }
}
