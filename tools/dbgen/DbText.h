// Database text is Windows-1252: the generator writes its Spanish texts as UTF-8 literals and
// converts them here.
#pragma once

#include "Cp1252.h"

#include <stdexcept>
#include <string>

inline std::string T(const char* utf8) {
  std::string out;
  if (!Utf8ToCp1252(utf8, out)) throw std::runtime_error(std::string("texto no representable: ") + utf8);
  return out;
}

class TVudVocabulary;
void BuildDefaultVocabulary(TVudVocabulary& v);
