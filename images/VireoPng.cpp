#include "VireoPng.h"

#include <zlib.h>

#include <cstring>
#include <istream>
#include <ostream>

namespace {

constexpr std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t IdatSize = 65536;
// Deflate cannot expand data by more than about 1032:1, so a header that asks for more
// rows than the file could possibly hold is refused before anything is allocated.
constexpr std::uint64_t MaxInflateRatio = 1032;

std::uint32_t chunkType(const char* name) {
  return std::uint32_t(std::uint8_t(name[0])) << 24 | std::uint32_t(std::uint8_t(name[1])) << 16 |
         std::uint32_t(std::uint8_t(name[2])) << 8 | std::uint32_t(std::uint8_t(name[3]));
}

const std::uint32_t TypeIHDR = chunkType("IHDR");
const std::uint32_t TypePLTE = chunkType("PLTE");
const std::uint32_t TypeIDAT = chunkType("IDAT");
const std::uint32_t TypeIEND = chunkType("IEND");

[[noreturn]] void invalid() {
  throw EInvalidGraphic(VireoMsg::PngInvalid);
}

[[noreturn]] void zlibError() {
  throw EVireoError(VireoMsg::ZlibError);
}

struct TInflater {
  z_stream Z{};
  TInflater() {
    if (inflateInit2(&Z, 15) != Z_OK) zlibError();
  }
  ~TInflater() { inflateEnd(&Z); }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
};

std::uint8_t paeth(int a, int b, int c) {
  int p = a + b - c;
  int pa = p > a ? p - a : a - p;
  int pb = p > b ? p - b : b - p;
  int pc = p > c ? p - c : c - p;
  if (pa <= pb && pa <= pc) return std::uint8_t(a);
  return std::uint8_t(pb <= pc ? b : c);
}

// row[0] is the filter type; prior holds the previous unfiltered row (zeros for the first).
void unfilterRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t length, int bpp) {
  std::uint8_t* x = row + 1;
  const std::uint8_t* b = prior + 1;
  switch (row[0]) {
    case 1:
      for (std::size_t i = bpp; i < length; ++i) x[i] = std::uint8_t(x[i] + x[i - bpp]);
      break;
    case 2:
      for (std::size_t i = 0; i < length; ++i) x[i] = std::uint8_t(x[i] + b[i]);
      break;
    case 3:
      for (std::size_t i = 0; i < std::size_t(bpp) && i < length; ++i)
        x[i] = std::uint8_t(x[i] + (b[i] >> 1));
      for (std::size_t i = bpp; i < length; ++i)
        x[i] = std::uint8_t(x[i] + ((x[i - bpp] + b[i]) >> 1));
      break;
    case 4:
      for (std::size_t i = 0; i < std::size_t(bpp) && i < length; ++i)
        x[i] = std::uint8_t(x[i] + b[i]);  // a = c = 0: the predictor is b
      for (std::size_t i = bpp; i < length; ++i)
        x[i] = std::uint8_t(x[i] + paeth(x[i - bpp], b[i], b[i - bpp]));
      break;
    default:  // 0, and unknown filter types are taken as they are
      break;
  }
}

class TPngDecoder {
public:
  TPngDecoder(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size)
      : FBitmap(bitmap), FReader(data, size) {}

  void Run() {
    if (std::memcmp(FReader.Take(8), PngSignature, 8) != 0) invalid();
    bool first = true;
    for (;;) {
      std::uint32_t length = FReader.U32BE();
      std::uint32_t type = FReader.U32BE();
      if (length > FReader.Remaining()) throw EVireoReadError(VireoMsg::ReadError);
      const std::uint8_t* body = FReader.Take(length);
      if (first != (type == TypeIHDR)) invalid();  // IHDR first, and only once
      first = false;
      if (type == TypeIHDR) ReadHeader(body, length);
      else if (type == TypePLTE) ReadPalette(body, length);
      else if (type == TypeIDAT) ReadImageData(body, length);
      else if (type == TypeIEND) {
        if (length != 0 || FRow < FBitmap.Height()) invalid();
        FReader.Skip(4);
        return;
      }
      // A row may not continue across any chunk other than IDAT.
      else if (FRowFill != 0) invalid();
      FReader.Skip(4);  // CRC, not verified
    }
  }

private:
  void ReadHeader(const std::uint8_t* p, std::uint32_t length) {
    if (length != 13) invalid();
    std::uint32_t width = std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    std::uint32_t height = std::uint32_t(p[4]) << 24 | p[5] << 16 | p[6] << 8 | p[7];
    int depth = p[8], colourType = p[9], interlace = p[12];
    if (depth != 8 || (colourType != 2 && colourType != 3) || interlace != 0)
      throw EInvalidGraphic(VireoMsg::PngUnsupported);
    if (width > std::uint32_t(VireoMaxSide) || height > std::uint32_t(VireoMaxSide) ||
        std::uint64_t(width) * height > std::uint64_t(VireoMaxPixels))
      throw EInvalidGraphic(VireoMsg::PngUnsupported);
    FBpp = colourType == 2 ? 3 : 1;
    FRowBytes = std::size_t(width) * FBpp;
    std::uint64_t raw = std::uint64_t(height) * (FRowBytes + 1);
    if (raw > MaxInflateRatio * FReader.Size() + 1024) invalid();
    FBitmap.SetFormat(int(width), int(height), FBpp == 3 ? 24 : 8);
    if (FBpp == 1) FBitmap.Palette.assign(256, TVireoPaletteEntry{});
    FCurrent.assign(FRowBytes + 1, 0);
    FPrevious.assign(FRowBytes + 1, 0);
  }

