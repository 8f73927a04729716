// The command lines of Unlha: "a" (pack, with a response file), "x" (extract), "l" (list),
// "t" (test). Command lines and response files are Windows-1252 bytes.
#pragma once
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "LhaArchive.h"

// What a response file (or the names on a command line) asks to pack. A quoted line is a
// base folder; the bare names after it (files, folders, or a last component with '*' and '?')
// are taken relative to it and stored with that relative path.
class TLhaPackList {
 public:
  TLhaPackList(bool recurse, bool folderEntries, std::filesystem::path exclude)
      : Recurse(recurse), FolderEntries(folderEntries), Exclude(std::move(exclude)) {}
  void SetBase(const std::string& cp1252Folder);
  void AddName(const std::string& cp1252Name);
  void AddResponseFile(const std::filesystem::path& file);
  const std::vector<TLhaPackItem>& Items() const { return List; }

 private:
  void addPath(const std::string& name, const std::filesystem::path& source);
  void addFolderTree(const std::string& name, const std::filesystem::path& folder);
  void addFile(const std::string& name, const std::filesystem::path& source);
  void addFolder(const std::string& name, const std::filesystem::path& source);
  bool Recurse, FolderEntries;
  std::filesystem::path Exclude;
  std::filesystem::path Base = ".";
  std::vector<TLhaPackItem> List;
  std::unordered_map<std::string, size_t> Index;
};

// Runs one command line. Returns 0 on success, a TLhaResult otherwise; never throws.
// `output` receives the listing of "l" or the error message (UTF-8).
int RunUnlha(const std::string& cmdLine, std::string& output);
