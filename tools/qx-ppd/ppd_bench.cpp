// qx-ppd-bench DIR: reads every PPD file under DIR with libcups, with the
// plug-in's reader and with a bare byte loop, in one run, and times the
// constrained marks on the largest file. Ends with "name: value" lines.
#include <cups/ppd.h>
#include <dirent.h>
#include <malloc.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ppd/ppd_memory.h"
#include "ppd/ppd_model.h"

namespace {

struct File {
  std::string path;
  long long size;
};

void Collect(const std::string &dir, std::vector<File> &files) {
  DIR *d = opendir(dir.c_str());
  if (d == nullptr) return;
  while (dirent *entry = readdir(d)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string path = dir + "/" + name;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      Collect(path, files);
    } else if (S_ISREG(st.st_mode) && name.size() > 4 &&
               strcasecmp(name.c_str() + name.size() - 4, ".ppd") == 0) {
      files.push_back({path, static_cast<long long>(st.st_size)});
    }
  }
  closedir(d);
}

double Seconds(const std::function<void()> &run) {
  auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

volatile long long g_sink;

void ByteLoop(const std::vector<File> &files, bool unlocked) {
  long long sum = 0;
  for (const File &f : files) {
    FILE *file = std::fopen(f.path.c_str(), "rb");
    if (file == nullptr) continue;
    int c;
    if (unlocked) {
      while ((c = getc_unlocked(file)) != EOF) sum += c;
    } else {
      while ((c = std::fgetc(file)) != EOF) sum += c;
    }
    std::fclose(file);
  }
  g_sink = sum;
}

void Ours(const std::vector<File> &files) {
  long long sum = 0;
  for (const File &f : files) {
    FILE *file = std::fopen(f.path.c_str(), "rb");
    if (file == nullptr) continue;
    std::unique_ptr<qx::PpdModel> model(qx::ReadPpdModelFromFile(file));
    std::fclose(file);
    sum += model->FeatureCount();
  }
  g_sink = sum;
}

void Cups(const std::vector<File> &files) {
  long long sum = 0;
  for (const File &f : files) {
    ppd_file_t *ppd = ppdOpenFile(f.path.c_str());
    if (ppd == nullptr) continue;
    sum += ppd->num_groups;
    ppdClose(ppd);
  }
  g_sink = sum;
}

size_t HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2 && argc != 3) {
    std::fputs("usage: qx-ppd-bench DIR [ours|libcups|bytes]   (one reader alone, for profiling)\n", stderr);
    return 2;
  }
  std::vector<File> files;
  Collect(argv[1], files);
  if (files.empty()) {
    std::fprintf(stderr, "qx-ppd-bench: no .ppd files under %s\n", argv[1]);
    return 1;
  }
  std::sort(files.begin(), files.end(), [](const File &a, const File &b) { return a.path < b.path; });
  long long bytes = 0;
  for (const File &f : files) bytes += f.size;
  const File &largest = *std::max_element(files.begin(), files.end(),
                                          [](const File &a, const File &b) { return a.size < b.size; });

  // Warm the page cache, then take the best of three interleaved rounds.
  ByteLoop(files, true);
  if (argc == 3) {
    std::string only = argv[2];
    double s = Seconds([&] {
      if (only == "ours") Ours(files);
      else if (only == "libcups") Cups(files);
      else ByteLoop(files, true);
    });
    std::printf("%s_s: %.3f\n", only.c_str(), s);
    return 0;
  }
  double cups = 1e9, ours = 1e9, floor = 1e9, fgetcLoop = 1e9;
  for (int round = 0; round < 3; ++round) {
    cups = std::min(cups, Seconds([&] { Cups(files); }));
    ours = std::min(ours, Seconds([&] { Ours(files); }));
    floor = std::min(floor, Seconds([&] { ByteLoop(files, true); }));
    fgetcLoop = std::min(fgetcLoop, Seconds([&] { ByteLoop(files, false); }));
    std::printf("round %d: libcups %.3f s, ours %.3f s, getc_unlocked %.3f s, fgetc %.3f s\n", round + 1,
                cups, ours, floor, fgetcLoop);
  }

  // The largest file: the model's heap (none of it from blocks kept from
  // earlier models), and the marks.
  qx::ReleaseKeptPpdBlocks();
  size_t before = HeapInUse();
  FILE *file = std::fopen(largest.path.c_str(), "rb");
  std::unique_ptr<qx::PpdModel> model(qx::ReadPpdModelFromFile(file));
  std::fclose(file);
  qx::ReleaseKeptPpdBlocks();  // the token buffer, kept for the next reading
  size_t modelBytes = HeapInUse() - before;
  const int repeats = 2000;
  double marks = Seconds([&] {
    for (int i = 0; i < repeats; ++i) qx::MarkConstrainedOptions(model.get());
  });
  int options = 0;
  for (const qx::PpdFeature *feature : model->features) options += feature->options.Count();

  std::printf("largest: %s (%lld bytes, %d features, %d options, %d constraints, %d installed options)\n",
              largest.path.c_str(), largest.size, model->FeatureCount(), options,
              model->ConstraintCount(), model->InstalledOptionCount());
  std::printf("files: %zu\n", files.size());
  std::printf("megabytes: %.1f\n", static_cast<double>(bytes) / 1048576.0);
  std::printf("libcups_s: %.3f\n", cups);
  std::printf("ours_s: %.3f\n", ours);
  std::printf("byte_loop_s: %.3f\n", floor);
  std::printf("fgetc_loop_s: %.3f\n", fgetcLoop);
  std::printf("speedup_vs_libcups: %.2f\n", cups / ours);
  std::printf("ratio_to_byte_floor: %.2f\n", ours / floor);
  std::printf("marks_ms_largest: %.3f\n", marks * 1000.0 / repeats);
  std::printf("model_kb_largest: %.0f\n", static_cast<double>(modelBytes) / 1024.0);
  std::printf("token_buffer_kb: %d\n", 1024);
  return 0;
}
