// Entry names and command lines are Windows-1252 bytes; the file system here speaks UTF-8.
// These are the only conversions, done where a name meets the file system.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

// Every byte maps to one character; the five bytes the code page leaves undefined map to the
// C1 controls of the same value, so any name round-trips.
std::string LhaCp1252ToUtf8(std::string_view bytes);
// False when the text is not UTF-8 or holds a character Windows-1252 cannot represent.
bool LhaUtf8ToCp1252(std::string_view utf8, std::string& out);

// A Windows-1252 path (either slash separates) as a file system path.
std::filesystem::path LhaToFsPath(std::string_view cp1252);
// A file system path as UTF-8 text (for messages and name matching).
std::string LhaFsToUtf8(const std::filesystem::path& p);
// The Windows-1252 form of one file system name; throws ELhaError(LhaBadName) when it
// cannot be written in Windows-1252.
std::string LhaFsNameToCp1252(const std::filesystem::path& name);
