// Printing preferences and printer properties: the driver's option items,
// both CommonUIProp passes, the plug-in's property-sheet call and a real
// property sheet with the pages, as the PostScript driver runs them.
#include <memory>

#include "platform/private_devmode.h"
#include "host/commands.h"
#include "host/host_devmode.h"
#include "host/installed_printer.h"
#include "host/layout_choices.h"
#include "host/message_boxes.h"
#include "host/plugin_session.h"

namespace qxhost {
namespace {

class Heap {
 public:
  Heap() : h_(HeapCreate(0, 0, 0)) {}
  ~Heap() { if (h_) HeapDestroy(h_); }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

std::string FileSafe(const std::wstring &title) {
  std::string s;
  for (wchar_t c : title) {
    if ((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9')) s += static_cast<char>(c);
    else if (c >= L'A' && c <= L'Z') s += static_cast<char>(c - L'A' + L'a');
    else if (!s.empty() && s.back() != '-') s += '-';
  }
  while (!s.empty() && s.back() == '-') s.pop_back();
  return s.empty() ? "page" : s;
}

void ReportItems(ItemTree &items, CallLog *log) {
  std::string hidden, disabled, warned;
  for (DWORD i = 0; i < items.count(); ++i) {
    const OPTITEM &it = items.items()[i];
    std::string name = "\"" + Narrow(items.Name(static_cast<int>(i))) + "\"";
    if (it.Flags & OPTIF_HIDE) hidden += (hidden.empty() ? "" : ", ") + name;
    if (it.Flags & OPTIF_DISABLED) disabled += (disabled.empty() ? "" : ", ") + name;
    for (int k = 0; it.pOptType && k < it.pOptType->Count; ++k)
      if (it.pOptType->pOptParam[k].Flags & OPTPF_OVERLAY_WARNING_ICON)
        warned += (warned.empty() ? "" : ", ") + name + "/\"" + Narrow(items.OptionText(static_cast<int>(i), k)) + "\"";
  }
  log->Add("items hidden: " + (hidden.empty() ? "none" : hidden));
  log->Add("items disabled: " + (disabled.empty() ? "none" : disabled));
  log->Add("options with a warning overlay: " + (warned.empty() ? "none" : warned));
}

// The parameter block of both CommonUIProp passes, without the devmode parts.
OEMCUIPPARAM CuiParam(PluginSession &session, InstalledPrinter &printer, HANDLE heap, ItemTree &items) {
  OEMCUIPPARAM param = {};
  param.cbSize = sizeof param;
  param.poemuiobj = session.uiobj();
  param.hPrinter = printer.handle();
  param.pPrinterName = const_cast<LPWSTR>(printer.name().c_str());
  param.hModule = session.module();
  param.hOEMHeap = heap;
  param.pDrvOptItems = items.items();
  param.cDrvOptItems = items.count();
  return param;
}

// Both CommonUIProp passes: the plug-in counts its own items, then sees the
// driver's items and may change them and install its callback.
void RunCommonUIProp(PluginSession &session, DWORD mode, OEMCUIPPARAM *param, std::vector<OPTITEM> *oemItems) {
  const char *name = mode == OEMCUIP_DOCPROP ? "OEMCUIP_DOCPROP" : "OEMCUIP_PRNPROP";
  param->pOEMOptItems = nullptr;
  param->cOEMOptItems = 0;
  HRESULT hr = session.plugin()->CommonUIProp(mode, param);
  session.log()->Add(std::string("CommonUIProp(") + name + ", counting) -> " + HResultText(hr) + ", " +
                     std::to_string(param->cOEMOptItems) + " items of its own");
  oemItems->assign(param->cOEMOptItems ? param->cOEMOptItems : 1, OPTITEM{});
  for (OPTITEM &it : *oemItems) it.cbSize = sizeof it;
  param->pOEMOptItems = oemItems->data();
  hr = session.plugin()->CommonUIProp(mode, param);
  session.log()->Add(std::string("CommonUIProp(") + name + ", items) -> " + HResultText(hr) +
                     (param->OEMCUIPCallback ? ", item callback installed" : ", no item callback"));
}

using SheetCall = HRESULT (STDMETHODCALLTYPE IPrintOemUI2::*)(PPROPSHEETUI_INFO, LPARAM);

struct SheetRun {
  PluginSession *session;
  HostSheet *sheet;
  SheetCall call;
  const char *callName;
  OEMUIPSPARAM psparam;
};

void CallSheet(SheetRun &run, WORD reason, LPARAM lParam, const char *reasonName) {
  PROPSHEETUI_INFO info = run.sheet->Info(reason, reinterpret_cast<LPARAM>(&run.psparam));
  if (reason == PROPSHEETUI_REASON_INIT) lParam = info.lParamInit;
  HRESULT hr = (run.session->plugin()->*run.call)(&info, lParam);
  run.session->log()->Add(std::string(run.callName) + "(" + reasonName + ") -> " + HResultText(hr) + ", Result " +
                          std::to_string(info.Result));
}

// The sheet's first two calls: the plug-in adds its pages, then names the sheet.
void OpenSheet(SheetRun &run) {
  CallSheet(run, PROPSHEETUI_REASON_INIT, 0, "INIT");
  PROPSHEETUI_INFO_HEADER header = {};
  header.cbSize = sizeof header;
  CallSheet(run, PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header), "GET_INFO_HEADER");
}

// The screenshot file of page `number` (from 1) titled `title`.
std::wstring ShotFile(const SheetRequest &r, const std::string &prefix, int number, const std::wstring &title) {
  std::string name = r.shotName.empty() ? prefix + "-" + std::to_string(number) + "-" + FileSafe(title)
                                        : prefix + "-" + FileSafe(title) + "-" + FileSafe(Widen(r.shotName));
  return r.shotsDir + L"\\" + Widen(name) + L".bmp";
}

// Whether page `title` is to be captured; marks in `met` the requests it meets.
bool ShotWanted(const SheetRequest &r, const std::wstring &title, std::vector<bool> *met) {
  if (r.shotPages.empty()) return true;
  bool wanted = false;
  for (size_t k = 0; k < r.shotPages.size(); ++k)
    if (FileSafe(Widen(r.shotPages[k])) == FileSafe(title)) wanted = (*met)[k] = true;
  return wanted;
}

// Opens the sheet, takes the screenshots, lets the caller look, and closes.
// False when a requested page was not there to capture.
bool ShowSheet(HostSheet &sheet, const std::wstring &caption, const std::string &shotPrefix,
               const SheetRequest &r, CallLog *log, SheetOutcome *outcome,
               const std::function<void()> &beforeShots) {
  if (!sheet.Open(caption)) {
    log->Add("the property sheet could not be shown (no display: set Wine's null display driver)");
    return true;
  }
  int pages = 1 + static_cast<int>(sheet.pages().size());
  std::vector<std::wstring> titles = {L""};
  for (const SheetPage &p : sheet.pages()) titles.push_back(p.title);
  for (int i = 0; i < pages; ++i) {
    HWND page = sheet.ShowPage(i);
    wchar_t text[128] = {};
    if (page) GetWindowTextW(page, text, 128);
    if (titles[i].empty()) titles[i] = text;
    outcome->pageTitles.push_back(titles[i]);
  }
  log->Add("pages shown: " + std::to_string(pages));
  if (beforeShots) beforeShots();
  bool complete = true;
  if (!r.shotsDir.empty()) {
    std::vector<bool> met(r.shotPages.size(), false);
    for (int i = 0; i < pages; ++i) {
      if (!ShotWanted(r, titles[i], &met)) continue;
      sheet.ShowPage(i);
      std::wstring file = ShotFile(r, shotPrefix, i + 1, titles[i]);
      if (sheet.Capture(file)) {
        outcome->shots.push_back(file);
        log->Add("screenshot " + Narrow(file));
      } else {
        log->Add("screenshot of page " + std::to_string(i + 1) + " failed");
      }
    }
    for (size_t k = 0; k < met.size(); ++k) {
      if (met[k]) continue;
      log->Add("no page \"" + r.shotPages[k] + "\" to capture");
      complete = false;
    }
  }
  sheet.ShowPage(sheet.startPage() >= 0 && sheet.startPage() < pages ? sheet.startPage() : 0);
  if (r.whileOpen) r.whileOpen(sheet);
  if (r.interactive) {
    log->Add("waiting for the sheet to be closed");
    sheet.RunUntilClosed();
  } else {
    sheet.Close(true);
  }
  outcome->applied = sheet.applied();
  log->Add(std::string("sheet closed with ") + (sheet.applied() ? "OK" : "Cancel"));
  return complete;
}

void ReportPluginBlock(void *block, CallLog *log) {
  if (!block) {
    log->Add("plug-in block: none");
    return;
  }
  auto *p = static_cast<qx::PrivateDevmode *>(block);
  char sig[5] = {char(p->dwSignature >> 24), char(p->dwSignature >> 16), char(p->dwSignature >> 8),
                 char(p->dwSignature), 0};
  log->Add("plug-in block: " + std::to_string(p->dwSize) + " bytes, signature " + sig + ", version " +
           std::to_string(p->dwVersion) + ", access control " + std::to_string(p->bAccessControl) +
           ", reserve job type " + std::to_string(p->dwReserveJobType));
}

}  // namespace

int Prefs(const SheetRequest &r, CallLog *log, SheetOutcome *outcome) {
  SheetOutcome ignored;
  if (!outcome) outcome = &ignored;
  InstalledPrinter printer;
  if (!printer.OpenLogged(r.printer, log)) return kExitFailed;
  std::string error;
  const PrinterDescription &desc = printer.description();
  std::vector<BYTE> stored = printer.DefaultDevmode();
  DocumentSettings settings;
  settings.choices = DefaultChoices(desc);
  if (!stored.empty())
    ReadDocumentSettings(desc, reinterpret_cast<DEVMODEW *>(stored.data()), stored.size(), &settings);
  for (const std::string &a : r.assignments) {
    FeatureChoices trial = settings.choices;
    if (!AssignChoice(desc, a, &trial, &error)) {
      log->Add("error: --set " + a + ": " + error);
      return kExitBadInput;
    }
    std::string keyword = a.substr(a[0] == '*' ? 1 : 0, a.find('=') - (a[0] == '*' ? 1 : 0));
    if (IsDeviceFeature(desc.features[desc.FindFeature(keyword)])) {
      log->Add("error: --set " + keyword + " is a printer setting, not a document setting (use props)");
      return kExitBadInput;
    }
    settings.choices = trial;
  }
  for (const std::string &text : r.layout) {
    if (!AssignLayout(text, desc.colorDevice, &settings.layout, &error)) {
      log->Add("error: --layout " + text + ": " + error + " (settings: " + kLayoutHelp + ")");
      return kExitBadInput;
    }
  }
  FeatureChoices device = printer.LoadDeviceChoices();

  MessageBoxWatch boxes(r.interactive, log);
  PluginSession session(log);
  if (!session.Load(printer.pluginPath(), &error)) {
    log->Add("error: " + error);
    return kExitFailed;
  }
  HostDevmode devmode;
  devmode.Build(desc, settings, printer.name(), &session, printer.handle(),
                stored.empty() ? nullptr : reinterpret_cast<DEVMODEW *>(stored.data()), stored.size());
  ItemTree items;
  items.BuildDocument(desc, settings);
  DriverState &state = session.driver()->state();
  state = {&desc, &settings, &device, &items, &settings};

  Heap heap;
  OEMCUIPPARAM param = CuiParam(session, printer, heap.get(), items);
  param.pPublicDM = devmode.get();
  param.pOEMDM = devmode.pluginBlock();
  std::vector<OPTITEM> oemItems;
  RunCommonUIProp(session, OEMCUIP_DOCPROP, &param, &oemItems);
  ReportItems(items, log);

  HostSheet sheet(log);
  SheetRun run = {&session, &sheet, &IPrintOemUI2::DocumentPropertySheets, "DocumentPropertySheets", {}};
  run.psparam = {sizeof(OEMUIPSPARAM), session.uiobj(), printer.handle(), const_cast<LPWSTR>(printer.name().c_str()),
                 session.module(), heap.get(), devmode.get(), devmode.pluginBlock(), param.pOEMUserData, 0, nullptr};
  OpenSheet(run);
  sheet.SetDriverPage(L"Advanced", &items, &param);
  bool shotsComplete =
      ShowSheet(sheet, printer.name() + L" Printing Preferences", "prefs", r, log, outcome, nullptr);
  SETRESULT_INFO result = {sizeof(SETRESULT_INFO), 0, nullptr, outcome->applied ? CPSUI_OK : CPSUI_CANCEL};
  CallSheet(run, PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result), "SET_RESULT");
  CallSheet(run, PROPSHEETUI_REASON_DESTROY, 0, "DESTROY");

