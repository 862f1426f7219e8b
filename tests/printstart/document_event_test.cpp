// Document events through the plug-in object, against real printers in Wine's
// spooler: the print-start check of confidential jobs and its message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/private_devmode.h"
#include "support/message_box_catcher.h"
#include "support/plugin_test.h"
#include "support/test_printer.h"
#include "support/version_child.h"

namespace {

using qxtest::MessageBoxCatcher;
using qxtest::OnPort;
using qxtest::TestPrinter;
using qxtest::TestPrinterOptions;

constexpr wchar_t kRefusalText[] =
    L"Cannot print the password protected job because the password format is incorrect.\nReenter the password.";
constexpr DWORD kNumeric = 1;         // QXRegion: four digits
constexpr DWORD kEightChars = 3;      // QXRegion: eight characters
constexpr DWORD kNumericChosen = 7;   // QXRegion: form switchable, four digits chosen
constexpr DWORD kShared = 0x8, kRawOnly = 0x1000;

// A job devmode whose plug-in block, the plug-in's default, asks for a
// confidential job.
std::vector<BYTE> ConfidentialDevmode(IPrintOemUI2 *plugin, DWORD type, const wchar_t *password) {
  auto devmode = qxtest::MakeDevmode(qx::kPrivateDevmodeSize);
  auto *block = reinterpret_cast<qx::PrivateDevmode *>(devmode.data() + sizeof(DEVMODEW));
  EXPECT_TRUE(qxtest::DefaultPrivateBlock(plugin, block));
  block->dwReserveJobType = type;
  for (size_t i = 0; password[i] && i + 1 < qx::kTextUnits; ++i) block->wszReservePassword[i] = password[i];
  return devmode;
}

class DocumentEventTest : public qxtest::PluginTest {
 protected:
  // Starts a job with `devmode` on `printer`, raises the print-start event
  // for it through the plug-in, and returns the plug-in's answer.
  INT StartDocPost(TestPrinter &printer, const std::vector<BYTE> &devmode) {
    HANDLE jobPrinter = nullptr;
    DWORD job = printer.StartJob(reinterpret_cast<const DEVMODEW *>(devmode.data()), &jobPrinter);
    EXPECT_NE(job, 0u) << "StartDocPrinterW error " << GetLastError();
    INT result = 0x5eed;
    EXPECT_EQ(plugin_->DocumentEvent(jobPrinter, nullptr, DOCUMENTEVENT_STARTDOCPOST, sizeof job, &job, 0, nullptr,
                                     &result),
              S_OK);
    if (jobPrinter) {
      AbortPrinter(jobPrinter);
      ClosePrinter(jobPrinter);
    }
    return result;
  }
  INT StartDocPost(TestPrinter &printer, DWORD type, const wchar_t *password) {
    return StartDocPost(printer, ConfidentialDevmode(plugin_, type, password));
  }

  // The refusal was shown once, as the message box the person printing sees.
  void ExpectRefusalShown(const MessageBoxCatcher &boxes, const TestPrinter &printer) {
    std::wstring seen;
    for (size_t i = 0; i < boxes.count(); ++i) seen += L"[" + boxes[i].caption + L": " + boxes[i].text + L"] ";
    ASSERT_EQ(boxes.count(), 1u) << std::string(seen.begin(), seen.end());
    EXPECT_EQ(boxes[0].text, kRefusalText);
    EXPECT_EQ(boxes[0].caption, printer.driverName());
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
  }
};

TEST_F(DocumentEventTest, NumericModeRefusesAnythingButFourDigits) {
  TestPrinter printer(L"qx numeric", OnPort(L"LPT1:"));
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXRegion", kNumeric);
  MessageBoxCatcher boxes;

  EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_FAILURE);
  ExpectRefusalShown(boxes, printer);
  boxes.Clear();
  EXPECT_EQ(StartDocPost(printer, 5, L"12345678"), DOCUMENTEVENT_FAILURE);
  EXPECT_EQ(StartDocPost(printer, 5, L"1234"), DOCUMENTEVENT_SUCCESS);
  EXPECT_EQ(StartDocPost(printer, 4, L"1234"), DOCUMENTEVENT_SUCCESS);
  EXPECT_EQ(boxes.count(), 1u);

