#include "LhaHeader.h"

#include <cstring>
#include <ctime>

#include "LhaCrc16.h"
#include "LhaError.h"

namespace {

[[noreturn]] void damaged(const char* what) {
  throw ELhaError(LhaBadArchive, std::string("Archivo dañado: ") + what);
}

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const uint8_t* p) { return le16(p) | le16(p + 2) << 16; }

void readExact(std::istream& in, uint8_t* p, size_t n) {
  in.read(reinterpret_cast<char*>(p), std::streamsize(n));
  if (size_t(in.gcount()) != n) damaged("cabecera incompleta");
}

// DOS date and time, local time as the format wants; 0 means none.
int64_t dosTime(uint32_t v) {
  if (v == 0) return -1;
  std::tm t{};
  t.tm_sec = int(v & 31) * 2;
  t.tm_min = int(v >> 5) & 63;
  t.tm_hour = int(v >> 11) & 31;
  t.tm_mday = int(v >> 16) & 31;
  t.tm_mon = int((v >> 21) & 15) - 1;
  t.tm_year = int(v >> 25) + 80;
  t.tm_isdst = -1;
  std::time_t r = std::mktime(&t);
  return r == std::time_t(-1) ? -1 : int64_t(r);
}

// Every separator a writer may have used becomes '/': 0xFF of the directory record, and
// both slashes, since archives made on Windows use '\'.
std::string normaliseSeparators(std::string s) {
  for (char& c : s)
    if (c == '\\' || c == char(0xFF)) c = '/';
  return s;
}

struct TExtensions {
  std::string Name, Dir;
  bool HasName = false, HasDir = false;
  int Mode = -1;
  int64_t MTime = -1;
  int CrcOffset = -1;          // offset of the header CRC inside the header bytes
  uint16_t HeaderCrc = 0;
};

// Walks the record chain inside `buf` starting with the size at `sizeAt`; records lie in
// [sizeAt + 2, end). Sizes out of range are damage.
void parseExtensions(const std::vector<uint8_t>& buf, size_t sizeAt, size_t end,
                     TExtensions& x) {
  size_t pos = sizeAt;
  for (int guard = 0;; ++guard) {
    if (pos + 2 > end) damaged("extensión fuera de la cabecera");
    size_t len = le16(&buf[pos]);
    if (len == 0) return;
    if (len < 3 || pos + len + 2 > end || guard > 4096) damaged("extensión no válida");
    uint8_t type = buf[pos + 2];
    const uint8_t* p = &buf[pos + 3];
    size_t n = len - 3;
    switch (type) {
      case 0x00:
        if (n >= 2) {
          x.CrcOffset = int(pos + 3);
          x.HeaderCrc = uint16_t(le16(p));
        }
        break;
      case 0x01: x.Name.assign(reinterpret_cast<const char*>(p), n); x.HasName = true; break;
      case 0x02: x.Dir.assign(reinterpret_cast<const char*>(p), n); x.HasDir = true; break;
      case 0x50: if (n >= 2) x.Mode = int(le16(p)); break;
      case 0x54: if (n >= 4) x.MTime = int64_t(le32(p)); break;
      default: break;
    }
    pos += len;
  }
}

void checkHeaderCrc(std::vector<uint8_t> buf, const TExtensions& x) {
  if (x.CrcOffset < 0) return;
  buf[size_t(x.CrcOffset)] = 0;
  buf[size_t(x.CrcOffset) + 1] = 0;
  if (LhaCrc16(buf.data(), buf.size()) != x.HeaderCrc) damaged("CRC de cabecera incorrecto");
}

std::string joinPath(const TExtensions& x, const std::string& baseName) {
  std::string name = x.HasName ? x.Name : baseName;
  std::string dir = x.HasDir ? normaliseSeparators(x.Dir) : std::string();
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir + normaliseSeparators(name);
}

void readLevel0(std::istream& in, std::vector<uint8_t>& h, TLhaEntry& e) {
  size_t total = size_t(h[0]) + 2;
  size_t n = h[21];
  if (total < 22 + n) damaged("nombre demasiado largo");
  h.resize(total);
  readExact(in, &h[22], total - 22);
  uint8_t sum = 0;
  for (size_t i = 2; i < total; ++i) sum = uint8_t(sum + h[i]);
  if (sum != h[1]) damaged("suma de cabecera incorrecta");
  e.Path = normaliseSeparators(std::string(reinterpret_cast<const char*>(&h[22]), n));
  e.MTime = dosTime(le32(&h[15]));
  e.OsId = 'M';
  if (total >= 24 + n) e.Crc = uint16_t(le16(&h[22 + n]));
  // The extended area of Unix writers: 'U', version, mtime, mode, uid, gid.
  if (total >= 24 + n + 12 && h[24 + n] == 'U') {
    e.OsId = 'U';
    e.MTime = int64_t(le32(&h[26 + n]));
    e.Mode = int(le16(&h[30 + n]));
  }
  e.PackedSize = le32(&h[7]);
}