  if (outcome->applied) {
    items.CommitAll(&settings);
    devmode.Write(desc, settings);
    printer.SetDefaultDevmode(devmode.get());
  }
  log->Add("resulting settings:");
  for (const std::string &line : DescribeSettings(desc, settings)) log->Add("  " + line);
  ReportPluginBlock(devmode.pluginBlock(), log);
  const BYTE *bytes = reinterpret_cast<const BYTE *>(devmode.get());
  outcome->devmode.assign(bytes, bytes + devmode.size());
  state = {};
  return shotsComplete ? kExitOk : kExitFailed;
}

int Props(const SheetRequest &r, CallLog *log, SheetOutcome *outcome) {
  SheetOutcome ignored;
  if (!outcome) outcome = &ignored;
  InstalledPrinter printer;
  if (!printer.OpenLogged(r.printer, log)) return kExitFailed;
  std::string error;
  const PrinterDescription &desc = printer.description();
  DocumentSettings device;  // the device choices, committed like document items
  device.choices = printer.LoadDeviceChoices();
  std::vector<std::pair<int, int>> selections;  // feature, option
  for (const std::string &a : r.assignments) {
    FeatureChoices trial = device.choices;
    if (!AssignChoice(desc, a, &trial, &error)) {
      log->Add("error: --select " + a + ": " + error);
      return kExitBadInput;
    }
    std::string keyword = a.substr(a[0] == '*' ? 1 : 0, a.find('=') - (a[0] == '*' ? 1 : 0));
    int f = desc.FindFeature(keyword);
    if (!IsDeviceFeature(desc.features[f])) {
      log->Add("error: --select " + keyword + " is a document setting, not a printer setting (use prefs)");
      return kExitBadInput;
    }
    selections.push_back({f, trial.index[f]});
  }

  MessageBoxWatch boxes(r.interactive, log);
  PluginSession session(log);
  if (!session.Load(printer.pluginPath(), &error)) {
    log->Add("error: " + error);
    return kExitFailed;
  }
  log->Add("before: " + DescribeRegion(printer.handle()));
  ItemTree items;
  items.BuildDevice(desc, device.choices);
  DocumentSettings documentDefaults;
  documentDefaults.choices = DefaultChoices(desc);
  session.driver()->state() = {&desc, &documentDefaults, &device.choices, &items, &device};

  Heap heap;
  OEMCUIPPARAM param = CuiParam(session, printer, heap.get(), items);
  std::vector<OPTITEM> oemItems;
  RunCommonUIProp(session, OEMCUIP_PRNPROP, &param, &oemItems);

  HostSheet sheet(log);
  SheetRun run = {&session, &sheet, &IPrintOemUI2::DevicePropertySheets, "DevicePropertySheets", {}};
  run.psparam = {sizeof(OEMUIPSPARAM), session.uiobj(), printer.handle(), const_cast<LPWSTR>(printer.name().c_str()),
                 session.module(), heap.get(), nullptr, nullptr, param.pOEMUserData, 0, nullptr};
  OpenSheet(run);
  ReportItems(items, log);
  sheet.SetDriverPage(L"Device Settings", &items, &param);
  int missing = 0;
  bool shotsComplete = ShowSheet(sheet, printer.name() + L" Properties", "props", r, log, outcome, [&] {
    for (const auto &s : selections) {
      int item = items.FindByKeyword(desc.features[s.first].keyword);
      std::string what = desc.features[s.first].keyword + "=" + desc.features[s.first].options[s.second].keyword;
      if (item < 0 || !sheet.SelectOnDriverPage(item, s.second)) {
        log->Add("cannot select " + what + ": the item or option is not shown on the page");
        ++missing;
        continue;
      }
      sheet.Pump(100);
      OPTITEM &it = items.items()[item];
      log->Add("selected " + what + ": the item now shows \"" + Narrow(items.OptionText(item, it.Sel)) + "\"");
    }
  });
  SETRESULT_INFO result = {sizeof(SETRESULT_INFO), 0, nullptr, outcome->applied ? CPSUI_OK : CPSUI_CANCEL};
  CallSheet(run, PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result), "SET_RESULT");
  CallSheet(run, PROPSHEETUI_REASON_DESTROY, 0, "DESTROY");
  if (outcome->applied) {
    items.CommitAll(&device);
    printer.SaveDeviceChoices(device.choices);
    log->Add("device settings saved:");
    std::string text = FormatChoices(desc, device.choices, true);
    for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
      log->Add("  " + text.substr(at, nl - at));
  }
  log->Add("after: " + DescribeRegion(printer.handle()));
  session.driver()->state() = {};
  return missing || !shotsComplete ? kExitFailed : kExitOk;
}

}  // namespace qxhost