  // Bits 0, 1 and 2: the administrator chose the numeric form.
  printer.SetDword(L"QXRegion", kNumericChosen);
  EXPECT_EQ(StartDocPost(printer, 5, L"1234"), DOCUMENTEVENT_SUCCESS);
  EXPECT_EQ(StartDocPost(printer, 5, L"abcdefgh"), DOCUMENTEVENT_FAILURE);
}

TEST_F(DocumentEventTest, EightCharacterModeTakesAnyEightCharacters) {
  TestPrinter printer(L"qx eight", OnPort(L"LPT1:"));
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXRegion", kEightChars);
  MessageBoxCatcher boxes;

  for (const wchar_t *password : {L"12345678", L"abcdefgh", L"ab12CD#4"})
    EXPECT_EQ(StartDocPost(printer, 5, password), DOCUMENTEVENT_SUCCESS) << password;
  EXPECT_EQ(boxes.count(), 0u);
  EXPECT_EQ(StartDocPost(printer, 5, L"1234"), DOCUMENTEVENT_FAILURE);
  ExpectRefusalShown(boxes, printer);
  // A numeric-only job cannot be printed in this mode at all.
  EXPECT_EQ(StartDocPost(printer, 4, L"1234"), DOCUMENTEVENT_FAILURE);

  // Without a readable QXRegion the printer is in eight-character mode.
  printer.RemoveData(L"QXRegion");
  EXPECT_EQ(StartDocPost(printer, 5, L"1234"), DOCUMENTEVENT_FAILURE);
  EXPECT_EQ(StartDocPost(printer, 5, L"abcdefgh"), DOCUMENTEVENT_SUCCESS);
  BYTE twoBytes[2] = {1, 0};  // not a DWORD: does not count
  printer.SetData(L"QXRegion", REG_BINARY, twoBytes, sizeof twoBytes);
  EXPECT_EQ(StartDocPost(printer, 5, L"abcdefgh"), DOCUMENTEVENT_SUCCESS);
}

TEST_F(DocumentEventTest, JobsWithoutPluginSettingsPrint) {
  TestPrinter printer(L"qx plain", OnPort(L"LPT1:"));
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXRegion", kNumeric);
  MessageBoxCatcher boxes;

  EXPECT_EQ(StartDocPost(printer, 0, L"x"), DOCUMENTEVENT_SUCCESS);
  // A block of another version, or none at all, is no plug-in settings.
  auto devmode = ConfidentialDevmode(plugin_, 5, L"x");
  reinterpret_cast<qx::PrivateDevmode *>(devmode.data() + sizeof(DEVMODEW))->dwVersion = 2;
  EXPECT_EQ(StartDocPost(printer, devmode), DOCUMENTEVENT_SUCCESS);
  EXPECT_EQ(StartDocPost(printer, qxtest::MakeDevmode(qx::kPrivateDevmodeSize)), DOCUMENTEVENT_SUCCESS);
  EXPECT_EQ(boxes.count(), 0u);

  // An unknown job, or no printer handle, lets the job go on.
  INT result = 0;
  DWORD noJob = 0x7fff0000;
  EXPECT_EQ(plugin_->DocumentEvent(printer.handle(), nullptr, DOCUMENTEVENT_STARTDOCPOST, 4, &noJob, 0, nullptr,
                                   &result),
            S_OK);
  EXPECT_EQ(result, DOCUMENTEVENT_SUCCESS);
  EXPECT_EQ(plugin_->DocumentEvent(nullptr, nullptr, DOCUMENTEVENT_STARTDOCPOST, 4, &noJob, 0, nullptr, &result),
            S_OK);
  EXPECT_EQ(result, DOCUMENTEVENT_SUCCESS);
}

