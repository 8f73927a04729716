#include "LhaText.h"

#include "LhaError.h"

namespace {

// 0x80..0x9F; the others are the same as their code point.
constexpr char16_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
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

int toCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return int(c);
  for (int i = 0; i < 32; ++i)
    if (High[i] == c) return 0x80 + i;
  return -1;
}

}  // namespace

std::string LhaCp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) appendUtf8(out, b >= 0x80 && b < 0xA0 ? High[b - 0x80] : b);
  return out;
}

bool LhaUtf8ToCp1252(std::string_view s, std::string& out) {
  out.clear();
  for (size_t i = 0; i < s.size();) {
    unsigned char b = s[i];
    char32_t c;
    int extra;
    if (b < 0x80) { c = b; extra = 0; }
    else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; extra = 1; }
    else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; extra = 2; }
    else if ((b & 0xF8) == 0xF0) { c = b & 0x07; extra = 3; }
    else return false;
    if (extra && i + size_t(extra) >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      unsigned char t = s[i + size_t(k)];
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    i += size_t(extra) + 1;
    int w = toCp1252(c);
    if (w < 0) return false;
    out += char(w);
  }
  return true;
}

std::filesystem::path LhaToFsPath(std::string_view cp1252) {
  std::string utf8 = LhaCp1252ToUtf8(cp1252);
  for (char& c : utf8)
    if (c == '\\') c = '/';
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string LhaFsToUtf8(const std::filesystem::path& p) {
  std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

std::string LhaFsNameToCp1252(const std::filesystem::path& name) {
  std::string out;
  std::string native = LhaFsToUtf8(name);
  if (!LhaUtf8ToCp1252(native, out))
    throw ELhaError(LhaBadName,
                    "El nombre \"" + native + "\" no se puede escribir en Windows-1252.");
  return out;
}
