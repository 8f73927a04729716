// Memory streams and the stream primitives: BER integers and length-prefixed strings.
// A reader is a bounded view: nested readers see exactly their chunk and can never read past it.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "tile layers and blocks are copied as little-endian memory");

class TReader {
public:
    TReader() = default;
    TReader(const void* data, size_t size) : P(static_cast<const uint8_t*>(data)), N(size) {}
    explicit TReader(const std::vector<uint8_t>& v) : TReader(v.data(), v.size()) {}

    size_t Pos() const { return Off; }
    size_t Size() const { return N; }
    size_t Remaining() const { return N - Off; }
    bool AtEnd() const { return Off == N; }
    const uint8_t* Ptr() const { return P + Off; }

    uint8_t ReadByte();
    void Read(void* dst, size_t n);
    void Skip(size_t n);
    void Seek(size_t pos);
    // The next n bytes as a reader of their own; this reader moves past them.
    TReader Sub(size_t n);

private:
    const uint8_t* P = nullptr;
    size_t N = 0;
    size_t Off = 0;
};

class TWriter {
public:
    std::vector<uint8_t> Buf;

    size_t Size() const { return Buf.size(); }
    void WriteByte(uint8_t b) { Buf.push_back(b); }
    void Write(const void* src, size_t n);
    void Clear() { Buf.clear(); }
};

uint32_t ReadBerInt(TReader& s);
// WithCount: a raw byte with the number of BER bytes (1..5) goes first.
void WriteBerInt(TWriter& s, uint32_t value, bool withCount = false);
// Number of bytes the BER of value takes.
int BerSize(uint32_t value);
void ReadBerString(TReader& s, std::string& out);
void WriteBerString(TWriter& s, std::string_view str);
