#include "VireoXyz.h"

#include "VireoPng.h"

#include <zlib.h>

#include <cstring>

namespace {

constexpr std::uint8_t XyzMagic[4] = {'X', 'Y', 'Z', '1'};
// The most that deflate data can expand to (about 1032:1), plus room for the zlib framing.
constexpr std::uint64_t MaxInflateRatio = 1032;

}  // namespace

void VireoDecodeXyz(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size) {
  TVireoByteReader reader(data, size);
  if (std::memcmp(reader.Take(4), XyzMagic, 4) != 0) throw EInvalidGraphic(VireoMsg::XyzInvalid);
  int width = reader.U16LE();
  int height = reader.U16LE();
  const std::uint64_t raw = 768 + std::uint64_t(width) * std::uint64_t(height);
  if (width > VireoMaxSide || height > VireoMaxSide ||
      std::int64_t(width) * height > VireoMaxPixels ||
      raw > MaxInflateRatio * reader.Remaining() + 1024)
    throw EInvalidGraphic(VireoMsg::XyzInvalid);
  bitmap.SetFormat(width, height, 8);

  z_stream z{};
  if (inflateInit2(&z, 15) != Z_OK) throw EVireoError(VireoMsg::ZlibError);
  std::vector<std::uint8_t> buffer(raw, 0);
  z.next_in = const_cast<Bytef*>(reader.Take(reader.Remaining()));
  z.avail_in = uInt(size - 8);
  z.next_out = buffer.data();
  z.avail_out = uInt(buffer.size());
  int result = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if (result != Z_STREAM_END) throw EVireoError(VireoMsg::ZlibError);

  bitmap.Palette.assign(256, TVireoPaletteEntry{});
  for (int i = 0; i < 256; ++i)
    bitmap.Palette[i] = {buffer[3 * i], buffer[3 * i + 1], buffer[3 * i + 2], 0};
  for (int y = 0; y < height; ++y)
    std::memcpy(bitmap.ScanLine(y), buffer.data() + 768 + std::size_t(y) * width, width);
}

std::vector<std::uint8_t> VireoEncodeXyz(const TVireoBitmap& source) {
  // 16-bit header fields: refuse rather than truncate the size.
  if (source.Width() > 65535 || source.Height() > 65535)
    throw EInvalidGraphic(VireoMsg::XyzTooLarge);
  const TVireoBitmap copy = source.ConvertedTo8Bit();
  std::vector<std::uint8_t> raw(768 + std::size_t(copy.Width()) * copy.Height(), 0);
  for (std::size_t i = 0; i < copy.Palette.size() && i < 256; ++i) {
    raw[3 * i] = copy.Palette[i].Red;
    raw[3 * i + 1] = copy.Palette[i].Green;
    raw[3 * i + 2] = copy.Palette[i].Blue;
  }
  for (int y = 0; y < copy.Height(); ++y)
    std::memcpy(raw.data() + 768 + std::size_t(y) * copy.Width(), copy.ScanLine(y),
                copy.Width());

  z_stream z{};
  if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK) throw EVireoError(VireoMsg::ZlibError);
  std::vector<std::uint8_t> packed(std::max<std::size_t>(2 * raw.size(),
                                                         deflateBound(&z, uLong(raw.size()))));
  z.next_in = raw.data();
  z.avail_in = uInt(raw.size());
  z.next_out = packed.data();
  z.avail_out = uInt(packed.size());
  int result = deflate(&z, Z_FINISH);
  std::size_t produced = packed.size() - z.avail_out;
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw EVireoError(VireoMsg::ZlibError);

  std::vector<std::uint8_t> out(XyzMagic, XyzMagic + 4);
  VireoPutU16LE(out, std::uint16_t(copy.Width()));
  VireoPutU16LE(out, std::uint16_t(copy.Height()));
  out.insert(out.end(), packed.begin(), packed.begin() + std::ptrdiff_t(produced));
  return out;
}

void TVireoXyz::LoadFromStream(std::istream& stream) {
  std::vector<std::uint8_t> data = VireoReadStream(stream);
  VireoDecodeXyz(*this, data.data(), data.size());
}

void TVireoXyz::SaveToStream(std::ostream& stream) const {
  VireoWriteStream(stream, VireoEncodeXyz(*this));
}

void LoadXyzFile(TVireoBitmap& bitmap, const std::filesystem::path& fileName) {
  std::vector<std::uint8_t> data = VireoReadFile(fileName);
  VireoDecodeXyz(bitmap, data.data(), data.size());
}

void SaveXyzFile(const TVireoBitmap& bitmap, const std::filesystem::path& fileName) {
  VireoWriteFileAtomic(fileName, VireoEncodeXyz(bitmap));
}
