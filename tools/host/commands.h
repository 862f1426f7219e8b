// The host's commands. Each prints what happens in plain words (through the
// call log) and returns the process exit code: 0 done, 1 the printer or
// system refused, 2 bad arguments or input.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/host_sheet.h"

namespace qxhost {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadInput = 2;

struct InstallRequest {
  std::wstring name;
  std::wstring ppd;
  std::wstring port = L"LPT1:";
  long nation = 0;  // 0: the console user's own nation
  bool shared = false;
  bool rawOnly = false;
};
int Install(const InstallRequest &request, CallLog *log);
int Upgrade(const std::wstring &name, CallLog *log);

struct SheetRequest {
  std::wstring printer;
  std::vector<std::string> assignments;  // prefs: --set; props: --select
  std::vector<std::string> layout;       // prefs: --layout "key=value,..."
  std::wstring shotsDir;                 // empty: no screenshots
  // Files are "<prefs|props>-<page>-<shotName>" when set, otherwise
  // "<prefs|props>-<number>-<page>".
  std::string shotName;
  std::vector<std::string> shotPages;    // pages to capture (file-name form of the title); empty: all
  bool interactive = false;
  // Called while the sheet is open, before it is closed (tests look at the
  // pages here).
  std::function<void(HostSheet &)> whileOpen;
};

struct SheetOutcome {
  std::vector<BYTE> devmode;          // prefs: the resulting devmode
  std::vector<std::wstring> shots;    // files written
  std::vector<std::wstring> pageTitles;
  bool applied = false;
};
int Prefs(const SheetRequest &request, CallLog *log, SheetOutcome *outcome = nullptr);
int Props(const SheetRequest &request, CallLog *log, SheetOutcome *outcome = nullptr);

struct PrintRequest {
  std::wstring printer;
  std::wstring confidential;  // empty: no confidential job
  std::wstring port;          // empty: the printer's own port
  bool interactive = false;
};
struct PrintOutcome {
  bool refused = false;
  std::vector<std::wstring> messages;  // "caption: text" of each message box shown
  std::vector<BYTE> devmode;           // the job's devmode
};
int Print(const PrintRequest &request, CallLog *log, PrintOutcome *outcome = nullptr);

}  // namespace qxhost
