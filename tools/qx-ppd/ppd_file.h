// How qx-ppd reaches PPD files: opened as the plug-in opens them, and the
// files under a folder for timing.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace qx {
namespace tools {

// Opens a PPD for ReadPpdModelFromFile as the plug-in does. The path is in
// the system's ANSI code page on Windows and opened through its wide form.
FILE *OpenPpdFile(const std::string &path);

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