  void ReadPalette(const std::uint8_t* p, std::uint32_t length) {
    if (length > 768) invalid();
    if (FRowFill != 0) invalid();
    if (FBpp != 1) return;  // a suggested palette for truecolour: not needed
    std::uint8_t table[768] = {};
    std::memcpy(table, p, length);
    for (int i = 0; i < 256; ++i)
      FBitmap.Palette[i] = {table[3 * i], table[3 * i + 1], table[3 * i + 2], 0};
  }

  void ReadImageData(const std::uint8_t* p, std::uint32_t length) {
    if (FRow >= FBitmap.Height() || FStreamEnded) return;  // data after the last row
    z_stream& z = FInflater.Z;
    z.next_in = const_cast<Bytef*>(p);
    z.avail_in = length;
    while (FRow < FBitmap.Height()) {
      z.next_out = FCurrent.data() + FRowFill;
      z.avail_out = uInt(FCurrent.size() - FRowFill);
      int result = inflate(&z, Z_NO_FLUSH);
      std::size_t produced = FCurrent.size() - FRowFill - z.avail_out;
      FRowFill += produced;
      if (result == Z_STREAM_END) FStreamEnded = true;
      else if (result != Z_OK && result != Z_BUF_ERROR) zlibError();
      if (FRowFill == FCurrent.size()) {
        FinishRow();
        continue;
      }
      if (FStreamEnded) invalid();  // the compressed data holds fewer rows than the header says
      if (produced == 0 || z.avail_in == 0) break;  // the next IDAT continues this row
    }
  }

  void FinishRow() {
    unfilterRow(FCurrent.data(), FPrevious.data(), FRowBytes, FBpp);
    std::uint8_t* out = FBitmap.ScanLine(FRow);
    const std::uint8_t* in = FCurrent.data() + 1;
    if (FBpp == 3) {
      for (std::size_t i = 0; i < FRowBytes; i += 3) {
        out[i] = in[i + 2];
        out[i + 1] = in[i + 1];
        out[i + 2] = in[i];
      }
    } else {
      std::memcpy(out, in, FRowBytes);
    }
    FCurrent.swap(FPrevious);
    FRowFill = 0;
    ++FRow;
  }

  TVireoBitmap& FBitmap;
  TVireoByteReader FReader;
  TInflater FInflater;
  std::vector<std::uint8_t> FCurrent, FPrevious;
  std::size_t FRowBytes = 0, FRowFill = 0;
  int FBpp = 1;
  int FRow = 0;
  bool FStreamEnded = false;
};

void putChunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* data,
              std::size_t length) {
  VireoPutU32BE(out, std::uint32_t(length));
  std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  if (length) out.insert(out.end(), data, data + length);
  uLong crc = crc32(0L, out.data() + start, uInt(4 + length));
  VireoPutU32BE(out, std::uint32_t(crc));
}

