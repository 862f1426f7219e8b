#include "ppd_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace qx {
namespace tools {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
std::wstring Widen(const std::string &path) {
  int units = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], units);
  wide.resize(static_cast<size_t>(units) - 1);
  return wide;
}
#endif

}  // namespace

FILE *OpenPpdFile(const std::string &path) {
  // Binary: the reader folds line-end pairs and stops at 0x1A itself, as
  // the C runtime's text mode would.
#ifdef _WIN32
  std::wstring wide = Widen(path);
  return wide.empty() ? nullptr : _wfopen(wide.c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

void UseBinaryOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

std::vector<PpdFileEntry> FindPpdFiles(const std::string &dir) {
  std::vector<PpdFileEntry> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(fs::u8path(dir), error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    std::string extension = it->path().extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    if (extension != ".ppd") continue;
    long long size = static_cast<long long>(it->file_size(error));
    files.push_back({it->path().string(), error ? 0 : size});
  }
  std::sort(files.begin(), files.end(), [](const PpdFileEntry &a, const PpdFileEntry &b) { return a.path < b.path; });
  return files;
}

}  // namespace tools
}  // namespace qx
