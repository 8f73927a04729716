// Whole-archive operations: pack a list of files and folders, list, test and extract.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "LhaHeader.h"

struct TLhaPackItem {
  std::filesystem::path Source;  // the file or folder on disk
  std::string Name;              // stored path: Windows-1252, '/' between components
  bool IsDirectory = false;
};

// Walks the members of an archive held in a stream of known size.
class TLhaReader {
 public:
  TLhaReader(std::istream& in, uint64_t size) : In(in), Size(size) {}
  // The next member's header; false at the end of the archive.
  bool Next(TLhaEntry& entry);
  // Decodes a member's data in pieces into `sink` and checks its CRC.
  void ReadData(const TLhaEntry& entry,
                const std::function<void(const uint8_t*, size_t)>& sink);

 private:
  std::istream& In;
  uint64_t Size;
  uint64_t NextOffset = 0;
};

// Writes a new archive (beside the target, then renamed over it). Members of an existing
// archive at that path whose names are not packed again are kept, as "add" promises.
void LhaPack(const std::filesystem::path& archive, const std::vector<TLhaPackItem>& items);
std::vector<TLhaEntry> LhaList(const std::filesystem::path& archive);
// Decodes every member and checks its CRC without writing anything.
void LhaTest(const std::filesystem::path& archive);
// Extracts every member under `dest` (created when missing). Nothing is written unless every
// entry's path is safe; no entry is written through a symbolic link.
void LhaExtract(const std::filesystem::path& archive, const std::filesystem::path& dest);

// The components of a stored path that may be created under a destination folder. Throws
// ELhaError(LhaUnsafeEntry) for absolute paths, drive letters and ".." components.
std::vector<std::string> LhaSafeComponents(const std::string& path);