void readLevel1(std::istream& in, std::vector<uint8_t>& h, uint64_t archiveSize,
                uint64_t start, TLhaEntry& e) {
  size_t hs = h[0];
  size_t n = h[21];
  if (hs < 25 + n) damaged("cabecera de nivel 1 demasiado corta");
  size_t base = hs + 2;
  h.resize(base);
  readExact(in, &h[22], base - 22);
  uint8_t sum = 0;
  for (size_t i = 2; i < base; ++i) sum = uint8_t(sum + h[i]);
  if (sum != h[1]) damaged("suma de cabecera incorrecta");
  uint64_t skip = le32(&h[7]);
  // The records are counted in the skip size; read them one by one, each bounded by it.
  uint64_t extBytes = 0;
  size_t next = le16(&h[hs]);
  while (next) {
    if (next < 3 || extBytes + next > skip || start + base + extBytes + next > archiveSize)
      damaged("extensión no válida");
    size_t at = h.size();
    h.resize(at + next);
    readExact(in, &h[at], next);
    extBytes += next;
    next = le16(&h[at + next - 2]);
  }
  TExtensions x;
  if (h.size() > base) parseExtensions(h, hs, h.size(), x);
  checkHeaderCrc(h, x);
  e.Path = joinPath(x, std::string(reinterpret_cast<const char*>(&h[22]), n));
  e.Crc = uint16_t(le16(&h[22 + n]));
  e.OsId = h[24 + n];
  e.MTime = x.MTime >= 0 ? x.MTime : dosTime(le32(&h[15]));
  e.Mode = x.Mode;
  e.PackedSize = skip - extBytes;
}

void readLevel2(std::istream& in, std::vector<uint8_t>& h, uint64_t archiveSize,
                uint64_t start, TLhaEntry& e) {
  size_t total = le16(&h[0]);
  if (total < 26 || start + total > archiveSize) damaged("tamaño de cabecera no válido");
  h.resize(total);
  readExact(in, &h[22], total - 22);
  TExtensions x;
  parseExtensions(h, 24, total, x);
  checkHeaderCrc(h, x);
  e.Path = joinPath(x, std::string());
  e.Crc = uint16_t(le16(&h[21]));
  e.OsId = h[23];
  e.MTime = int64_t(le32(&h[15]));
  e.Mode = x.Mode;
  e.PackedSize = le32(&h[7]);
}

void put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
void putRecord(std::vector<uint8_t>& b, uint8_t type, const std::string& payload) {
  put16(b, uint32_t(payload.size() + 3));
  b.push_back(type);
  b.insert(b.end(), payload.begin(), payload.end());
}

}  // namespace

bool LhaReadHeader(std::istream& in, uint64_t archiveSize, TLhaEntry& e) {
  const std::streamoff startOff = in.tellg();
  if (startOff < 0) return false;
  const uint64_t start = uint64_t(startOff);
  int first = in.get();
  if (first == std::char_traits<char>::eof() || first == 0) return false;
  if (start + 22 > archiveSize) damaged("cabecera incompleta");
  std::vector<uint8_t> h(22);
  h[0] = uint8_t(first);
  readExact(in, &h[1], 21);
  e = TLhaEntry();
  e.Method.assign(reinterpret_cast<const char*>(&h[2]), 5);
  e.OriginalSize = le32(&h[11]);
  e.Level = h[20];
  switch (e.Level) {
    case 0: readLevel0(in, h, e); break;
    case 1: readLevel1(in, h, archiveSize, start, e); break;
    case 2: readLevel2(in, h, archiveSize, start, e); break;
    default: throw ELhaError(LhaBadArchive, "Nivel de cabecera no admitido.");
  }
  if (e.Method.size() != 5 || e.Method[0] != '-' || e.Method[4] != '-')
    damaged("método no válido");
  e.HeaderOffset = start;
  e.DataOffset = start + h.size();
  if (e.DataOffset + e.PackedSize > archiveSize) damaged("los datos pasan del final del archivo");
  // A trailing '/' marks a directory in some writers' names; the method says it anyway.
  while (!e.Path.empty() && e.Path.back() == '/' && e.Path.size() > 1) e.Path.pop_back();
  return true;
}

std::vector<uint8_t> LhaWriteHeader(const TLhaEntry& e) {
  std::string name = e.Path, dir;
  size_t cut = name.rfind('/');
  if (e.IsDirectory()) {
    dir = name + '/';
    name.clear();
  } else if (cut != std::string::npos) {
    dir = name.substr(0, cut + 1);
    name = name.substr(cut + 1);
  }
  for (char& c : dir)
    if (c == '/') c = char(0xFF);
  if (e.Path.size() > 1024)
    throw ELhaError(LhaBadName, "Nombre demasiado largo para el archivo: " + e.Path);

  std::vector<uint8_t> b;
  put16(b, 0);                                  // total size, filled below
  b.insert(b.end(), e.Method.begin(), e.Method.end());
  put32(b, uint32_t(e.PackedSize));
  put32(b, uint32_t(e.OriginalSize));
  put32(b, uint32_t(e.MTime < 0 ? 0 : e.MTime > 0xFFFFFFFFLL ? 0xFFFFFFFFLL : e.MTime));
  b.push_back(0x20);
  b.push_back(2);
  put16(b, e.Crc);
  b.push_back('U');
  const size_t crcAt = b.size() + 3;
  putRecord(b, 0x00, std::string(2, '\0'));
  putRecord(b, 0x01, name);
  if (!dir.empty()) putRecord(b, 0x02, dir);
  if (e.Mode >= 0) putRecord(b, 0x50, std::string{char(e.Mode & 0xFF), char(e.Mode >> 8 & 0xFF)});
  putRecord(b, 0x46, std::string{char(0xE4), char(0x04), 0, 0});   // code page 1252
  put16(b, 0);
  // A total size with a zero low byte reads as the end of the archive to most readers.
  if ((b.size() & 0xFF) == 0) b.push_back(0);
  b[0] = uint8_t(b.size());
  b[1] = uint8_t(b.size() >> 8);
  uint16_t crc = LhaCrc16(b.data(), b.size());
  b[crcAt] = uint8_t(crc);
  b[crcAt + 1] = uint8_t(crc >> 8);
  return b;
}
