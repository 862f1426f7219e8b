// qxhost: a stand-in for the PostScript driver that runs the quillex plug-in
// the way the driver does, under Wine.
#include <cstdio>
#include <cwchar>

#include "host/commands.h"
#include "host/description.h"
#include "host/layout_choices.h"

namespace {

using namespace qxhost;

constexpr char kUsage[] =
    "usage: qxhost install --name P --ppd FILE [--port PORT] [--nation GEOID] [--shared] [--raw-only]\n"
    "       qxhost upgrade --name P\n"
    "       qxhost prefs --printer P [--set KEYWORD=OPTION]... [--layout KEY=VALUE[,KEY=VALUE]...]...\n"
    "                    [--shots DIR [--shot-name NAME] [--shot-page PAGE]...] [--interactive]\n"
    "       qxhost props --printer P [--select KEYWORD=OPTION]...\n"
    "                    [--shots DIR [--shot-name NAME] [--shot-page PAGE]...] [--interactive]\n"
    "       qxhost print --printer P [--confidential PASSWORD] [--port PORT] [--interactive]\n";

struct Args {
  int argc;
  wchar_t **argv;
  int at = 2;
  std::string error;

  bool Done() const { return at >= argc; }
  std::wstring Flag() { return argv[at++]; }
  bool Value(const std::wstring &flag, std::wstring *out) {
    if (at >= argc) {
      error = "option " + Narrow(flag) + " needs a value";
      return false;
    }
    *out = argv[at++];
    return true;
  }
};

int Usage(const std::string &why) {
  if (!why.empty()) std::fprintf(stderr, "qxhost: %s\n", why.c_str());
  std::fputs(kUsage, stderr);
  return kExitBadInput;
}

int RunInstall(Args &a, CallLog *log) {
  InstallRequest r;
  std::wstring nation;
  while (!a.Done()) {
    std::wstring f = a.Flag();
    if (f == L"--name") { if (!a.Value(f, &r.name)) return Usage(a.error); }
    else if (f == L"--ppd") { if (!a.Value(f, &r.ppd)) return Usage(a.error); }
    else if (f == L"--port") { if (!a.Value(f, &r.port)) return Usage(a.error); }
    else if (f == L"--nation") { if (!a.Value(f, &nation)) return Usage(a.error); }
    else if (f == L"--shared") r.shared = true;
    else if (f == L"--raw-only") r.rawOnly = true;
    else return Usage("unknown option " + Narrow(f));
  }
  if (r.name.empty() || r.ppd.empty()) return Usage("install needs --name and --ppd");
  if (!nation.empty()) {
    wchar_t *end = nullptr;
    r.nation = std::wcstol(nation.c_str(), &end, 10);
    if (*end || r.nation <= 0) return Usage("--nation needs a positive geographic id, such as 94 or 244");
  }
  return Install(r, log);
}

int RunSheet(Args &a, CallLog *log, bool prefs) {
  SheetRequest r;
  const wchar_t *assign = prefs ? L"--set" : L"--select";
  while (!a.Done()) {
    std::wstring f = a.Flag(), v;
    if (f == L"--printer") { if (!a.Value(f, &r.printer)) return Usage(a.error); }
    else if (f == assign) { if (!a.Value(f, &v)) return Usage(a.error); r.assignments.push_back(Narrow(v)); }
    else if (prefs && f == L"--layout") { if (!a.Value(f, &v)) return Usage(a.error); r.layout.push_back(Narrow(v)); }
    else if (f == L"--shots") { if (!a.Value(f, &r.shotsDir)) return Usage(a.error); }
    else if (f == L"--shot-name") { if (!a.Value(f, &v)) return Usage(a.error); r.shotName = Narrow(v); }
    else if (f == L"--shot-page") { if (!a.Value(f, &v)) return Usage(a.error); r.shotPages.push_back(Narrow(v)); }
    else if (f == L"--interactive") r.interactive = true;
    else return Usage("unknown option " + Narrow(f));
  }
  if (r.printer.empty()) return Usage("--printer is missing");
  if (r.shotsDir.empty() && (!r.shotName.empty() || !r.shotPages.empty()))
    return Usage("--shot-name and --shot-page need --shots");
  if (!r.shotsDir.empty()) {
    CreateDirectoryW(r.shotsDir.c_str(), nullptr);
    DWORD attributes = GetFileAttributesW(r.shotsDir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      return Usage("--shots: " + Narrow(r.shotsDir) + " is not a directory");
  }
  return prefs ? Prefs(r, log) : Props(r, log);
}

int RunPrint(Args &a, CallLog *log) {
  PrintRequest r;
  while (!a.Done()) {
    std::wstring f = a.Flag();
    if (f == L"--printer") { if (!a.Value(f, &r.printer)) return Usage(a.error); }
    else if (f == L"--confidential") { if (!a.Value(f, &r.confidential)) return Usage(a.error); }
    else if (f == L"--port") { if (!a.Value(f, &r.port)) return Usage(a.error); }
    else if (f == L"--interactive") r.interactive = true;
    else return Usage("unknown option " + Narrow(f));
  }
  if (r.printer.empty()) return Usage("--printer is missing");
  return Print(r, log);
}

}  // namespace

int wmain(int argc, wchar_t **argv) {
  // No Wine crash or error dialogs: a failure is a message and an exit code.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  if (argc < 2) return Usage("");
  std::wstring command = argv[1];
  Args args{argc, argv};
  CallLog log;
  std::printf("qxhost %ls\n", command.c_str());
  int rc;
  if (command == L"install") rc = RunInstall(args, &log);
  else if (command == L"upgrade") {
    std::wstring name;
    if (args.Done() || args.Flag() != L"--name" || !args.Value(L"--name", &name) || !args.Done())
      return Usage("upgrade needs --name P");
    rc = Upgrade(name, &log);
  } else if (command == L"prefs") rc = RunSheet(args, &log, true);
  else if (command == L"props") rc = RunSheet(args, &log, false);
  else if (command == L"print") rc = RunPrint(args, &log);
  else return Usage("unknown command " + Narrow(command));
  std::fflush(stdout);
  return rc;
}
