#include "Cp1252.h"

namespace {
// 0x80..0x9F; the undefined positions keep their own value.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at s[i]; returns false on malformed input.
bool nextUtf8(std::string_view s, size_t& i, char32_t& c)
{
    const auto b0 = uint8_t(s[i]);
    int extra = b0 < 0x80 ? 0 : (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : (b0 & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + size_t(extra) >= s.size())
        return false;
    c = extra == 0 ? b0 : extra == 1 ? (b0 & 0x1F) : extra == 2 ? (b0 & 0x0F) : (b0 & 0x07);
    for (int k = 1; k <= extra; ++k) {
        const auto b = uint8_t(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (b & 0x3F);
    }
    static const char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
    if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    i += extra + 1;
    return true;
}
} // namespace

char16_t Cp1252ToUnicode(uint8_t b)
{
    return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b);
}

int UnicodeToCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == c)
            return 0x80 + k;
    return -1;
}

std::string Cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes)
        appendUtf8(out, Cp1252ToUnicode(uint8_t(ch)));
    return out;
}

bool Utf8ToCp1252(std::string_view utf8, std::string& out)
{
    out.clear();
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t c;
        if (!nextUtf8(utf8, i, c))
            return false;
        const int b = UnicodeToCp1252(c);
        if (b < 0)
            return false;
        out += char(b);
    }
    return true;
}
