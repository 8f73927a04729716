#include "Stream.h"

#include <atomic>
#include <cstring>

#include "VudError.h"

namespace {
std::atomic<bool> gLenient{false};
}

bool LenientMode() { return gLenient.load(std::memory_order_relaxed); }
void SetLenientMode(bool on) { gLenient.store(on, std::memory_order_relaxed); }

uint8_t TReader::ReadByte()
{
    if (Off >= N)
        throw EReadError();
    return P[Off++];
}

void TReader::Read(void* dst, size_t n)
{
    if (n > N - Off)
        throw EReadError();
    if (n)
        std::memcpy(dst, P + Off, n);
    Off += n;
}

void TReader::Skip(size_t n)
{
    if (n > N - Off)
        throw EReadError();
    Off += n;
}

void TReader::Seek(size_t pos)
{
    if (pos > N)
        throw EReadError();
    Off = pos;
}

TReader TReader::Sub(size_t n)
{
    if (n > N - Off)
        throw EReadError();
    TReader sub(P + Off, n);
    Off += n;
    return sub;
}

void TWriter::Write(const void* src, size_t n)
{
    if (n) {
        const auto* b = static_cast<const uint8_t*>(src);
        Buf.insert(Buf.end(), b, b + n);
    }
}

uint32_t ReadBerInt(TReader& s)
{
    uint32_t value = 0;
    for (;;) {
        const uint8_t b = s.ReadByte();
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80))
            return value;
    }
}

int BerSize(uint32_t value)
{
    int n = 1;
    for (int i = 1; i <= 4; ++i)
        if (value >> (7 * i))
            n = i + 1;
    return n;
}

void WriteBerInt(TWriter& s, uint32_t value, bool withCount)
{
    const int n = BerSize(value);
    uint8_t out[6];
    int k = 0;
    if (withCount)
        out[k++] = uint8_t(n);
    for (int i = n - 1; i >= 1; --i)
        out[k++] = uint8_t(((value >> (7 * i)) & 0x7F) | 0x80);
    out[k++] = uint8_t(value & 0x7F);
    s.Write(out, k);
}

void ReadBerString(TReader& s, std::string& out)
{
    const uint32_t len = ReadBerInt(s);
    if (len > s.Remaining())
        throw EReadError();
    out.assign(reinterpret_cast<const char*>(s.Ptr()), len);
    s.Skip(len);
}

void WriteBerString(TWriter& s, std::string_view str)
{
    WriteBerInt(s, uint32_t(str.size()));
    s.Write(str.data(), str.size());
}
