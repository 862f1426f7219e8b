// The diagnostics switch through the plug-in DLL: with QXTrace on, each
// decision writes its line of debug output, caught here as the debug-print
// exception a vectored handler sees; with it off or 0, nothing; never a
// password or user name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/private_devmode.h"
#include "optiontree/fake_driver.h"
#include "printersettings/user_nation.h"
#include "support/message_box_catcher.h"
#include "support/plugin_test.h"
#include "support/test_printer.h"

#ifndef DBG_PRINTEXCEPTION_WIDE_C
#define DBG_PRINTEXCEPTION_WIDE_C 0x4001000A
#endif

namespace {

using qxtest::OnPort;
using qxtest::TestPrinter;

// Every line of debug output the process writes while it lives; the quillex
// ones in `lines`.
class DebugOutputCatcher {
 public:
  DebugOutputCatcher() {
    caught_ = &lines;
    handler_ = AddVectoredExceptionHandler(1, Handler);
  }
  ~DebugOutputCatcher() {
    RemoveVectoredExceptionHandler(handler_);
    caught_ = nullptr;
  }
  std::string All() const {
    std::string all;
    for (const std::wstring &line : lines) all += std::string(line.begin(), line.end());
    return all;
  }
  std::vector<std::wstring> lines;

 private:
  // The wide exception carries the text as given; the narrow one (which
  // Windows raises too, for older debuggers) a converted copy.
  static LONG CALLBACK Handler(EXCEPTION_POINTERS *info) {
    const EXCEPTION_RECORD *record = info->ExceptionRecord;
    if (caught_ && record->NumberParameters >= 2) {
      std::wstring text;
      if (record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C)
        text = reinterpret_cast<const wchar_t *>(record->ExceptionInformation[1]);
      else if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && !sawWide_)
        for (const char *c = reinterpret_cast<const char *>(record->ExceptionInformation[1]); *c; ++c) text += *c;
      sawWide_ = sawWide_ || record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C;
      if (text.rfind(L"quillex: ", 0) == 0) caught_->push_back(text);
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }
  static inline std::vector<std::wstring> *caught_ = nullptr;
  static inline bool sawWide_ = false;
  PVOID handler_ = nullptr;
};

class TraceTest : public qxtest::PluginTest {
 protected:
  INT StartDocPost(TestPrinter &printer, const wchar_t *password) {
    auto devmode = qxtest::MakeDevmode(qx::kPrivateDevmodeSize);
    auto *block = reinterpret_cast<qx::PrivateDevmode *>(devmode.data() + sizeof(DEVMODEW));
    EXPECT_TRUE(qxtest::DefaultPrivateBlock(plugin_, block));
    block->dwReserveJobType = 5;
    for (size_t i = 0; password[i]; ++i) block->wszReservePassword[i] = password[i];
    // Access control on, with a user name and password that must never show.
    block->bAccessControl = 1;
    for (size_t i = 0; kUser[i]; ++i) block->wszAccessUserName[i] = kUser[i];
    for (size_t i = 0; kAccessPassword[i]; ++i) block->szAccessPassword[i] = kAccessPassword[i];
    HANDLE jobPrinter = nullptr;
    DWORD job = printer.StartJob(reinterpret_cast<const DEVMODEW *>(devmode.data()), &jobPrinter);
    INT result = 0x5eed;
    EXPECT_EQ(plugin_->DocumentEvent(jobPrinter, nullptr, DOCUMENTEVENT_STARTDOCPOST, sizeof job, &job, 0, nullptr,
                                     &result), S_OK);
    if (jobPrinter) {
      AbortPrinter(jobPrinter);
      ClosePrinter(jobPrinter);
    }
    return result;
  }
  HRESULT Initialize(const TestPrinter &printer) {
    return plugin_->PrinterEvent(const_cast<PWSTR>(printer.name().c_str()), PRINTER_EVENT_INITIALIZE, 0, 0);
  }
  static constexpr wchar_t kUser[] = L"alice.secretary";
  static constexpr char kAccessPassword[] = "Tr0ub4dor";
};

TEST_F(TraceTest, OffOrZeroWritesNothing) {
  TestPrinter printer(L"qx trace off", OnPort(L"LPT1:"));
  ASSERT_TRUE(printer.ok());
  qxtest::MessageBoxCatcher boxes;
  for (bool zero : {false, true}) {
    if (zero) printer.SetDword(L"QXTrace", 0);
    DebugOutputCatcher output;
    EXPECT_EQ(Initialize(printer), S_OK);
    EXPECT_EQ(StartDocPost(printer, L"12ab"), DOCUMENTEVENT_FAILURE);
    EXPECT_TRUE(output.lines.empty()) << output.All();
  }
}

TEST_F(TraceTest, InstallationAndPrintStartSayWhatTheyDecidedAndNoSecret) {
  TestPrinter printer(L"qx trace on", OnPort(L"LPT1:"));
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXTrace", 1);
  qxtest::UserNation nation(244);
  qxtest::MessageBoxCatcher boxes;
  DebugOutputCatcher output;

  EXPECT_EQ(Initialize(printer), S_OK);
  EXPECT_EQ(StartDocPost(printer, L"12ab"), DOCUMENTEVENT_FAILURE);
  EXPECT_EQ(StartDocPost(printer, L"1234"), DOCUMENTEVENT_SUCCESS);
  ASSERT_EQ(output.lines.size(), 3u) << output.All();
  EXPECT_EQ(output.lines[0], L"quillex: password form: console user's nation 244, QXRegion 5 (from 0) written\n");
  EXPECT_NE(output.lines[1].find(L"refused: password not of the printer's form (four digits); message shown "
                                 L"(shared no, raw-only no)"), std::wstring::npos) << output.All();
  EXPECT_NE(output.lines[2].find(L"accepted: not confidential, or its password has the printer's form (four digits)"),
            std::wstring::npos) << output.All();
  const std::string all = output.All();
  for (const char *secret : {"12ab", "1234", "alice", "Tr0ub4dor"}) EXPECT_EQ(all.find(secret), std::string::npos) << secret;
}

TEST_F(TraceTest, FilePortAndRemotePrinterAreNamedAsTheReason) {
  TestPrinter file(L"qx trace file", OnPort(L"FILE:"));
  TestPrinter session(L"qx trace session", OnPort(L"TS001", PRINTER_ATTRIBUTE_TS | PRINTER_ATTRIBUTE_LOCAL));
  ASSERT_TRUE(file.ok() && session.ok());
  file.SetDword(L"QXTrace", 1);
  file.SetDword(L"QXRegion", 1);
  session.SetDword(L"QXTrace", 1);
  DebugOutputCatcher output;
  EXPECT_EQ(StartDocPost(file, L"12ab"), DOCUMENTEVENT_SUCCESS);
  EXPECT_EQ(Initialize(session), S_OK);
  ASSERT_EQ(output.lines.size(), 2u) << output.All();
  EXPECT_NE(output.lines[0].find(L"but port \"FILE:\" prints nothing"), std::wstring::npos) << output.All();
  EXPECT_EQ(output.lines[1], L"quillex: installation: " + session.name() + L" is a remote printer, left alone\n");
}

TEST_F(TraceTest, ThePpdReadAndTheExcludedOptionsCount) {
  qxtest::TestPrinterOptions options;
  options.ppdFile = L"optiontree\\quillex-sample.ppd";
  TestPrinter printer(L"qx trace ppd", options);
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXTrace", 1);
  qxtest::FakeDriverUI driver;
  driver.settings = {{"QXTrayUnit", "None"}};
  ASSERT_EQ(plugin_->PublishDriverInterface(&driver), S_OK);
  OEMUIOBJ uiobj = {sizeof uiobj, nullptr};
  qxtest::DriverItems items;
  OEMCUIPPARAM param = qxtest::SheetParam(items, &uiobj, loader_.module(), printer.handle());
  DebugOutputCatcher output;
  qxtest::OpenSheet(plugin_, &param);
  ASSERT_EQ(output.lines.size(), 2u) << output.All();
  // The printer's own copy of the sample, in the driver directory.
  EXPECT_EQ(output.lines[0].rfind(L"quillex: PPD C:\\windows\\system32\\spool\\drivers\\", 0), 0u) << output.All();
  EXPECT_NE(output.lines[0].find(L".ppd: 8 features, 7 constraints, read in "), std::wstring::npos) << output.All();
  EXPECT_EQ(output.lines[1], L"quillex: installed hardware excludes 6 options\n");
  plugin_->Release();
  plugin_ = nullptr;
}

}  // namespace
