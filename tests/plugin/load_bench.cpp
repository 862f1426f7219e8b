// Load and lifetime figures: the plug-in loaded through its exports, driven
// by many threads at once, round after round and load after load, with the
// process's heap and handles counted between them.
//
//   plugin_load_bench [threads] [iterations] [rounds] [loads]
//
// Each iteration of a thread creates a plug-in object and calls GetInfo,
// DevMode, QueryColorProfile, the document events of a job, the sheet
// operation and, every tenth iteration, the print-start check of a printed
// and of a refused job, the printer event, the driver upgrade and both passes
// of CommonUIProp; the first thread then also shows the pages in a real sheet.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/private_devmode.h"
#include "optiontree/fake_driver.h"
#include "resource_ids.h"
#include "support/message_box_catcher.h"
#include "support/modeless_sheet.h"
#include "support/page_recorder.h"
#include "support/plugin_loader.h"
#include "support/process_counts.h"
#include "support/test_printer.h"
#include "support/thread_group.h"

namespace {

using qxtest::CountHandles;
using qxtest::CountHeaps;
using qxtest::HeapCounts;

constexpr DWORD kNumericRegion = 1;  // QXRegion: passwords of four digits

struct Totals {
  volatile LONG calls = 0;
  volatile LONG failures = 0;
};

// One call's outcome: counted, and counted as a failure when not as
// expected; the first few failures of a round are named.
void Count(Totals &totals, bool asExpected, const char *call) {
  InterlockedIncrement(&totals.calls);
  if (!asExpected && InterlockedIncrement(&totals.failures) <= 5) std::printf("  failed: %s\n", call);
}

// A job devmode over the plug-in's default block (a refused default shows
// as the job's failure).
std::vector<BYTE> JobDevmode(IPrintOemUI2 *plugin, const wchar_t *password) {
  auto devmode = qxtest::MakeDevmode(qx::kPrivateDevmodeSize);
  auto *block = reinterpret_cast<qx::PrivateDevmode *>(devmode.data() + sizeof(DEVMODEW));
  qxtest::DefaultPrivateBlock(plugin, block);
  block->dwReserveJobType = 5;  // confidential
  for (size_t i = 0; password[i]; ++i) block->wszReservePassword[i] = password[i];
  return devmode;
}

class Iteration {
 public:
  Iteration(const qxtest::PluginLoader &loader, qxtest::TestPrinter &printer, Totals &totals)
      : loader_(loader), printer_(printer), totals_(totals) {}

  // `withSheet`: this thread is the one that shows real sheets.
  void Run(bool withJobs, bool withSheet) {
    qxtest::FakeDriverUI driver;  // outlives the plug-in object, which keeps a reference
    IPrintOemUI2 *plugin = loader_.Create();
    Count(totals_, plugin != nullptr, "create");
    if (!plugin) return;
    Plain(plugin);
    Sheets(plugin);
    if (withJobs) {
      if (withSheet) Sheet(plugin);
      Job(plugin, L"1234", DOCUMENTEVENT_SUCCESS);
      Job(plugin, L"12a4", DOCUMENTEVENT_FAILURE);
      PrinterSettings(plugin);
      // Last: the plug-in keeps the block the driver passed until the next call.
      OptionTree(plugin, driver);
    }
    Count(totals_, plugin->Release() == 0, "Release");
  }

 private:
  void Plain(IPrintOemUI2 *plugin) {
    DWORD value = 0, needed = 0;
    Count(totals_, plugin->GetInfo(OEMGI_GETSIGNATURE, &value, sizeof value, &needed) == S_OK, "GetInfo signature");
    Count(totals_, plugin->GetInfo(OEMGI_GETVERSION, &value, sizeof value, &needed) == S_OK, "GetInfo version");
    Count(totals_, plugin->GetInfo(0x7fff, &value, sizeof value, &needed) == E_FAIL, "GetInfo unknown mode");
    std::vector<BYTE> in(qx::kPrivateDevmodeSize), out(qx::kPrivateDevmodeSize);
    OEMDMPARAM dm = {};
    dm.cbSize = sizeof dm;
    dm.pOEMDMIn = in.data();
    dm.pOEMDMOut = out.data();
    Count(totals_, plugin->DevMode(OEMDM_SIZE, &dm) == S_OK && dm.cbBufSize == qx::kPrivateDevmodeSize, "DevMode size");
    Count(totals_, plugin->DevMode(OEMDM_DEFAULT, &dm) == S_OK, "DevMode default");
    in = out;
    Count(totals_, plugin->DevMode(OEMDM_MERGE, &dm) == S_OK, "DevMode merge");
    wchar_t profile[32] = {};
    ULONG size = sizeof profile;
    FLONG flags = 0;
    Count(totals_, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, profile, &size,
                                             &flags) == S_OK, "QueryColorProfile");
    DEVMODEW *handedOut = reinterpret_cast<DEVMODEW *>(1);
    DEVMODEW *publicDm = nullptr;
    INT result = 0;
    Count(totals_, plugin->DocumentEvent(printer_.handle(), nullptr, DOCUMENTEVENT_CREATEDCPRE, sizeof publicDm,
                                         &publicDm, sizeof handedOut, &handedOut, &result) == S_OK &&
                       result == DOCUMENTEVENT_SUCCESS, "CREATEDCPRE");
    Count(totals_, plugin->DocumentEvent(printer_.handle(), nullptr, DOCUMENTEVENT_CREATEDCPOST, sizeof handedOut,
                                         &handedOut, 0, nullptr, &result) == S_OK &&
                       result == DOCUMENTEVENT_SUCCESS, "CREATEDCPOST");
    Count(totals_, plugin->DocumentEvent(printer_.handle(), nullptr, DOCUMENTEVENT_STARTDOC, 0, nullptr, 0, nullptr,
                                         &result) == S_OK &&
                       result == DOCUMENTEVENT_SUCCESS, "STARTDOC");
  }

