// Member headers: reading levels 0, 1 and 2, writing level 2.
#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

struct TLhaEntry {
  std::string Method;          // five bytes, e.g. "-lh5-"
  uint64_t PackedSize = 0;     // data bytes only
  uint64_t OriginalSize = 0;
  int64_t MTime = -1;          // Unix seconds (UTC), -1 when the header has none
  uint16_t Crc = 0;            // CRC-16 of the original data
  int Level = 2;
  uint8_t OsId = 'U';
  int Mode = -1;               // Unix st_mode (type and permission bits), -1 when absent
  // The stored path in Windows-1252 bytes, with '/' between components exactly as the
  // archive gave them (a leading '/' or ".." stays, so that extraction can refuse it).
  std::string Path;
  uint64_t HeaderOffset = 0;   // where the member's header starts in the archive
  uint64_t DataOffset = 0;     // where the member's data starts in the archive

  bool IsDirectory() const { return Method == "-lhd-"; }
  bool IsSymlink() const { return Mode >= 0 && (Mode & 0170000) == 0120000; }
};

// Reads the member header at the stream's position. Returns false at the end of the archive
// (a 0 byte or the physical end). `archiveSize` bounds every size the header claims.
bool LhaReadHeader(std::istream& in, uint64_t archiveSize, TLhaEntry& entry);

// A level-2 header for `entry` (Path split into directory record and name), 'U' as OS id,
// the header CRC, the Unix mode and the Windows-1252 code page. Throws ELhaError for a path
// that cannot be stored.
std::vector<uint8_t> LhaWriteHeader(const TLhaEntry& entry);
