// dbgen: writes the default database template.
//   dbgen TFPLAY.ldb.dat
#include "AtomicFile.h"
#include "DataBase.h"
#include "DefaultDataBase.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Uso: dbgen ARCHIVO\n");
    return 1;
  }
  try {
    TVudDataBase db;
    BuildDefaultDataBase(db);
    TWriter w;
    db.SaveImage(w);
    SaveFileAtomic(argv[1], w.Buf);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dbgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
