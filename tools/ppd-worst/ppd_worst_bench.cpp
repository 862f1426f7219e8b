// qx-ppd-worst-bench < CORPUS_PATHS: the reader on the generated worst cases
// against the real corpus, whose files' paths come one a line. Per family and size: the time of reading and the
// first recompute of the marks, and the model's heap. Ends with "name: value"
// lines; worst_ms_per_mb is to stay within 3x corpus_ms_per_mb, and
// worst_model_mb at most 64.
#include <malloc.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ppd/ppd_model.h"
#include "ppd_worst_cases.h"

namespace {

// The corpus's files, one path a line.
void ReadPaths(std::FILE *in, std::vector<std::string> &paths, double &megabytes) {
  char line[4096];
  while (std::fgets(line, sizeof line, in) != nullptr) {
    std::string path(line);
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0) continue;
    paths.push_back(path);
    megabytes += static_cast<double>(st.st_size) / 1048576.0;
  }
}

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

size_t HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// Reading and the first recompute, as the plug-in pays them.
std::unique_ptr<qx::PpdModel> ReadAndMark(FILE *file) {
  std::unique_ptr<qx::PpdModel> model(qx::ReadPpdModelFromFile(file));
  qx::MarkConstrainedOptions(model.get());
  return model;
}

double CorpusSeconds(const std::vector<std::string> &paths) {
  double start = Now();
  for (const std::string &path : paths) {
    FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) continue;
    ReadAndMark(file);
    std::fclose(file);
  }
  return Now() - start;
}

}  // namespace

int main() {
  std::vector<std::string> paths;
  double corpusMb = 0;
  ReadPaths(stdin, paths, corpusMb);
  if (paths.empty()) {
    std::fputs("usage: qx-ppd-worst-bench < CORPUS_PATHS (one PPD file a line)\n", stderr);
    return 2;
  }
  CorpusSeconds(paths);  // warms the page cache
  double corpus = std::min(CorpusSeconds(paths), CorpusSeconds(paths));
  double corpusMsPerMb = corpus * 1000.0 / corpusMb;

  double worstMsPerMb = 0, worstModelMb = 0;
  std::printf("%-22s %6s %9s %9s %9s %9s\n", "family", "in_mb", "ms", "ms_per_mb", "model_mb", "budget_mb");
  for (qx::test::WorstCase family : qx::test::kWorstCases) {
    for (size_t mb : {1, 4, 16}) {
      std::string ppd = qx::test::WorstCasePpd(family, mb << 20);
      double best = 1e9, modelMb = 0, budgetMb = 0;
      for (int round = 0; round < 3; ++round) {
        FILE *file = fmemopen(&ppd[0], ppd.size(), "rb");
        size_t before = HeapInUse();
        double start = Now();
        std::unique_ptr<qx::PpdModel> model = ReadAndMark(file);
        best = std::min(best, Now() - start);
        modelMb = static_cast<double>(HeapInUse() - before) / 1048576.0;
        budgetMb = static_cast<double>(model->budget.Held()) / 1048576.0;
        std::fclose(file);
      }
      double inMb = static_cast<double>(ppd.size()) / 1048576.0;
      double msPerMb = best * 1000.0 / inMb;
      std::printf("%-22s %6.1f %9.1f %9.2f %9.1f %9.1f\n", qx::test::WorstCaseName(family), inMb,
                  best * 1000.0, msPerMb, modelMb, budgetMb);
      worstMsPerMb = std::max(worstMsPerMb, msPerMb);
      worstModelMb = std::max(worstModelMb, modelMb);
    }
  }
  std::printf("corpus_files: %zu\n", paths.size());
  std::printf("corpus_mb: %.1f\n", corpusMb);
  std::printf("corpus_ms_per_mb: %.2f\n", corpusMsPerMb);
  std::printf("worst_ms_per_mb: %.2f\n", worstMsPerMb);
  std::printf("worst_to_corpus: %.2f\n", worstMsPerMb / corpusMsPerMb);
  std::printf("worst_model_mb: %.1f\n", worstModelMb);
  return 0;
}
