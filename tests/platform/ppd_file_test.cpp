// The PPD file as the plug-in opens it with the system's file calls: shared
// with a writer that holds it open (the spooler may), read past the first
// block, and a folder or a missing file refused with the system's error.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/ppd_file.h"

namespace {

std::wstring TempPath(const wchar_t *name) {
  wchar_t dir[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir, n) + name + std::to_wstring(GetCurrentProcessId());
}

TEST(PpdFile, ReadsAFileAWriterHoldsOpenAndRefusesFoldersAndMissingFiles) {
  const std::wstring path = TempPath(L"qx_ppd_file_") + L".ppd";
  // Held open for writing and deleting while it is read.
  qx::FileHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  const std::string bytes = "*PPD-Adobe: \"4.3\"\r\n*% " + std::string(70000, 'x') +
                            "\r\n*ModelName: \"M\"\r\n\x1a*Product: \"(P)\"\r\n";
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(writer.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));

  SetLastError(0xdeadbeef);
  qx::PpdFile file(path.c_str());
  ASSERT_TRUE(file.opened());
  EXPECT_EQ(file.error(), 0u);
  std::unique_ptr<qx::PpdModel> model = file.ReadModel();
  ASSERT_NE(model, nullptr);
  EXPECT_TRUE(model->modelName.Equals(L"M"));   // after the first 64 KiB
  EXPECT_TRUE(model->product.IsEmpty());        // 0x1A ends the input
  EXPECT_EQ(file.error(), 0u);

  const std::wstring folder = TempPath(L"qx_ppd_folder_");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const struct {
    std::wstring path;
    DWORD error;
  } refused[] = {{folder, ERROR_ACCESS_DENIED}, {folder + L"\\missing.ppd", ERROR_FILE_NOT_FOUND}};
  for (const auto &c : refused) {
    SetLastError(0xdeadbeef);
    qx::PpdFile none(c.path.c_str());
    EXPECT_FALSE(none.opened());
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(none.error(), c.error);
    std::unique_ptr<qx::PpdModel> empty = none.ReadModel();  // empty, as for an empty file
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->FeatureCount(), 0);
    EXPECT_TRUE(empty->modelName.IsEmpty());
  }
  EXPECT_TRUE(RemoveDirectoryW(folder.c_str()));
  writer.reset();
  EXPECT_TRUE(DeleteFileW(path.c_str()));
}

}  // namespace
