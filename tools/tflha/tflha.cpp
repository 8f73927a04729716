// tflha: the archiver from a terminal, through the same command lines the programs use.
//   tflha a ARCHIVE FOLDER     packs the folder's contents, stored relative to it
//   tflha a ARCHIVE @LIST      packs what a list file names
//   tflha x ARCHIVE [FOLDER]   extracts into FOLDER (default: the current folder)
//   tflha l ARCHIVE            lists the members
//   tflha t ARCHIVE            tests every member
// Arguments arrive in UTF-8 here and are handed on in Windows-1252, as the library expects.
#include <cstdio>
#include <filesystem>
#include <string>

#include "LhaError.h"
#include "LhaText.h"
#include "UnlhaCommand.h"

namespace {

int usage() {
  std::fputs("uso: tflha a ARCHIVO CARPETA|@LISTA | x ARCHIVO [CARPETA] | l ARCHIVO | t ARCHIVO\n",
             stderr);
  return 1;
}

bool toCp1252(const std::string& utf8, std::string& out) {
  if (LhaUtf8ToCp1252(utf8, out)) return true;
  std::fprintf(stderr, "tflha: \"%s\" no se puede escribir en Windows-1252\n", utf8.c_str());
  return false;
}

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string verb = argv[1];
  std::string archive, arg;
  if (!toCp1252(argv[2], archive)) return 5;
  std::string line;
  if (verb == "a" && argc == 4) {
    std::string what = argv[3];
    if (!what.empty() && what[0] == '@') {
      if (!toCp1252(what.substr(1), arg)) return 5;
      line = "a -+ -r2 -d " + inQuotes(archive) + " @" + arg;
    } else {
      // A folder: its contents, stored relative to it, as a one-base list would say.
      std::string folder;
      if (!toCp1252(std::filesystem::absolute(what).string(), folder)) return 5;
      try {
        TLhaPackList list(true, true, std::filesystem::weakly_canonical(argv[2]));
        list.SetBase(folder);
        list.AddName("*");
        LhaPack(argv[2], list.Items());
        return 0;
      } catch (const ELhaError& e) {
        std::fprintf(stderr, "tflha: %s\n", e.what());
        return e.Code;
      } catch (const std::exception& e) {
        std::fprintf(stderr, "tflha: %s\n", e.what());
        return 9;
      }
    }
  } else if (verb == "x" && (argc == 3 || argc == 4)) {
    if (argc == 4 && !toCp1252(argv[3], arg)) return 5;
    line = "x -+ " + inQuotes(archive) + (argc == 4 ? " " + inQuotes(arg) : "");
  } else if ((verb == "l" || verb == "t") && argc == 3) {
    line = verb + " " + inQuotes(archive);
  } else {
    return usage();
  }
  std::string out;
  int r = RunUnlha(line, out);
  if (r) std::fprintf(stderr, "tflha: %s\n", out.c_str());
  else std::fputs(out.c_str(), stdout);
  return r;
}
