#include "ppd_worst_cases.h"

namespace qx {
namespace test {

const char *WorstCaseName(WorstCase family) {
  switch (family) {
    case WorstCase::kRepeatedInstallables: return "repeated-installables";
    case WorstCase::kFiringConstraints: return "firing-constraints";
    case WorstCase::kOptionLines: return "option-lines";
    case WorstCase::kInstallableBlocks: return "installable-blocks";
  }
  return "?";
}

std::string WorstCasePpd(WorstCase family, size_t bytes) {
  std::string ppd;
  ppd.reserve(bytes + 256);
  auto fill = [&](auto repeat) {
    do repeat(); while (ppd.size() < bytes);
  };
  size_t n = 0;
  switch (family) {
    case WorstCase::kRepeatedInstallables:
      ppd = "*OpenUI *G: PickOne\n*G c: \"\"\n*CloseUI: *G\n*OpenGroup: InstallableOptions\n";
      fill([&] {
        ppd += "*OpenUI *F: PickOne\n*DefaultF: b\n*CloseUI: *F\n*UIConstraints: *F b *G c\n";
      });
      break;
    case WorstCase::kFiringConstraints:
      ppd = "*OpenGroup: InstallableOptions\n*OpenUI *F: PickOne\n*DefaultF: b\n*CloseUI: *F\n"
            "*CloseGroup: InstallableOptions\n";
      fill([&] {
        std::string g = "*G" + std::to_string(n++);
        ppd += "*OpenUI " + g + ": PickOne\n" + g + " c: \"\"\n*CloseUI: " + g + "\n";
        ppd += "*UIConstraints: *F b " + g + " c\n";
      });
      break;
    case WorstCase::kOptionLines:
      ppd = "*OpenUI *F: PickOne\n";
      fill([&] { ppd += "*F a:b\n"; });
      break;
    case WorstCase::kInstallableBlocks:
      ppd = "*OpenGroup: InstallableOptions\n";
      fill([&] { ppd += "*OpenUI *F:x\n*CloseUI:*F\n"; });
      break;
  }
  return ppd;
}

}  // namespace test
}  // namespace qx
