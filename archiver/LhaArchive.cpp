#include "LhaArchive.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <set>

#include "LhaCodec.h"
#include "LhaCrc16.h"
#include "LhaError.h"
#include "LhaText.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t Piece = 64 * 1024;

std::string u8(const fs::path& p) { return LhaFsToUtf8(p); }

bool supportedMethod(const std::string& m) {
  return m == "-lhd-" || m == "-lh0-" || m == "-lz4-" || LhaDictBits(m) != 0;
}

[[noreturn]] void fileError(const std::string& what, const fs::path& p) {
  throw ELhaError(LhaFileError, what + ": " + u8(p));
}

int64_t fileMTime(const fs::path& p) {
  std::error_code ec;
  auto ft = fs::last_write_time(p, ec);
  if (ec) return -1;
  auto sys = std::chrono::file_clock::to_sys(ft);
  return std::chrono::floor<std::chrono::seconds>(sys).time_since_epoch().count();
}

void setMTime(const fs::path& p, int64_t t) {
  if (t < 0) return;
  std::chrono::sys_seconds sys{std::chrono::seconds(t)};
  std::error_code ec;
  fs::last_write_time(p, std::chrono::file_clock::from_sys(sys), ec);
}

int fileMode(const fs::path& p, bool dir) {
  std::error_code ec;
  auto st = fs::status(p, ec);
  int perms = ec ? (dir ? 0755 : 0644) : int(st.permissions() & fs::perms::mask) & 0777;
  return (dir ? 040000 : 0100000) | perms;
}

std::vector<uint8_t> readWholeFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) fileError("No se puede abrir el archivo", p);
  std::error_code ec;
  uint64_t size = fs::file_size(p, ec);
  if (ec) fileError("No se puede leer el archivo", p);
  if (size > 0xFFFFFFFFull) fileError("Archivo demasiado grande para LHA", p);
  std::vector<uint8_t> data(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(data.data()), std::streamsize(size));
  if (uint64_t(in.gcount()) != size) fileError("No se puede leer el archivo", p);
  return data;
}

void writeBytes(std::ostream& out, const uint8_t* p, size_t n) {
  out.write(reinterpret_cast<const char*>(p), std::streamsize(n));
}

void packItem(std::ostream& out, const TLhaPackItem& item) {
  TLhaEntry e;
  e.Path = item.Name;
  e.MTime = fileMTime(item.Source);
  e.Mode = fileMode(item.Source, item.IsDirectory);
  if (item.IsDirectory) {
    e.Method = "-lhd-";
    std::vector<uint8_t> h = LhaWriteHeader(e);
    writeBytes(out, h.data(), h.size());
    return;
  }
  std::vector<uint8_t> data = readWholeFile(item.Source);
  e.OriginalSize = data.size();
  e.Crc = LhaCrc16(data.data(), data.size());
  std::vector<uint8_t> packed;
  if (!data.empty()) packed = Lh5Encode(data.data(), data.size());
  // Data that does not shrink is stored as it is, as readers expect.
  const bool compressed = !data.empty() && packed.size() < data.size();
  e.Method = compressed ? "-lh5-" : "-lh0-";
  const std::vector<uint8_t>& body = compressed ? packed : data;
  e.PackedSize = body.size();
  std::vector<uint8_t> h = LhaWriteHeader(e);
  writeBytes(out, h.data(), h.size());
  writeBytes(out, body.data(), body.size());
}

// Raw copies of the members of an old archive that the new one does not replace.
void keepOldMembers(std::ostream& out, const fs::path& archive, const std::set<std::string>& names) {
  std::error_code ec;
  if (!fs::is_regular_file(archive, ec)) return;
  std::ifstream in(archive, std::ios::binary);
  TLhaReader reader(in, fs::file_size(archive));
  TLhaEntry e;
  std::vector<uint8_t> buf;
  std::vector<std::pair<uint64_t, uint64_t>> keep;
  while (reader.Next(e))
    if (!names.count(e.Path)) keep.push_back({e.HeaderOffset, e.DataOffset + e.PackedSize});
  for (auto [from, to] : keep) {
    in.clear();
    in.seekg(std::streamoff(from));
    for (uint64_t left = to - from; left;) {
      size_t k = size_t(std::min<uint64_t>(left, Piece));
      buf.resize(k);
      in.read(reinterpret_cast<char*>(buf.data()), std::streamsize(k));
      if (size_t(in.gcount()) != k) fileError("No se puede leer el archivo", archive);
      writeBytes(out, buf.data(), k);
      left -= k;
    }
  }
}

