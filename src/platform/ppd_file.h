// The printer's PPD file, opened and read with the system's own file calls:
// the C runtime's open asks for the file's type and device as well, and
// under Wine every such call costs.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/win_handles.h"
#include "ppd/ppd_model.h"

namespace qx {

class PpdFile {
 public:
  // Opened for reading and shared with every other reader, writer and
  // deleter (the spooler may hold the driver's files open), as the C runtime
  // shares it. A folder is not opened.
  explicit PpdFile(const wchar_t *path);
  PpdFile(const PpdFile &) = delete;
  PpdFile &operator=(const PpdFile &) = delete;

  bool opened() const { return static_cast<bool>(file_); }
  // Why the open or the first failing read failed; 0 when nothing failed.
  DWORD error() const { return error_; }

  // The rest of the file as a model (ReadPpdModelFromBlocks); a failing
  // read ends the input there. An unopened file gives an empty model.
  std::unique_ptr<PpdModel> ReadModel();

  // Fills the block unless the file ends or a read fails, as fread does;
  // the bytes read.
  size_t Read(unsigned char *into, size_t bytes);

 private:

  FileHandle file_;
  DWORD error_ = 0;
};

}  // namespace qx