TEST_F(DocumentEventTest, FileAndNullPortsAreNeverRefused) {
  MessageBoxCatcher boxes;
  for (const wchar_t *port : {L"FILE:", L"NUL", L"NUL:", L"NulPort"}) {
    TestPrinter printer(L"qx pseudo port", OnPort(port));
    ASSERT_TRUE(printer.ok());
    printer.SetDword(L"QXRegion", kNumeric);
    EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_SUCCESS) << port;
  }
  EXPECT_EQ(boxes.count(), 0u);
  // Port names are matched with case, and a list of ports is a real port.
  for (const wchar_t *port : {L"file:", L"FILE:,LPT1:"}) {
    TestPrinter printer(L"qx real port", OnPort(port));
    ASSERT_TRUE(printer.ok());
    printer.SetDword(L"QXRegion", kNumeric);
    EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_FAILURE) << port;
  }
  EXPECT_EQ(boxes.count(), 2u);
}

TEST_F(DocumentEventTest, SharedPrinterShowsTheRefusalOnlyWhenDespoolingOnTheClient) {
  TestPrinter printer(L"qx shared", OnPort(L"LPT1:", kShared));
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXRegion", kNumeric);
  MessageBoxCatcher boxes;

  printer.RemoveData(L"EMFDespoolingSetting");
  EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_FAILURE);
  printer.SetDword(L"EMFDespoolingSetting", 1);
  EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_FAILURE);
  BYTE zeroByte[1] = {0};  // not a DWORD: does not count
  printer.SetData(L"EMFDespoolingSetting", REG_BINARY, zeroByte, sizeof zeroByte);
  EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_FAILURE);
  EXPECT_EQ(boxes.count(), 0u);

  printer.SetDword(L"EMFDespoolingSetting", 0);
  EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_FAILURE);
  ExpectRefusalShown(boxes, printer);
}

// Refuses a malformed job on a shared, raw-only printer and reports whether
// the refusal was shown.
bool RawOnlyRefusalShown(IPrintOemUI2 *plugin) {
  TestPrinter printer(L"qx raw only", OnPort(L"LPT1:", kShared | kRawOnly));
  EXPECT_TRUE(printer.ok());
  printer.SetDword(L"QXRegion", kNumeric);
  printer.SetDword(L"EMFDespoolingSetting", 1);
  MessageBoxCatcher boxes;
  HANDLE jobPrinter = nullptr;
  auto devmode = ConfidentialDevmode(plugin, 5, L"12a4");
  DWORD job = printer.StartJob(reinterpret_cast<const DEVMODEW *>(devmode.data()), &jobPrinter);
  INT result = 0;
  plugin->DocumentEvent(jobPrinter, nullptr, DOCUMENTEVENT_STARTDOCPOST, 4, &job, 0, nullptr, &result);
  if (jobPrinter) {
    AbortPrinter(jobPrinter);
    ClosePrinter(jobPrinter);
  }
  EXPECT_EQ(result, DOCUMENTEVENT_FAILURE);
  return boxes.count() == 1;
}

OSVERSIONINFOW SystemVersion() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExW(&version);
  return version;
}

TEST_F(DocumentEventTest, SharedRawOnlyPrinterShowsTheRefusalBeforeVersion62) {
  if (qxtest::RunCurrentTestAs(L"win7")) return;
  OSVERSIONINFOW version = SystemVersion();
  ASSERT_EQ(version.dwMajorVersion, 6u);
  ASSERT_EQ(version.dwMinorVersion, 1u);
  EXPECT_TRUE(RawOnlyRefusalShown(plugin_));
}

