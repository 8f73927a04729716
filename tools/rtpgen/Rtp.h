// The run-time package: every material the generator writes, by folder and bare name. The
// default database refers to these names, and the tests check both against each other.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct TRtpMaterial {
  std::string Folder;  // one of the fourteen material folders
  std::string Name;    // bare name, as the database refers to it
  std::string Extension;
  int Width = 0, Height = 0;  // pictures: the expected size (0 for sizes that vary)
};

// Everything GenerateRtp writes, in writing order.
const std::vector<TRtpMaterial>& RtpMaterials();
// Writes the package into `folder` (created when missing). Deterministic: the same bytes on
// every run and machine.
void GenerateRtp(const std::filesystem::path& folder);
