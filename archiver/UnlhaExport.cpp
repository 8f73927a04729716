// The one entry point of UNLHA32.DLL. Nothing but a result code leaves it.
#include <cstring>
#include <string>

#include "LhaText.h"
#include "UnlhaCommand.h"

#if defined(_WIN32)
#define UNLHA_EXPORT __declspec(dllexport)
#else
#define UNLHA_EXPORT __attribute__((visibility("default")))
#endif

extern "C" UNLHA_EXPORT int Unlha(void* owner, const char* cmdLine, char* out,
                                  unsigned long outSize) {
  (void)owner;   // no window: nothing is shown while packing or extracting
  try {
    std::string text;
    int result = cmdLine ? RunUnlha(cmdLine, text) : 1;
    if (out && outSize > 0) {
      // The caller's buffer gets Windows-1252 text like everything else it hands us.
      std::string bytes;
      if (!LhaUtf8ToCp1252(text, bytes)) bytes = text;
      size_t n = std::min<size_t>(bytes.size(), size_t(outSize) - 1);
      std::memcpy(out, bytes.data(), n);
      out[n] = '\0';
    }
    return result;
  } catch (...) {
    return 9;
  }
}
