#include "platform/ppd_file.h"

namespace qx {

PpdFile::PpdFile(const wchar_t *path)
    : file_(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
  if (!file_) error_ = GetLastError();
}

std::unique_ptr<PpdModel> PpdFile::ReadModel() {
  return ReadPpdModelFromBlocks(
      [](void *self, unsigned char *into, size_t bytes) { return static_cast<PpdFile *>(self)->Read(into, bytes); },
      this);
}

// Blocks far below 4 GiB, whatever the file's size: no size is asked for,
// and a file that grows or shrinks while it is read ends where a read ends.
size_t PpdFile::Read(unsigned char *into, size_t bytes) {
  size_t got = 0;
  while (file_ && got < bytes) {
    DWORD part = 0;
    const DWORD want = static_cast<DWORD>(bytes - got < MAXDWORD ? bytes - got : MAXDWORD);
    if (!ReadFile(file_.get(), into + got, want, &part, nullptr)) {
      if (error_ == 0) error_ = GetLastError();
      break;
    }
    if (part == 0) break;
    got += part;
  }
  return got;
}

}  // namespace qx