struct TDeflater {
  z_stream Z{};
  TDeflater() {
    if (deflateInit2(&Z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      zlibError();
  }
  ~TDeflater() { deflateEnd(&Z); }
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;
};

// Deflates into a 65,536-byte buffer and writes it as one IDAT each time it fills.
class TIdatWriter {
public:
  explicit TIdatWriter(std::vector<std::uint8_t>& out) : FOut(out), FBuffer(IdatSize) {
    FDeflater.Z.next_out = FBuffer.data();
    FDeflater.Z.avail_out = uInt(IdatSize);
  }

  void Write(const std::uint8_t* data, std::size_t length) {
    z_stream& z = FDeflater.Z;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(length);
    while (z.avail_in > 0) {
      if (deflate(&z, Z_NO_FLUSH) < 0) zlibError();
      FlushIfFull();
    }
  }

  void Finish() {
    z_stream& z = FDeflater.Z;
    z.avail_in = 0;
    for (;;) {
      int result = deflate(&z, Z_FINISH);
      if (result < 0) zlibError();
      FlushIfFull();
      if (result == Z_STREAM_END) break;
    }
    std::size_t rest = IdatSize - z.avail_out;
    if (rest > 0) putChunk(FOut, "IDAT", FBuffer.data(), rest);
  }

private:
  void FlushIfFull() {
    z_stream& z = FDeflater.Z;
    if (z.avail_out != 0) return;
    putChunk(FOut, "IDAT", FBuffer.data(), IdatSize);
    z.next_out = FBuffer.data();
    z.avail_out = uInt(IdatSize);
  }

  std::vector<std::uint8_t>& FOut;
  std::vector<std::uint8_t> FBuffer;
  TDeflater FDeflater;
};

}  // namespace

void VireoDecodePng(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size) {
  TPngDecoder(bitmap, data, size).Run();
}

std::vector<std::uint8_t> VireoEncodePng(const TVireoBitmap& source) {
  const TVireoBitmap copy = source.IsPaletted() ? source.ConvertedTo8Bit()
                                                : source.ConvertedTo24Bit();
  const bool palette = copy.BitCount() == 8;
  std::vector<std::uint8_t> out(PngSignature, PngSignature + 8);
  std::uint8_t header[13] = {};
  for (int i = 0; i < 4; ++i) {
    header[i] = std::uint8_t(std::uint32_t(copy.Width()) >> (24 - 8 * i));
    header[4 + i] = std::uint8_t(std::uint32_t(copy.Height()) >> (24 - 8 * i));
  }
  header[8] = 8;
  header[9] = palette ? 3 : 2;
  TIdatWriter idat(out);  // starts deflate before anything is written, as a failure stops all
  putChunk(out, "IHDR", header, sizeof header);
  if (palette) {
    std::uint8_t table[768] = {};
    for (std::size_t i = 0; i < copy.Palette.size() && i < 256; ++i) {
      table[3 * i] = copy.Palette[i].Red;
      table[3 * i + 1] = copy.Palette[i].Green;
      table[3 * i + 2] = copy.Palette[i].Blue;
    }
    putChunk(out, "PLTE", table, sizeof table);
  }
  std::vector<std::uint8_t> row(copy.BytesPerLine() + 1, 0);
  for (int y = 0; y < copy.Height(); ++y) {
    const std::uint8_t* in = copy.ScanLine(y);
    if (palette) {
      std::memcpy(row.data() + 1, in, copy.BytesPerLine());
    } else {
      for (std::size_t i = 0; i < copy.BytesPerLine(); i += 3) {
        row[1 + i] = in[i + 2];
        row[2 + i] = in[i + 1];
        row[3 + i] = in[i];
      }
    }
    idat.Write(row.data(), row.size());
  }
  idat.Finish();
  putChunk(out, "IEND", nullptr, 0);
  return out;
}

std::vector<std::uint8_t> VireoReadStream(std::istream& stream) {
  std::vector<std::uint8_t> data;
  char buffer[65536];
  while (stream) {
    stream.read(buffer, sizeof buffer);
    data.insert(data.end(), buffer, buffer + stream.gcount());
  }
  if (stream.bad()) throw EVireoReadError(VireoMsg::ReadError);
  return data;
}

void VireoWriteStream(std::ostream& stream, const std::vector<std::uint8_t>& data) {
  stream.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  if (!stream) throw EVireoFileError("Error escribiendo flujo");
}

void TVireoPng::LoadFromStream(std::istream& stream) {
  std::vector<std::uint8_t> data = VireoReadStream(stream);
  VireoDecodePng(*this, data.data(), data.size());
}

void TVireoPng::SaveToStream(std::ostream& stream) const {
  VireoWriteStream(stream, VireoEncodePng(*this));
}

void LoadPngFile(TVireoBitmap& bitmap, const std::filesystem::path& fileName) {
  std::vector<std::uint8_t> data = VireoReadFile(fileName);
  VireoDecodePng(bitmap, data.data(), data.size());
}

void SavePngFile(const TVireoBitmap& bitmap, const std::filesystem::path& fileName) {
  VireoWriteFileAtomic(fileName, VireoEncodePng(bitmap));
}
