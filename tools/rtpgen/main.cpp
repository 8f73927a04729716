// rtpgen: writes the run-time package of standard materials.
//   rtpgen FOLDER
#include "Rtp.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Uso: rtpgen CARPETA\n");
    return 1;
  }
  try {
    GenerateRtp(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rtpgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
