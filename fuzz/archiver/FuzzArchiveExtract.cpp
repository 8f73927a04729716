// Extraction's reading side on arbitrary bytes: every header, every path check, every
// decoder and CRC, without touching the disk. Any crash, sanitizer report or runaway
// allocation is a bug; ELhaError is the expected answer to garbage.
//   build-archiver-fuzz/fuzz/fuzz_archive_extract -max_total_time=300 -rss_limit_mb=512 \
//       CORPUS_DIR tests/data/archiver
#include <cstdint>
#include <sstream>
#include <string>

#include "LhaArchive.h"
#include "LhaCodec.h"
#include "LhaError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  TLhaReader reader(in, size);
  TLhaEntry e;
  try {
    for (int n = 0; n < 256 && reader.Next(e); ++n) {
      try {
        LhaSafeComponents(e.Path);
      } catch (const ELhaError&) {
      }
      // Decoding is bounded only by the claimed size; keep each run short.
      if (e.OriginalSize <= (1u << 20)) {
        try {
          reader.ReadData(e, [](const uint8_t*, size_t) {});
        } catch (const ELhaError&) {
        }
      }
    }
  } catch (const ELhaError&) {
  }
  return 0;
}
