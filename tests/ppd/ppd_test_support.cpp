#include "ppd_test_support.h"

#include <algorithm>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

namespace qx {
namespace test {

std::string SampleDirectory() {
#ifdef _WIN32
  // Wine maps the Unix root to drive Z:.
  return std::string("Z:") + QX_TEST_SOURCE_DIR + "/tests/data/ppd";
#else
  const char *root = std::getenv("QX_SOURCE_DIR");
  return std::string(root ? root : QX_TEST_SOURCE_DIR) + "/tests/data/ppd";
#endif
}

std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
#ifdef _WIN32
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((SampleDirectory() + "/*.ppd").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do names.push_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
  }
#else
  if (DIR *dir = opendir(SampleDirectory().c_str())) {
    while (dirent *entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".ppd") == 0) names.push_back(name);
    }
    closedir(dir);
  }
#endif
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadWholeFile(const std::string &path) {
  std::string data;
  if (FILE *file = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, n);
    std::fclose(file);
  }
  return data;
}

unsigned long ProcessId() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(getpid());
#endif
}

std::string TextModeBytes(const std::string &raw) {
  std::string out;
  for (size_t i = 0; i < raw.size() && raw[i] != '\x1a'; ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    out += raw[i];
  }
  return out;
}

}  // namespace test
}  // namespace qx
