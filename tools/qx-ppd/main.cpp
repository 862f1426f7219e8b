// qx-ppd: shows what the plug-in reads from a PPD file.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ppd/ppd_dump.h"
#include "ppd/ppd_model.h"
#include "ppd/ppd_text.h"
#include "ppd_questions.h"
#include "qx_version.h"
#include "ppd_file.h"
#include "ppd_time.h"

namespace {

constexpr char kUsage[] =
    "usage: qx-ppd dump FILE [--installed KEYWORD=OPTION]...\n"
    "       qx-ppd excluded FILE [--installed KEYWORD=OPTION]...\n"
    "       qx-ppd why FILE FEATURE OPTION [--installed KEYWORD=OPTION]...\n"
    "       qx-ppd time DIR [ROUNDS]\n"
    "       qx-ppd --help | --version\n"
    "\n"
    "  dump      every header value, feature, option, constraint and installed\n"
    "            option the plug-in reads, one tab-separated line each\n"
    "  excluded  the options the installed options exclude, with the reason\n"
    "  why       which installed options and *UIConstraints lines exclude OPTION\n"
    "            of FEATURE, or that none does\n"
    "  time      how long reading every PPD under DIR takes, timed in the process\n"
    "  --installed sets an installed option (group InstallableOptions) as the\n"
    "            printer's properties would; an unknown keyword or option is an\n"
    "            error. Keywords may be given with or without their asterisk.\n"
    "\n"
    "Exit codes: 0 done, 1 the file cannot be read, 2 wrong arguments.\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

std::string WithAsterisk(std::string keyword) {
  if (keyword.empty() || keyword[0] != '*') keyword.insert(0, 1, '*');
  return keyword;
}

// A file that does not start as a PPD (after a UTF-8 byte order mark) is
// still read, but the administrator hears about it.
void WarnUnlessPpd(const char *path) {
  char head[13] = {};
  FILE *file = std::fopen(path, "rb");
  size_t got = file != nullptr ? std::fread(head, 1, sizeof head - 1, file) : 0;
  if (file != nullptr) std::fclose(file);
  const char *start = got >= 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0 ? head + 3 : head;
  if (std::strncmp(start, "*PPD-Adobe", 10) != 0)
    std::fprintf(stderr, "qx-ppd: warning: %s does not start with *PPD-Adobe: it may not be a PPD file\n", path);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("qx-ppd %s\n", QX_VERSION_TEXT);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (argc >= 2 && std::strcmp(argv[1], "time") == 0) return qx::tools::TimeCommand(argc - 2, argv + 2);
  if (argc < 3) return Usage();
  std::string command = argv[1];
  if (command != "dump" && command != "excluded" && command != "why") return Usage();
  const char *path = argv[2];
  int next = 3;
  std::string whyFeature, whyOption;
  if (command == "why") {
    if (argc < 5) return Usage();
    whyFeature = WithAsterisk(argv[3]);
    whyOption = argv[4];
    next = 5;
  }

  std::vector<std::pair<std::string, std::string>> installed;
  for (int i = next; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--installed" && i + 1 < argc) {
      arg = argv[++i];
    } else if (arg.rfind("--installed=", 0) == 0) {
      arg = arg.substr(12);
    } else {
      return Usage();
    }
    size_t equals = arg.find('=');
    if (equals == std::string::npos || equals == 0) {
      std::fprintf(stderr, "qx-ppd: --installed needs KEYWORD=OPTION, got \"%s\"\n", arg.c_str());
      return 2;
    }
    installed.emplace_back(WithAsterisk(arg.substr(0, equals)), arg.substr(equals + 1));
  }

  qx::tools::PpdInput input(path);
  if (!input.opened()) {
    std::fprintf(stderr, "qx-ppd: cannot open %s: %s\n", path, input.error().c_str());
    return 1;
  }
  WarnUnlessPpd(path);
  std::unique_ptr<qx::PpdModel> model(input.ReadModel());
  if (!input.error().empty()) {
    std::fprintf(stderr, "qx-ppd: cannot read %s: %s\n", path, input.error().c_str());
    return 1;
  }
  if (!model) {
    std::fputs("qx-ppd: out of memory\n", stderr);
    return 1;
  }

  // Every name is checked before anything is set: a typo must not quietly
  // leave the exclusions as if that option were installed.
  for (const auto &entry : installed) {
    std::string error = qx::CheckInstalledOption(*model, entry.first, entry.second);
    if (!error.empty()) {
      std::fprintf(stderr, "qx-ppd: %s\n", error.c_str());
      return 2;
    }
  }
  if (command == "why") {
    std::string error = qx::CheckFeatureOption(*model, whyFeature, whyOption);
    if (!error.empty()) {
      std::fprintf(stderr, "qx-ppd: %s\n", error.c_str());
      return 2;
    }
  }
  for (const auto &entry : installed) {
    std::basic_string<qx::PpdUnit> keyword = qx::Utf8ToPpdUnits(entry.first);
    std::basic_string<qx::PpdUnit> option = qx::Utf8ToPpdUnits(entry.second);
    qx::SetInstalledOption(model.get(), keyword.c_str(), option.c_str(), false);
  }
  if (!installed.empty()) qx::MarkConstrainedOptions(model.get());

  qx::tools::UseBinaryOutput();
  std::string out;
  if (command == "dump") {
    out = qx::DumpPpdModel(*model);
  } else if (command == "excluded") {
    out = qx::DescribeExcludedOptions(*model);
  } else {
    const qx::PpdFeature *feature = model->FindFeature(qx::Utf8ToPpdUnits(whyFeature).c_str());
    std::basic_string<qx::PpdUnit> option = qx::Utf8ToPpdUnits(whyOption);
    for (const qx::PpdOption *candidate : feature->options)
      if (candidate->keyword.Equals(option.c_str())) out = qx::ExplainExclusion(*model, *feature, *candidate);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