struct TOpenArchive {
  explicit TOpenArchive(const fs::path& p) : In(p, std::ios::binary) {
    std::error_code ec;
    if (!In || !fs::is_regular_file(p, ec)) fileError("No se puede abrir el archivo", p);
    Size = fs::file_size(p, ec);
    if (ec) fileError("No se puede abrir el archivo", p);
  }
  std::ifstream In;
  uint64_t Size = 0;
};

// Creates (or accepts) each folder of `comps[0..count)` under dest. An existing symbolic link
// on the way is refused: it could lead out of the destination.
fs::path ensureFolders(const fs::path& dest, const std::vector<std::string>& comps, size_t count) {
  fs::path cur = dest;
  for (size_t i = 0; i < count; ++i) {
    cur /= LhaToFsPath(comps[i]);
    std::error_code ec;
    auto st = fs::symlink_status(cur, ec);
    if (fs::is_symlink(st))
      throw ELhaError(LhaUnsafeEntry, "El archivo pasaría por un enlace simbólico: " + u8(cur));
    if (fs::exists(st)) {
      if (!fs::is_directory(st)) fileError("Ya existe un archivo con el nombre de la carpeta", cur);
      continue;
    }
    if (!fs::create_directory(cur, ec) && ec) fileError("No se puede crear la carpeta", cur);
  }
  return cur;
}

void extractFile(TLhaReader& reader, const TLhaEntry& e, const fs::path& target) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(target, ec)))
    fileError("Ya existe una carpeta con el nombre del archivo", target);
  fs::path temp = target;
  temp += ".tflha-part";
  fs::remove(temp, ec);
  try {
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      if (!out) fileError("No se puede crear el archivo", target);
      reader.ReadData(e, [&](const uint8_t* p, size_t n) { writeBytes(out, p, n); });
      out.close();
      if (!out) fileError("No se puede escribir el archivo", target);
    }
    if (e.Mode >= 0) fs::permissions(temp, fs::perms(e.Mode & 0777), ec);
    setMTime(temp, e.MTime);
    fs::rename(temp, target, ec);
    if (ec) fileError("No se puede escribir el archivo", target);
  } catch (...) {
    fs::remove(temp, ec);
    throw;
  }
}

}  // namespace

bool TLhaReader::Next(TLhaEntry& entry) {
  In.clear();
  In.seekg(std::streamoff(NextOffset));
  if (NextOffset >= Size) return false;
  if (!LhaReadHeader(In, Size, entry)) return false;
  NextOffset = entry.DataOffset + entry.PackedSize;
  return true;
}

void TLhaReader::ReadData(const TLhaEntry& e,
                          const std::function<void(const uint8_t*, size_t)>& sink) {
  if (e.IsDirectory()) return;
  In.clear();
  In.seekg(std::streamoff(e.DataOffset));
  auto readPiece = [&](uint8_t* p, size_t n) {
    In.read(reinterpret_cast<char*>(p), std::streamsize(n));
    if (size_t(In.gcount()) != n) throw ELhaError(LhaBadArchive, "Archivo dañado: datos incompletos.");
  };
  uint16_t crc = 0;
  if (e.Method == "-lh0-" || e.Method == "-lz4-") {
    if (e.PackedSize != e.OriginalSize)
      throw ELhaError(LhaBadArchive, "Archivo dañado: tamaños distintos en un miembro sin comprimir.");
    // Stored members can be large (films): copy them piece by piece.
    std::vector<uint8_t> buf(Piece);
    for (uint64_t left = e.PackedSize; left;) {
      size_t k = size_t(std::min<uint64_t>(left, Piece));
      readPiece(buf.data(), k);
      crc = LhaCrc16(buf.data(), k, crc);
      sink(buf.data(), k);
      left -= k;
    }
  } else if (int bits = LhaDictBits(e.Method)) {
    // The compressed bytes are really in the archive (the header check saw to that).
    std::vector<uint8_t> packed(size_t(e.PackedSize));
    readPiece(packed.data(), packed.size());
    TLhaDecoder dec(packed.data(), packed.size(), bits);
    std::vector<uint8_t> buf(Piece);
    for (uint64_t left = e.OriginalSize; left;) {
      size_t k = size_t(std::min<uint64_t>(left, Piece));
      dec.Decode(buf.data(), k);
      crc = LhaCrc16(buf.data(), k, crc);
      sink(buf.data(), k);
      left -= k;
    }
  } else {
    throw ELhaError(LhaBadArchive, "Método de compresión no admitido: " + e.Method);
  }
  if (crc != e.Crc) throw ELhaError(LhaBadArchive, "Error de CRC en " + LhaCp1252ToUtf8(e.Path));
}