TEST_F(DocumentEventTest, SharedRawOnlyPrinterRefusesSilentlyFrom62) {
  if (qxtest::RunCurrentTestAs(L"win8")) return;
  OSVERSIONINFOW version = SystemVersion();
  ASSERT_EQ(version.dwMajorVersion, 6u);
  ASSERT_EQ(version.dwMinorVersion, 2u);
  EXPECT_FALSE(RawOnlyRefusalShown(plugin_));
}

TEST_F(DocumentEventTest, RefusedSilentlyWithoutTheMessageModule) {
  MessageBoxCatcher boxes;
  TestPrinterOptions noIni = OnPort(L"LPT1:");
  noIni.ini.clear();
  TestPrinterOptions noKey = OnPort(L"LPT1:");
  noKey.ini = "[OEMFiles]\r\nOEMConfigFile2=quillex.dll\r\n[Other]\r\nOEMConfigFile1=quillex.dll\r\n";
  TestPrinterOptions missingModule = OnPort(L"LPT1:");
  missingModule.ini = "[OEMFiles]\r\nOEMConfigFile1=qx-missing.dll\r\n";
  TestPrinterOptions noStrings = OnPort(L"LPT1:");
  noStrings.ini = "[OEMFiles]\r\nOEMConfigFile1=qxtestdrv.dll\r\n";  // exists, has no refusal text
  for (const TestPrinterOptions &options : {noIni, noKey, missingModule, noStrings}) {
    TestPrinter printer(L"qx no message", options);
    ASSERT_TRUE(printer.ok());
    printer.SetDword(L"QXRegion", kNumeric);
    EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_FAILURE);
  }
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DocumentEventTest, FirstConfigurationFileWithTheKeyNamesTheMessageModule) {
  MessageBoxCatcher boxes;
  TestPrinterOptions options = OnPort(L"LPT1:");
  options.ini.clear();
  options.extraFiles = {
      {L"_a.INI", "[OEMFiles]\r\nOEMConfigFile2=qx-missing.dll\r\n"},  // no key: the next file is asked
      {L"_b.txt", "[OEMFiles]\r\nOEMConfigFile1=qx-missing.dll\r\n"},  // not a configuration file
      {L"_c.Ini", "[OEMFiles]\r\nOEMConfigFile1=quillex.dll\r\n"},
  };
  {
    TestPrinter printer(L"qx first ini", options);
    ASSERT_TRUE(printer.ok());
    printer.SetDword(L"QXRegion", kNumeric);
    EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_FAILURE);
    ExpectRefusalShown(boxes, printer);
  }
  // The first file with the key decides, even when its module is missing.
  boxes.Clear();
  options.extraFiles.insert(options.extraFiles.begin(), {L"_0.ini", "[OEMFiles]\r\nOEMConfigFile1=qx-missing.dll\r\n"});
  TestPrinter printer(L"qx first ini decides", options);
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXRegion", kNumeric);
  EXPECT_EQ(StartDocPost(printer, 5, L"12a4"), DOCUMENTEVENT_FAILURE);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DocumentEventTest, DeviceContextEvents) {
  TestPrinter printer(L"qx dc events");
  ASSERT_TRUE(printer.ok());
  auto event = [&](HANDLE h, INT esc, PVOID in, PVOID out) {
    INT result = 0x5eed;
    EXPECT_EQ(plugin_->DocumentEvent(h, nullptr, esc, 0, in, 0, out, &result), S_OK);
    return result;
  };
  DEVMODEW devmode = {};
  DEVMODEW *handedOut = &devmode;
  for (INT pre : {DOCUMENTEVENT_CREATEDCPRE, DOCUMENTEVENT_RESETDCPRE}) {
    handedOut = &devmode;
    EXPECT_EQ(event(printer.handle(), pre, &devmode, &handedOut), DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(handedOut, nullptr);  // the driver keeps its own devmode
    handedOut = &devmode;
    EXPECT_EQ(event(printer.handle(), pre, &devmode, nullptr), DOCUMENTEVENT_FAILURE);
    EXPECT_EQ(event(printer.handle(), pre, nullptr, &handedOut), DOCUMENTEVENT_FAILURE);
    EXPECT_EQ(event(nullptr, pre, &devmode, &handedOut), DOCUMENTEVENT_FAILURE);
    EXPECT_EQ(handedOut, &devmode);
  }
  for (INT post : {DOCUMENTEVENT_CREATEDCPOST, DOCUMENTEVENT_RESETDCPOST}) {
    DEVMODEW *none = nullptr;
    EXPECT_EQ(event(printer.handle(), post, &none, nullptr), DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(event(printer.handle(), post, nullptr, nullptr), DOCUMENTEVENT_FAILURE);
  }
  EXPECT_EQ(event(printer.handle(), DOCUMENTEVENT_STARTDOC, nullptr, nullptr), DOCUMENTEVENT_SUCCESS);
  EXPECT_EQ(event(printer.handle(), DOCUMENTEVENT_STARTDOCPOST, nullptr, nullptr), DOCUMENTEVENT_FAILURE);
  for (INT other : {DOCUMENTEVENT_STARTPAGE, DOCUMENTEVENT_ENDPAGE, DOCUMENTEVENT_ENDDOC, DOCUMENTEVENT_ABORTDOC,
                    DOCUMENTEVENT_DELETEDC, DOCUMENTEVENT_ESCAPE, DOCUMENTEVENT_ENDDOCPOST,
                    DOCUMENTEVENT_QUERYFILTER, 0, 99})
    EXPECT_EQ(event(printer.handle(), other, &devmode, &handedOut), DOCUMENTEVENT_UNSUPPORTED) << other;
}

// The refusal text in the string table of one language.
std::wstring RefusalTextIn(HMODULE module, LANGID language) {
  constexpr UINT kId = 25014;
  HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(kId / 16 + 1), language);
  if (!found) return L"";
  auto *entry = static_cast<const WCHAR *>(LockResource(LoadResource(module, found)));
  for (UINT i = 0; i < kId % 16; ++i) entry += 1 + *entry;  // length-prefixed strings
  return std::wstring(entry + 1, *entry);
}

TEST(RefusalText, EveryLanguageHasItsOwn) {
  qxtest::PluginLoader loader;
  HMODULE module = loader.module();
  ASSERT_NE(module, nullptr);
  std::wstring english = RefusalTextIn(module, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  EXPECT_EQ(english, kRefusalText);
  EXPECT_EQ(RefusalTextIn(module, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)),
            L"Der kennwortgesch\u00fctzte Auftrag kann nicht gedruckt werden, weil das Kennwortformat falsch ist.\n"
            L"Geben Sie das Kennwort erneut ein.");
  EXPECT_EQ(RefusalTextIn(module, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)),
            L"\u30d1\u30b9\u30ef\u30fc\u30c9\u306e\u5f62\u5f0f\u304c\u6b63\u3057\u304f\u306a\u3044\u305f\u3081\u3001"
            L"\u30d1\u30b9\u30ef\u30fc\u30c9\u3067\u4fdd\u8b77\u3055\u308c\u305f\u30b8\u30e7\u30d6\u3092\u5370\u5237"
            L"\u3067\u304d\u307e\u305b\u3093\u3002\n\u30d1\u30b9\u30ef\u30fc\u30c9\u3092\u5165\u529b\u3057\u76f4\u3057"
            L"\u3066\u304f\u3060\u3055\u3044\u3002");
  const LANGID others[] = {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN),
                           MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH),
                           MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN),
                           MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)};
  for (LANGID language : others) {
    std::wstring text = RefusalTextIn(module, language);
    EXPECT_NE(text.find(L'\n'), std::wstring::npos) << language;
    EXPECT_NE(text, english) << language;
  }
}

}  // namespace
