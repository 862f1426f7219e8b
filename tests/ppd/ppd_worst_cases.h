// Generated PPD files that cost the most per byte: the worst cases of the
// reader's time and memory, for the tests and the ppd-worst benchmark.
#pragma once

#include <cstddef>
#include <string>

namespace qx {
namespace test {

enum class WorstCase {
  kRepeatedInstallables,  // one installable keyword in many blocks, each naming it in a constraint
  kFiringConstraints,     // many features, each excluded by a constraint the default fires
  kOptionLines,           // minimal option lines of one feature
  kInstallableBlocks,     // minimal installable feature blocks
};
constexpr WorstCase kWorstCases[] = {WorstCase::kRepeatedInstallables, WorstCase::kFiringConstraints,
                                     WorstCase::kOptionLines, WorstCase::kInstallableBlocks};

const char *WorstCaseName(WorstCase family);
// A file of the family of about the given size (at least one repeat).
std::string WorstCasePpd(WorstCase family, size_t bytes);

}  // namespace test
}  // namespace qx
