#include "GR_CharSet.h"

#include "GR_ChipSet.h"
#include "VudError.h"

#include <algorithm>
#include <cctype>

namespace {
bool sameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}
}  // namespace

int TVudCharSetGraphic::AcquireCharSet(const std::string& name) {
  const int found = IndexOfCharSet(name);
  if (found >= 0) {
    FUsed[std::size_t(found)] = true;
    return found;
  }
  FNames.push_back(name);
  FUsed.push_back(true);
  auto sheet = std::make_unique<TVireoSheet>();
  sheet->SetSize(SheetWidth, SheetHeight);
  TVireoSheet& target = *sheet;
  FSheets.push_back(std::move(sheet));
  std::filesystem::path file = ResolveMaterial(name, "CharSet");
  if (file.empty()) file = UnresolvedMaterialPath(name);
  target.LoadFromFile(file, !LenientMode());
  return Count() - 1;
}

int TVudCharSetGraphic::IndexOfCharSet(const std::string& name) const {
  for (std::size_t i = 0; i < FNames.size(); ++i)
    if (sameNoCase(FNames[i], name)) return int(i);
  return -1;
}

void TVudCharSetGraphic::ClearUseMarks() {
  std::fill(FUsed.begin(), FUsed.end(), false);
}

void TVudCharSetGraphic::PurgeIdle() {
  std::size_t i = 0;
  while (Count() >= PurgeThreshold && i + 1 < FNames.size()) {
    if (FUsed[i]) {
      ++i;
      continue;
    }
    FNames.erase(FNames.begin() + std::ptrdiff_t(i));
    FSheets.erase(FSheets.begin() + std::ptrdiff_t(i));
    FUsed.erase(FUsed.begin() + std::ptrdiff_t(i));
  }
}

void TVudCharSetGraphic::ClearAll() {
  FNames.clear();
  FSheets.clear();
  FUsed.clear();
}

TVireoPoint TVudCharSetGraphic::CharacterOrigin(int character) {
  character = std::clamp(character, 0, 7);
  return {72 * (character % 4), 128 * (character / 4)};
}
