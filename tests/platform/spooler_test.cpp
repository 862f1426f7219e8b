// The spooler helpers against a real printer in Wine's spooler.
#include "platform/spooler.h"

#include <gtest/gtest.h>

#include "platform/private_devmode.h"
#include "platform/spooler_test_strings.h"
#include "support/plugin_loader.h"
#include "support/test_printer.h"

namespace {

using qxtest::TestPrinter;

TEST(ReadPrinterDword, CountsOnlyFourByteValues) {
  TestPrinter printer(L"qx dword");
  ASSERT_TRUE(printer.ok());
  BYTE two[2] = {1, 2}, eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  printer.SetDword(L"Four", 0x12345678);
  printer.SetData(L"Two", REG_BINARY, two, sizeof two);
  printer.SetData(L"Eight", REG_BINARY, eight, sizeof eight);

  DWORD out = 0xdeadbeef;
  EXPECT_EQ(qx::ReadPrinterDword(printer.handle(), L"Four", &out), 0u);
  EXPECT_EQ(out, 0x12345678u);
  out = 0xdeadbeef;
  EXPECT_EQ(qx::ReadPrinterDword(printer.handle(), L"Two", &out), 0xFFFFFFFFu);
  EXPECT_EQ(out, 0xdeadbeefu);
  EXPECT_EQ(qx::ReadPrinterDword(printer.handle(), L"Eight", &out), 0xFFFFFFFFu);
  EXPECT_EQ(out, 0xdeadbeefu);
  EXPECT_EQ(qx::ReadPrinterDword(printer.handle(), L"Missing", &out), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(out, 0xdeadbeefu);
  EXPECT_EQ(qx::ReadPrinterDword(printer.handle(), L"Four", nullptr), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(qx::ReadPrinterDword(nullptr, L"Four", &out), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(qx::ReadPrinterDword(printer.handle(), nullptr, &out), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(FetchInfo, PrinterAndDriverBlocks) {
  TestPrinter printer(L"qx fetch");
  ASSERT_TRUE(printer.ok());
  qx::SpoolerBlock<PRINTER_INFO_2W> info;
  ASSERT_EQ(qx::FetchPrinterInfo(printer.handle(), &info), S_OK);
  EXPECT_STREQ(info->pPrinterName, printer.name().c_str());
  EXPECT_STREQ(info->pPortName, L"FILE:");
  // An owner that already holds a block is refused and left alone.
  PRINTER_INFO_2W *before = info.get();
  EXPECT_EQ(qx::FetchPrinterInfo(printer.handle(), &info), E_INVALIDARG);
  EXPECT_EQ(info.get(), before);
  EXPECT_EQ(qx::FetchPrinterInfo(printer.handle(), nullptr), E_INVALIDARG);

  qx::SpoolerBlock<DRIVER_INFO_3W> driver;
  ASSERT_EQ(qx::FetchDriverInfo(printer.handle(), &driver), S_OK);
  EXPECT_STREQ(driver->pName, printer.driverName().c_str());
  ASSERT_NE(driver->pDependentFiles, nullptr);
  EXPECT_NE(wcsstr(driver->pDependentFiles, L".ini"), nullptr);
}

TEST(FetchInfo, JobCarriesItsDevmode) {
  TestPrinter printer(L"qx job");
  ASSERT_TRUE(printer.ok());
  auto devmode = qxtest::MakeDevmode(qx::kPrivateDevmodeSize);
  qx::InitPrivateDevmode(devmode.data() + sizeof(DEVMODEW));
  HANDLE jobPrinter = nullptr;
  DWORD job = printer.StartJob(reinterpret_cast<DEVMODEW *>(devmode.data()), &jobPrinter);
  ASSERT_NE(job, 0u) << GetLastError();

  qx::SpoolerBlock<JOB_INFO_2W> info;
  ASSERT_EQ(qx::FetchJobInfo(jobPrinter, job, &info), S_OK);
  EXPECT_EQ(info->JobId, job);
  ASSERT_NE(info->pDevMode, nullptr);
  EXPECT_EQ(info->pDevMode->dmDriverExtra, qx::kPrivateDevmodeSize);

  qx::SpoolerBlock<JOB_INFO_2W> none;
  EXPECT_EQ(qx::FetchJobInfo(jobPrinter, job + 1000, &none), E_FAIL);
  EXPECT_EQ(none, nullptr);
  EndDocPrinter(jobPrinter);
  ClosePrinter(jobPrinter);
}

std::wstring Letters(size_t length) {
  std::wstring text;
  for (size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
  return text;
}

// Strings that fill the first buffer (256 characters) and the second (512)
// are read again until they fit whole.
TEST(LoadHeapString, LongStringsAreReadWhole) {
  HMODULE self = GetModuleHandleW(nullptr);
  HANDLE heap = GetProcessHeap();
  for (UINT id : {IDS_TEST_256, IDS_TEST_300, IDS_TEST_512, IDS_TEST_600}) {
    const size_t length = id == IDS_TEST_256 ? 256 : id == IDS_TEST_300 ? 300 : id == IDS_TEST_512 ? 512 : 600;
    qx::HeapString s(heap, qx::LoadHeapString(self, heap, id));
    ASSERT_TRUE(s) << id;
    EXPECT_EQ(std::wstring(s.get()), Letters(length));
  }
}

// Without a driver heap the string comes from the process heap: a null heap
// never reaches HeapAlloc (which faults on Windows; Wine returns null).
TEST(LoadHeapString, WithoutDriverHeapUsesTheProcessHeap) {
  EXPECT_EQ(qx::PluginStringHeap(nullptr), GetProcessHeap());
  HANDLE driverHeap = HeapCreate(0, 0, 0);
  EXPECT_EQ(qx::PluginStringHeap(driverHeap), driverHeap);
  HeapDestroy(driverHeap);

  qx::HeapString s = qx::LoadPluginString(GetModuleHandleW(nullptr), nullptr, IDS_TEST_300);
  ASSERT_TRUE(s);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, s.get()));
  EXPECT_EQ(std::wstring(s.get()), Letters(300));
}

TEST(LoadHeapString, MissingStringIsEmptyNotNull) {
  HANDLE heap = GetProcessHeap();
  WCHAR *s = qx::LoadHeapString(GetModuleHandleW(nullptr), heap, 65000);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s[0], L'\0');
  HeapFree(heap, 0, s);
}

}  // namespace
