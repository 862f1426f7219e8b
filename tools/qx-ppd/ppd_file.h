// How qx-ppd reaches PPD files: opened as the plug-in opens them, and the
// files under a folder for timing.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ppd/ppd_model.h"

namespace qx {
namespace tools {

// A PPD opened and read as the plug-in does it: on Windows with the system's
// file calls (the path is in the ANSI code page, opened through its wide
// form), natively through the C runtime.
class PpdInput {
 public:
  explicit PpdInput(const std::string &path);
  ~PpdInput();
  PpdInput(const PpdInput &) = delete;
  PpdInput &operator=(const PpdInput &) = delete;

  bool opened() const;
  // The whole file as a model.
  std::unique_ptr<PpdModel> ReadModel();
  // Why the open or a read failed; empty when nothing failed.
  std::string error() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Opens, reads in 64 KiB blocks and closes the file the way PpdInput does,
// and nothing else: the floor the file system sets. The bytes read.
long long ReadPpdBytes(const std::string &path);

// Standard output takes the bytes as they are (Windows would write CR LF
// for every line feed), so a dump is the same file in every build.
void UseBinaryOutput();

// Every *.ppd file under dir, sorted, with its size; empty when none.
struct PpdFileEntry {
  std::string path;
  long long size;
};
std::vector<PpdFileEntry> FindPpdFiles(const std::string &dir);

}  // namespace tools
}  // namespace qx