  void Sheets(IPrintOemUI2 *plugin) {
    qxtest::PageRecorder recorder;
    PROPSHEETUI_INFO info = recorder.Info(PROPSHEETUI_REASON_INIT);
    Count(totals_, plugin->DocumentPropertySheets(&info, 0) == S_OK && recorder.contexts.size() == 2, "sheets INIT");
    info = recorder.Info(PROPSHEETUI_REASON_DESTROY);
    Count(totals_, plugin->DocumentPropertySheets(&info, 0) == S_OK && info.Result == 1, "sheets DESTROY");
  }

  void Job(IPrintOemUI2 *plugin, const wchar_t *password, INT expected) {
    std::vector<BYTE> devmode = JobDevmode(plugin, password);
    HANDLE jobPrinter = nullptr;
    DWORD job = printer_.StartJob(reinterpret_cast<const DEVMODEW *>(devmode.data()), &jobPrinter);
    INT result = 0;
    Count(totals_, job && plugin->DocumentEvent(jobPrinter, nullptr, DOCUMENTEVENT_STARTDOCPOST, sizeof job, &job,
                                                0, nullptr, &result) == S_OK &&
                       result == expected, expected == DOCUMENTEVENT_SUCCESS ? "STARTDOCPOST printed" : "STARTDOCPOST refused");
    if (jobPrinter) {
      AbortPrinter(jobPrinter);
      ClosePrinter(jobPrinter);
    }
  }

  void PrinterSettings(IPrintOemUI2 *plugin) {
    std::wstring name = printer_.name();
    Count(totals_, plugin->PrinterEvent(&name[0], PRINTER_EVENT_INITIALIZE, 0, 0) == S_OK, "PrinterEvent");
    DRIVER_UPGRADE_INFO_1 upgrade = {&name[0], nullptr};
    Count(totals_, plugin->UpgradePrinter(1, reinterpret_cast<PBYTE>(&upgrade)) == S_OK, "UpgradePrinter");
    printer_.SetDword(L"QXRegion", kNumericRegion);  // the printer event may have chosen another form
  }

  // The plug-in's pages made real; the "Extended Settings" page shown in a
  // sheet, typed into (its filters at work) and cancelled.
  void Sheet(IPrintOemUI2 *plugin) {
    qxtest::PageRecorder recorder(true);
    PROPSHEETUI_INFO info = recorder.Info(PROPSHEETUI_REASON_INIT);
    bool added = plugin->DocumentPropertySheets(&info, 0) == S_OK && recorder.pages.size() == 2 &&
                 recorder.pages[0] && recorder.pages[1];
    Count(totals_, added, "sheet pages");
    if (!added) return;
    HPROPSHEETPAGE jobPage = recorder.pages.back();
    recorder.pages.back() = nullptr;  // the sheet destroys it
    qxtest::ModelessSheet sheet(jobPage);
    Count(totals_, sheet.page() != nullptr, "sheet shown");
    if (!sheet.page()) return;
    SendMessageW(sheet.item(IDC_JOB_RESERVE_JOB), BM_CLICK, 0, 0);
    for (wchar_t c : std::wstring(L"ab\"c")) SendMessageW(sheet.item(IDC_JOB_RESERVE_USER_NAME), WM_CHAR, c, 1);
    Count(totals_, sheet.Text(IDC_JOB_RESERVE_USER_NAME) == L"abc", "sheet typing");
    sheet.Press(PSBTN_CANCEL);
  }

