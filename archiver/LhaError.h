// The one error type of the archiver. Each failure carries a result code for Unlha and a
// Spanish message (UTF-8) for whoever shows it.
#pragma once
#include <stdexcept>
#include <string>

enum TLhaResult : int {
  LhaOk = 0,
  LhaBadCommand = 1,    // command line or response file not understood
  LhaFileError = 2,     // a file or folder could not be read or written
  LhaBadArchive = 3,    // the archive is damaged or uses something we do not read
  LhaUnsafeEntry = 4,   // an entry would land outside the destination folder
  LhaBadName = 5,       // a name that Windows-1252 cannot hold, or that no archive can store
  LhaInternal = 9,      // anything unexpected (out of memory, a bug)
};

class ELhaError : public std::runtime_error {
 public:
  ELhaError(TLhaResult code, const std::string& message)
      : std::runtime_error(message), Code(code) {}
  TLhaResult Code;
};
