// The character set cache: the character sheets that events on a map are drawn with.
#pragma once

#include "VireoSheet.h"

#include <memory>
#include <string>
#include <vector>

class TVudCharSetGraphic {
public:
  static constexpr int SheetWidth = 288;
  static constexpr int SheetHeight = 256;
  // A cache this size or larger drops sheets no longer in use.
  static constexpr int PurgeThreshold = 20;

  // The cached sheet's index (marked used); a new name is appended and loaded from the
  // "CharSet" folder. A missing file leaves an empty sheet, raised only outside lenient mode.
  int AcquireCharSet(const std::string& name);
  int IndexOfCharSet(const std::string& name) const;  // letter case ignored; -1 when absent
  TVireoSheet& CharSetSheet(int index) { return *FSheets.at(std::size_t(index)); }
  const std::string& Name(int index) const { return FNames.at(std::size_t(index)); }
  bool Used(int index) const { return FUsed.at(std::size_t(index)); }
  int Count() const { return int(FNames.size()); }

  void ClearUseMarks();
  // Frees unused entries (never the last) while the cache holds PurgeThreshold or more.
  void PurgeIdle();
  void ClearAll();

  // Top-left pixel of character c (0..7) of a sheet.
  static TVireoPoint CharacterOrigin(int character);

private:
  std::vector<std::string> FNames;
  std::vector<std::unique_ptr<TVireoSheet>> FSheets;
  std::vector<bool> FUsed;
};