  // Both passes of document properties over a few of the driver's items,
  // with the sample PPD read from the printer's data file.
  void OptionTree(IPrintOemUI2 *plugin, qxtest::FakeDriverUI &driver) {
    Count(totals_, plugin->PublishDriverInterface(&driver) == S_OK, "PublishDriverInterface");
    qxtest::DriverItems items;
    items.Add(L"Paper Source", DMPUB_DEFSOURCE, "InputSlot", {L"Automatic", L"Cassette 1", L"Cassette 2"});
    items.Add(L"Print on Both Sides", DMPUB_DUPLEX, "Duplex", {L"Off", L"Flip on Short Edge", L"Flip on Long Edge"});
    items.Add(L"Pages per Sheet", DMPUB_NUP, nullptr, {L"1", L"2", L"4"});
    std::vector<BYTE> devmode = JobDevmode(plugin, L"");
    OEMUIOBJ uiobj = {sizeof uiobj, nullptr};
    HANDLE heap = HeapCreate(0, 0, 0);  // the driver's, gone with what the plug-in left on it
    OEMCUIPPARAM param = qxtest::SheetParam(items, &uiobj, loader_.module(), printer_.handle());
    param.hOEMHeap = heap;
    param.pPublicDM = reinterpret_cast<DEVMODEW *>(devmode.data());
    OPTITEM noItems = {};
    Count(totals_, plugin->CommonUIProp(OEMCUIP_DOCPROP, &param) == S_OK, "CommonUIProp counting");
    param.pOEMOptItems = &noItems;
    Count(totals_, plugin->CommonUIProp(OEMCUIP_DOCPROP, &param) == S_OK, "CommonUIProp items");
    HeapDestroy(heap);
  }

  const qxtest::PluginLoader &loader_;
  qxtest::TestPrinter &printer_;
  Totals &totals_;
};

void PrintCounts(const char *what, const HeapCounts &heapBefore, size_t handlesBefore) {
  HeapCounts heap = CountHeaps();
  std::printf("%s: heap_bytes %zu -> %zu (%+lld), heap_blocks %zu -> %zu, handles %zu -> %zu\n", what,
              heapBefore.bytes, heap.bytes, static_cast<long long>(heap.bytes) - static_cast<long long>(heapBefore.bytes),
              heapBefore.blocks, heap.blocks, handlesBefore, CountHandles());
}

// One round of `threads` × `iterations` within one load; its failures.
LONG Round(const qxtest::PluginLoader &loader, qxtest::TestPrinter &printer, int threads, int iterations, int load,
           int round) {
  Totals totals;
  HeapCounts heapBefore = CountHeaps();
  size_t handlesBefore = CountHandles();
  DWORD start = GetTickCount();
  qxtest::ThreadGroup::Race(threads, [&](int index) {
    qxtest::MessageBoxCatcher boxes;  // the refused jobs' message
    Iteration iteration(loader, printer, totals);
    // Real sheets on one thread only: Wine's script cache is not safe for
    // edits set on several threads at once.
    for (int i = 0; i < iterations; ++i) iteration.Run(i % 10 == 0, index == 0);
  });
  double seconds = std::max(1ul, GetTickCount() - start) / 1000.0;
  std::printf("load %d round %d: calls %ld, calls_per_s %.0f, failures %ld\n", load + 1, round + 1, totals.calls,
              totals.calls / seconds, totals.failures);
  PrintCounts("  round", heapBefore, handlesBefore);
  return totals.failures;
}

int Argument(int argc, char **argv, int index, int fallback) {
  return argc > index ? std::max(1, std::atoi(argv[index])) : fallback;
}

}  // namespace

int main(int argc, char **argv) {
  const int threads = Argument(argc, argv, 1, 8), iterations = Argument(argc, argv, 2, 200),
            rounds = Argument(argc, argv, 3, 3), loads = Argument(argc, argv, 4, 3);
  std::printf("threads %d, iterations %d, rounds %d, loads %d\n", threads, iterations, rounds, loads);
  qxtest::TestPrinterOptions options = qxtest::OnPort(L"LPT1:");
  options.ppdFile = L"optiontree\\quillex-sample.ppd";
  qxtest::TestPrinter printer(L"qx load", options);
  if (!printer.ok()) return 2;
  printer.SetDword(L"QXRegion", kNumericRegion);
  LONG failures = 0;
  HeapCounts heapAtStart = CountHeaps();
  size_t handlesAtStart = CountHandles();
  HeapCounts heapAfterFirst;
  size_t handlesAfterFirst = 0;
  for (int load = 0; load < loads; ++load) {
    {
      qxtest::PluginLoader loader;
      for (int round = 0; round < rounds; ++round) failures += Round(loader, printer, threads, iterations, load, round);
    }
    // What the first load leaves for the process (comctl32, the spooler's
    // caches) stays; every later load must leave what the first one did.
    if (load == 0) {
      heapAfterFirst = CountHeaps();
      handlesAfterFirst = CountHandles();
      PrintCounts("load 1 freed, against the start", heapAtStart, handlesAtStart);
    } else {
      char what[48];
      std::snprintf(what, sizeof what, "load %d freed, against load 1", load + 1);
      PrintCounts(what, heapAfterFirst, handlesAfterFirst);
    }
  }
  std::printf("failures %ld\n", failures);
  return failures ? 1 : 0;
}
