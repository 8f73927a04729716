// Windows-1252 <-> Unicode. Text in our files stays as Windows-1252 bytes; these are the only
// conversions, used at the edges (widgets, JSON). The five bytes the code page leaves undefined
// (81 8D 8F 90 9D) map to the C1 controls of the same value, so every byte round-trips.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Unicode code point of one Windows-1252 byte.
char16_t Cp1252ToUnicode(uint8_t b);
// The Windows-1252 byte for a code point, or -1 when the code page cannot hold it.
int UnicodeToCp1252(char32_t c);

// Whole strings through UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);
// False (and `out` undefined) when the text is not valid UTF-8 or holds a character that
// Windows-1252 cannot represent.
bool Utf8ToCp1252(std::string_view utf8, std::string& out);
