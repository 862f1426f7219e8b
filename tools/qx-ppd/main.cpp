// qx-ppd: shows what the plug-in reads from a PPD file.
//   qx-ppd dump FILE [--installed KEYWORD=OPTION]...
//   qx-ppd excluded FILE [--installed KEYWORD=OPTION]...
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
#include "ppd_file.h"
#include "ppd_time.h"

namespace {

int Usage() {
  std::fputs("usage: qx-ppd dump|excluded FILE [--installed KEYWORD=OPTION]...\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc >= 2 && std::strcmp(argv[1], "time") == 0) return qx::tools::TimeCommand(argc - 2, argv + 2);
  if (argc < 3) return Usage();
  std::string command = argv[1];
  if (command != "dump" && command != "excluded") return Usage();
  const char *path = argv[2];

  std::vector<std::pair<std::string, std::string>> installed;
  for (int i = 3; i < argc; ++i) {
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
    std::string keyword = arg.substr(0, equals);
    if (keyword[0] != '*') keyword.insert(0, 1, '*');
    installed.emplace_back(keyword, arg.substr(equals + 1));
  }

  FILE *file = qx::tools::OpenPpdFile(path);
  if (file == nullptr) {
    std::fprintf(stderr, "qx-ppd: cannot open %s: %s\n", path, std::strerror(errno));
    return 1;
  }
  std::unique_ptr<qx::PpdModel> model(qx::ReadPpdModelFromFile(file));
  bool failed = std::ferror(file) != 0;
  int readError = errno;
  std::fclose(file);
  if (failed) {
    std::fprintf(stderr, "qx-ppd: cannot read %s: %s\n", path, std::strerror(readError));
    return 1;
  }
  if (!model) {
    std::fputs("qx-ppd: out of memory\n", stderr);
    return 1;
  }

  for (const auto &entry : installed) {
    std::basic_string<qx::PpdUnit> keyword = qx::Utf8ToPpdUnits(entry.first);
    std::basic_string<qx::PpdUnit> option = qx::Utf8ToPpdUnits(entry.second);
    qx::SetInstalledOption(model.get(), keyword.c_str(), option.c_str(), false);
  }
  if (!installed.empty()) qx::MarkConstrainedOptions(model.get());

  qx::tools::UseBinaryOutput();
  std::string out = command == "dump" ? qx::DumpPpdModel(*model) : qx::DescribeExcludedOptions(*model);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
