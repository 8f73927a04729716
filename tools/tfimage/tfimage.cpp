// tfimage: looks into and converts the editor's pictures (BMP, PNG, XYZ).
//   tfimage info FILE       format, size, bit depth and palette size
//   tfimage convert IN OUT  loads by signature, saves by OUT's extension
// Exit 0 on success, 1 with a one-line message on stderr otherwise.
#include "VireoImageFile.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

const char* const Usage =
    "Uso: tfimage COMANDO ...\n"
    "  info FILE         formato, tamaño, bits por píxel y colores de la paleta\n"
    "  convert IN OUT    convierte IN al formato que pide la extensión de OUT\n"
    "                    (.png, .xyz; cualquier otra: mapa de bits BMP)\n";

int info(const std::string& fileName) {
  std::vector<std::uint8_t> data = VireoReadFile(fileName);
  TVireoBitmap bitmap;
  VireoDecodeImage(bitmap, data.data(), data.size());
  std::printf("format: %s\nsize: %d x %d\nbits: %d\npalette: %zu\n",
              VireoFormatName(VireoFormatOfData(data.data(), data.size())), bitmap.Width(),
              bitmap.Height(), bitmap.BitCount(), bitmap.Palette.size());
  return 0;
}

int convert(const std::string& in, const std::string& out) {
  TVireoBitmap bitmap;
  LoadImageFile(bitmap, in);
  SaveImageFile(bitmap, out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--help" || command == "-h") {
    std::fputs(Usage, stdout);
    return 0;
  }
  try {
    if (command == "info" && argc == 3) return info(argv[2]);
    if (command == "convert" && argc == 4) return convert(argv[2], argv[3]);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "tfimage: memoria insuficiente\n");
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tfimage: %s\n", e.what());
    return 1;
  }
  std::fputs(Usage, stderr);
  return 1;
}
