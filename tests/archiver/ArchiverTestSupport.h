// Helpers shared by the archiver tests: private temporary folders, files, and running the
// independent LHA readers (lhasa, bsdtar) as separate programs.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

class TTempDir {
 public:
  TTempDir() {
    std::random_device rd;
    for (;;) {
      Path = fs::temp_directory_path() / ("tf-archiver-test-" + std::to_string(rd()));
      if (fs::create_directory(Path)) break;
    }
  }
  ~TTempDir() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  fs::path operator/(const std::string& s) const { return Path / s; }
  fs::path Path;
};

inline void writeFile(const fs::path& p, const std::string& data) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << data;
}

inline std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline std::string randomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = char(rng() & 0xFF);
  return s;
}

// The full path of a program on PATH, or empty.
inline std::string findTool(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream ss(path ? path : "");
  std::string dir;
  while (std::getline(ss, dir, ':')) {
    fs::path p = fs::path(dir) / name;
    std::error_code ec;
    if (!dir.empty() && fs::is_regular_file(p, ec)) return p.string();
  }
  return {};
}

inline std::string shellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct TRun {
  int Status = -1;
  std::string Output;
};

// Runs a shell command in `cwd`, stdout and stderr captured in a file of `scratch`.
inline TRun runCommand(const std::string& cmd, const fs::path& cwd, const fs::path& scratch) {
  fs::path log = scratch / "command-output.txt";
  std::string line = "cd " + shellQuote(cwd.string()) + " && " + cmd + " >" +
                     shellQuote(log.string()) + " 2>&1";
  TRun r;
  r.Status = std::system(line.c_str());
  r.Output = readFile(log);
  fs::remove(log);
  return r;
}

// The peers must be there: CI installs them (tools/bootstrap.sh).
inline std::string requireTool(const std::string& name) {
  std::string p = findTool(name);
  EXPECT_FALSE(p.empty()) << name << " is not installed (tools/bootstrap.sh installs it)";
  return p;
}
