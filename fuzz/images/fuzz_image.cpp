// libFuzzer target for the picture decoders. FUZZ_DECODER picks the entry point: the loader
// that goes by signature (all three formats), or one codec directly. Only the codecs' own
// errors may escape a decode; anything else (a crash, another exception, a huge allocation)
// is a finding. Decoded pictures go through the writers and the sheet as well.
#include "VireoBmp.h"
#include "VireoImageFile.h"
#include "VireoPng.h"
#include "VireoSheet.h"
#include "VireoXyz.h"

#include <cstdint>
#include <cstdlib>

namespace {

void decode(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size) {
#if defined(FUZZ_PNG)
  VireoDecodePng(bitmap, data, size);
#elif defined(FUZZ_XYZ)
  VireoDecodeXyz(bitmap, data, size);
#elif defined(FUZZ_BMP)
  VireoDecodeBmp(bitmap, data, size);
#else
  VireoDecodeImage(bitmap, data, size);
#endif
}

void exercise(const TVireoBitmap& bitmap) {
  if (bitmap.Empty() || std::int64_t(bitmap.Width()) * bitmap.Height() > 1 << 16) return;
  // Whatever we read, we must be able to write and read back identically.
  const std::vector<std::uint8_t> png = VireoEncodePng(bitmap);
  TVireoBitmap back;
  VireoDecodePng(back, png.data(), png.size());
  if (back.Width() != bitmap.Width() || back.Height() != bitmap.Height()) std::abort();
  if (bitmap.IsPaletted()) {
    TVireoSheet sheet;
    sheet.AutoSize = true;
    sheet.Transparent = true;
    sheet.Opacity = 100;
    sheet.LoadFromBitmap(bitmap.ConvertedTo8Bit(), {-1, 1});
    TVireoBoard board;
    board.SetSize(64, 48);
    board.DrawSheet(-3, 5, {-2, -2, 70, 70}, sheet);
    board.StretchSheet({-10, -10, 90, 33}, sheet, sheet.BoundsRect());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TVireoBitmap bitmap;
  try {
    decode(bitmap, data, size);
  } catch (const EVireoError&) {
    return 0;
  }
  exercise(bitmap);
  return 0;
}
