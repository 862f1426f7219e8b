// A print job through the host driver: the job's devmode with the plug-in's
// block as the job settings page stores it, and the document events that
// GDI passes to the driver, each handed to the plug-in.
#include <cstring>

#include "platform/private_devmode.h"
#include "host/commands.h"
#include "host/host_devmode.h"
#include "host/installed_printer.h"
#include "host/message_boxes.h"
#include "host/plugin_session.h"

namespace qxhost {
namespace {

const char *EventName(INT e) {
  switch (e) {
    case DOCUMENTEVENT_CREATEDCPRE: return "CREATEDCPRE";
    case DOCUMENTEVENT_CREATEDCPOST: return "CREATEDCPOST";
    case DOCUMENTEVENT_STARTDOC: return "STARTDOC";
    case DOCUMENTEVENT_STARTDOCPOST: return "STARTDOCPOST";
    case DOCUMENTEVENT_STARTPAGE: return "STARTPAGE";
    case DOCUMENTEVENT_ENDPAGE: return "ENDPAGE";
    case DOCUMENTEVENT_ENDDOC: return "ENDDOC";
    case DOCUMENTEVENT_ENDDOCPOST: return "ENDDOCPOST";
    case DOCUMENTEVENT_ABORTDOC: return "ABORTDOC";
    case DOCUMENTEVENT_DELETEDC: return "DELETEDC";
    default: return "?";
  }
}

const char *EventResult(INT r) {
  switch (r) {
    case DOCUMENTEVENT_SUCCESS: return "DOCUMENTEVENT_SUCCESS";
    case DOCUMENTEVENT_FAILURE: return "DOCUMENTEVENT_FAILURE";
    case DOCUMENTEVENT_UNSUPPORTED: return "DOCUMENTEVENT_UNSUPPORTED";
    default: return "?";
  }
}

INT SendEvent(PluginSession &session, HANDLE printer, INT event, ULONG cbIn, PVOID in, ULONG cbOut, PVOID out) {
  INT result = DOCUMENTEVENT_UNSUPPORTED;
  HRESULT hr = session.plugin()->DocumentEvent(printer, nullptr, event, cbIn, in, cbOut, out, &result);
  session.log()->Add(std::string("DocumentEvent(") + EventName(event) + ") -> " + HResultText(hr) + ", " +
                     EventResult(result));
  return SUCCEEDED(hr) ? result : DOCUMENTEVENT_UNSUPPORTED;
}

// Stores a confidential job as the job settings page does: job type 5 and
// at most eight characters of password, with a user and job name.
void MakeConfidential(void *block, const std::wstring &password) {
  auto *p = static_cast<qx::PrivateDevmode *>(block);
  p->dwReserveJobType = 5;
  std::memset(p->wszReservePassword, 0, sizeof p->wszReservePassword);
  for (size_t i = 0; i < password.size() && i < 8; ++i) p->wszReservePassword[i] = static_cast<char16_t>(password[i]);
  const char16_t user[] = u"qxhost", job[] = u"quillex demo";
  std::memcpy(p->wszReserveUserName, user, sizeof user);
  std::memcpy(p->wszReserveJobName, job, sizeof job);
}

std::wstring TempFile(const wchar_t *name) {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

}  // namespace

int Print(const PrintRequest &r, CallLog *log, PrintOutcome *outcome) {
  PrintOutcome ignored;
  if (!outcome) outcome = &ignored;
  InstalledPrinter printer;
  if (!printer.OpenLogged(r.printer, log)) return kExitFailed;
  std::string error;
  const PrinterDescription &desc = printer.description();
  std::wstring originalPort = printer.Port();
  if (!r.port.empty() && r.port != originalPort) {
    if (!printer.SetPort(r.port)) {
      log->Add("error: the printer's port cannot be set to " + Narrow(r.port) + " (error " +
               std::to_string(GetLastError()) + ")");
      return kExitFailed;
    }
    log->Add("port for this job: " + Narrow(r.port));
  }
  struct PortRestore {
    const InstalledPrinter &p;
    std::wstring port;
    bool active;
    ~PortRestore() { if (active) p.SetPort(port); }
  } restore{printer, originalPort, !r.port.empty() && r.port != originalPort};

  MessageBoxWatch boxes(r.interactive, log);
  PluginSession session(log);
  if (!session.Load(printer.pluginPath(), &error)) {
    log->Add("error: " + error);
    return kExitFailed;
  }
  std::vector<BYTE> stored = printer.DefaultDevmode();
  DocumentSettings settings;
  settings.choices = DefaultChoices(desc);
  if (!stored.empty()) ReadDocumentSettings(desc, reinterpret_cast<DEVMODEW *>(stored.data()), stored.size(), &settings);
  FeatureChoices device = printer.LoadDeviceChoices();
  session.driver()->state() = {&desc, &settings, &device, nullptr, nullptr};
  HostDevmode devmode;
  devmode.Build(desc, settings, printer.name(), &session, printer.handle(),
                stored.empty() ? nullptr : reinterpret_cast<DEVMODEW *>(stored.data()), stored.size());
  if (!r.confidential.empty()) {
    if (!devmode.pluginBlock()) {
      log->Add("error: the devmode has no plug-in block to carry a confidential job");
      return kExitFailed;
    }
    MakeConfidential(devmode.pluginBlock(), r.confidential);
    log->Add("confidential job, password \"" + Narrow(r.confidential.substr(0, 8)) + "\"");
  }
  const BYTE *bytes = reinterpret_cast<const BYTE *>(devmode.get());
  outcome->devmode.assign(bytes, bytes + devmode.size());

  HANDLE job = nullptr;
  PRINTER_DEFAULTSW defaults = {const_cast<LPWSTR>(L"RAW"), devmode.get(), PRINTER_ACCESS_USE};
  if (!OpenPrinterW(const_cast<LPWSTR>(printer.name().c_str()), &job, &defaults)) {
    log->Add("error: the printer cannot be opened for printing (error " + std::to_string(GetLastError()) + ")");
    return kExitFailed;
  }
  std::wstring driver = printer.driverName(), device_name = printer.name();
  DOCEVENT_CREATEDCPRE create = {const_cast<LPWSTR>(driver.c_str()), const_cast<LPWSTR>(device_name.c_str()),
                                 devmode.get(), FALSE};
  DEVMODEW *handedOut = devmode.get();  // the plug-in clears this when it keeps the driver's devmode
  SendEvent(session, job, DOCUMENTEVENT_CREATEDCPRE, sizeof create, &create, sizeof handedOut, &handedOut);
  SendEvent(session, job, DOCUMENTEVENT_CREATEDCPOST, sizeof handedOut, &handedOut, 0, nullptr);

  std::wstring output = TempFile(L"qxhost-job.prn");
  DOCINFOW docInfo = {sizeof(DOCINFOW), L"quillex demo page", output.c_str(), nullptr, 0};
  SendEvent(session, job, DOCUMENTEVENT_STARTDOC, sizeof docInfo, &docInfo, 0, nullptr);
  DOC_INFO_1W doc = {const_cast<LPWSTR>(L"quillex demo page"), const_cast<LPWSTR>(output.c_str()),
                     const_cast<LPWSTR>(L"RAW")};
  DWORD jobId = StartDocPrinterW(job, 1, reinterpret_cast<LPBYTE>(&doc));
  if (!jobId) {
    log->Add("error: the spooler refused to start the job (error " + std::to_string(GetLastError()) + ")");
    SendEvent(session, job, DOCUMENTEVENT_DELETEDC, 0, nullptr, 0, nullptr);
    ClosePrinter(job);
    return kExitFailed;
  }
  log->Add("job " + std::to_string(jobId) + " started");
  INT started = SendEvent(session, job, DOCUMENTEVENT_STARTDOCPOST, sizeof jobId, &jobId, 0, nullptr);
  outcome->refused = started == DOCUMENTEVENT_FAILURE;
  if (outcome->refused) {
    SendEvent(session, job, DOCUMENTEVENT_ABORTDOC, 0, nullptr, 0, nullptr);
    AbortPrinter(job);
  } else {
    SendEvent(session, job, DOCUMENTEVENT_STARTPAGE, 0, nullptr, 0, nullptr);
    static const char page[] = "%!PS-Adobe-3.0\n%%Title: quillex demo page\nshowpage\n";
    DWORD written = 0;
    StartPagePrinter(job);
    WritePrinter(job, const_cast<char *>(page), sizeof page - 1, &written);
    EndPagePrinter(job);
    SendEvent(session, job, DOCUMENTEVENT_ENDPAGE, 0, nullptr, 0, nullptr);
    SendEvent(session, job, DOCUMENTEVENT_ENDDOC, 0, nullptr, 0, nullptr);
    EndDocPrinter(job);
    SendEvent(session, job, DOCUMENTEVENT_ENDDOCPOST, 0, nullptr, 0, nullptr);
  }
  SendEvent(session, job, DOCUMENTEVENT_DELETEDC, 0, nullptr, 0, nullptr);
  ClosePrinter(job);
  for (const ShownMessage &m : boxes.shown()) outcome->messages.push_back(m.caption + L": " + m.text);
  log->Add(outcome->refused ? "refused" : "printed");
  session.driver()->state() = {};
  return kExitOk;
}

}  // namespace qxhost
