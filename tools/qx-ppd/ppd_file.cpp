#include "ppd_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "ppd/ppd_reader.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/ppd_file.h"
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

#ifdef _WIN32
struct PpdInput::Impl {
  explicit Impl(const std::string &path) : file(Widen(path).c_str()) {}
  PpdFile file;
};

PpdInput::PpdInput(const std::string &path) : impl_(new Impl(path)) {}
bool PpdInput::opened() const { return impl_->file.opened(); }
std::unique_ptr<PpdModel> PpdInput::ReadModel() { return impl_->file.ReadModel(); }

std::string PpdInput::error() const {
  DWORD code = impl_->file.error();
  return code == 0 ? std::string() : "error " + std::to_string(code);
}

long long ReadPpdBytes(const std::string &path) {
  static unsigned char block[FileByteSource::kBlockBytes];
  PpdFile file(Widen(path).c_str());
  long long sum = 0;
  while (size_t n = file.Read(block, sizeof block)) {
    sum += static_cast<long long>(n);
    if (n < sizeof block) break;
  }
  return sum;
}
#else
// Binary: the reader folds line-end pairs and stops at 0x1A itself, as the C
// runtime's text mode would.
struct PpdInput::Impl {
  explicit Impl(const std::string &path) : file(std::fopen(path.c_str(), "rb")), openError(file ? 0 : errno) {}
  ~Impl() {
    if (file != nullptr) std::fclose(file);
  }
  FILE *file;
  int openError;
  int readError = 0;
};

PpdInput::PpdInput(const std::string &path) : impl_(new Impl(path)) {}
bool PpdInput::opened() const { return impl_->file != nullptr; }

std::unique_ptr<PpdModel> PpdInput::ReadModel() {
  std::unique_ptr<PpdModel> model = ReadPpdModelFromFile(impl_->file);  // none: an empty model
  if (impl_->file != nullptr && std::ferror(impl_->file)) impl_->readError = errno != 0 ? errno : EIO;
  return model;
}

std::string PpdInput::error() const {
  int code = impl_->openError != 0 ? impl_->openError : impl_->readError;
  return code == 0 ? std::string() : std::strerror(code);
}

long long ReadPpdBytes(const std::string &path) {
  static unsigned char block[FileByteSource::kBlockBytes];
  FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return 0;
  long long sum = 0;
  while (size_t n = std::fread(block, 1, sizeof block, file)) sum += static_cast<long long>(n);
  std::fclose(file);
  return sum;
}
#endif

PpdInput::~PpdInput() = default;

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
