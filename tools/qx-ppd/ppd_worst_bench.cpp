// qx-ppd-worst-bench CORPUS_DIR: the reader on the generated worst cases
// against the real corpus. Per family and size: the time of reading and the
// first recompute of the marks, and the model's heap. Ends with "name: value"
// lines; worst_ms_per_mb is to stay within 3x corpus_ms_per_mb, and
// worst_model_mb at most 64.
#include <dirent.h>
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

void Collect(const std::string &dir, std::vector<std::string> &paths, double &megabytes) {
  DIR *d = opendir(dir.c_str());
  if (d == nullptr) return;
  while (dirent *entry = readdir(d)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string path = dir + "/" + name;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      Collect(path, paths, megabytes);
    } else if (S_ISREG(st.st_mode) && name.size() > 4 &&
               strcasecmp(name.c_str() + name.size() - 4, ".ppd") == 0) {
      paths.push_back(path);
      megabytes += static_cast<double>(st.st_size) / 1048576.0;
    }
  }
  closedir(d);
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

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fputs("usage: qx-ppd-worst-bench CORPUS_DIR\n", stderr);
    return 2;
  }
  std::vector<std::string> paths;
  double corpusMb = 0;
  Collect(argv[1], paths, corpusMb);
  if (paths.empty()) {
    std::fprintf(stderr, "qx-ppd-worst-bench: no .ppd files under %s\n", argv[1]);
    return 1;
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