std::vector<std::string> LhaSafeComponents(const std::string& path) {
  auto unsafe = [&]() {
    return ELhaError(LhaUnsafeEntry,
                     "Entrada con una ruta no permitida: " + LhaCp1252ToUtf8(path));
  };
  if (path.empty() || path[0] == '/' || path.find('\0') != std::string::npos) throw unsafe();
  std::vector<std::string> comps;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string c = path.substr(start, end - start);
    if (c == "..") throw unsafe();
    if (comps.empty() && c.size() >= 2 && c[1] == ':') throw unsafe();   // drive letter
    if (!c.empty() && c != ".") comps.push_back(c);
    start = end + 1;
  }
  return comps;
}

void LhaPack(const fs::path& archive, const std::vector<TLhaPackItem>& items) {
  fs::path temp = archive;
  temp += ".tflha-part";
  std::error_code ec;
  try {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) fileError("No se puede crear el archivo", archive);
    std::set<std::string> names;
    for (const auto& it : items) names.insert(it.Name);
    keepOldMembers(out, archive, names);
    for (const auto& it : items) packItem(out, it);
    out.put(0);   // end of archive
    out.close();
    if (!out) fileError("No se puede escribir el archivo", archive);
    fs::rename(temp, archive, ec);
    if (ec) fileError("No se puede escribir el archivo", archive);
  } catch (...) {
    fs::remove(temp, ec);
    throw;
  }
}

std::vector<TLhaEntry> LhaList(const fs::path& archive) {
  TOpenArchive a(archive);
  TLhaReader reader(a.In, a.Size);
  std::vector<TLhaEntry> entries;
  TLhaEntry e;
  while (reader.Next(e)) entries.push_back(e);
  return entries;
}

void LhaTest(const fs::path& archive) {
  TOpenArchive a(archive);
  TLhaReader reader(a.In, a.Size);
  TLhaEntry e;
  while (reader.Next(e)) reader.ReadData(e, [](const uint8_t*, size_t) {});
}

void LhaExtract(const fs::path& archive, const fs::path& dest) {
  TOpenArchive a(archive);
  TLhaReader reader(a.In, a.Size);
  // Every path is checked before the first byte is written.
  std::vector<TLhaEntry> entries;
  std::vector<std::vector<std::string>> paths;
  TLhaEntry e;
  while (reader.Next(e)) {
    if (e.IsSymlink())
      throw ELhaError(LhaUnsafeEntry, "El archivo contiene un enlace simbólico: " +
                                          LhaCp1252ToUtf8(e.Path));
    if (!supportedMethod(e.Method))
      throw ELhaError(LhaBadArchive, "Método de compresión no admitido: " + e.Method);
    std::vector<std::string> comps = LhaSafeComponents(e.Path);
    if (comps.empty() && !e.IsDirectory()) throw ELhaError(LhaUnsafeEntry, "Entrada sin nombre.");
    paths.push_back(std::move(comps));
    entries.push_back(e);
  }
  std::error_code ec;
  fs::create_directories(dest, ec);
  if (!fs::is_directory(dest, ec)) fileError("No se puede crear la carpeta", dest);
  std::vector<std::pair<fs::path, TLhaEntry>> folders;
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto& comps = paths[i];
    if (entries[i].IsDirectory()) {
      if (!comps.empty()) folders.push_back({ensureFolders(dest, comps, comps.size()), entries[i]});
      continue;
    }
    fs::path dir = ensureFolders(dest, comps, comps.size() - 1);
    extractFile(reader, entries[i], dir / LhaToFsPath(comps.back()));
  }
  // Folder times and modes last: writing into a folder changes its time.
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
    if (it->second.Mode >= 0)
      fs::permissions(it->first, fs::perms((it->second.Mode & 0777) | 0700), ec);
    setMTime(it->first, it->second.MTime);
  }
}
