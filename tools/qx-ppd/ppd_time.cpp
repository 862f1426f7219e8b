#include "ppd_time.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "ppd/ppd_model.h"
#include "ppd_file.h"

namespace qx {
namespace tools {

namespace {

volatile long long g_sink;

// One reading of each file, as `dump` reads it; milliseconds.
double ReadAll(const std::vector<PpdFileEntry> &files) {
  auto start = std::chrono::steady_clock::now();
  long long sum = 0;
  for (const PpdFileEntry &f : files) {
    PpdInput input(f.path);
    if (!input.opened()) continue;
    std::unique_ptr<PpdModel> model(input.ReadModel());
    if (model) sum += model->FeatureCount();
  }
  g_sink = sum;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Opening, reading in blocks and closing each file, and nothing else: the
// floor that the file system sets (high under Wine).
double ReadBytesOnly(const std::vector<PpdFileEntry> &files) {
  auto start = std::chrono::steady_clock::now();
  long long sum = 0;
  for (const PpdFileEntry &f : files) sum += ReadPpdBytes(f.path);
  g_sink = sum;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Opening and closing each file, nothing read: what every file costs the
// file system before its first byte (under Wine, round trips to its server).
double OpenCloseOnly(const std::vector<PpdFileEntry> &files) {
  auto start = std::chrono::steady_clock::now();
  long long sum = 0;
  for (const PpdFileEntry &f : files) sum += PpdInput(f.path).opened();
  g_sink = sum;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int TimeCommand(int argc, char **argv) {
  if (argc < 1 || argc > 2) {
    std::fputs("usage: qx-ppd time DIR [ROUNDS]\n", stderr);
    return 2;
  }
  int rounds = argc == 2 ? std::atoi(argv[1]) : 3;
  if (rounds < 1) rounds = 1;
  std::vector<PpdFileEntry> files = FindPpdFiles(argv[0]);
  if (files.empty()) {
    std::fprintf(stderr, "qx-ppd: no .ppd files under %s\n", argv[0]);
    return 1;
  }
  auto largest = std::max_element(files.begin(), files.end(),
                                  [](const PpdFileEntry &a, const PpdFileEntry &b) { return a.size < b.size; });
  std::vector<PpdFileEntry> one(1, *largest);
  ReadAll(files);  // the page cache and the heap warm
  double total = 1e300, single = 1e300, io = 1e300, openClose = 1e300;
  for (int round = 0; round < rounds; ++round) {
    total = std::min(total, ReadAll(files));
    io = std::min(io, ReadBytesOnly(files));
    openClose = std::min(openClose, OpenCloseOnly(files));
  }
  for (int round = 0; round < 20; ++round) single = std::min(single, ReadAll(one));
  long long bytes = 0;
  for (const PpdFileEntry &f : files) bytes += f.size;
  std::printf("files: %zu\n", files.size());
  std::printf("megabytes: %.1f\n", static_cast<double>(bytes) / 1048576.0);
  std::printf("ms_total: %.1f\n", total);
  std::printf("ms_largest: %.3f\n", single);
  std::printf("ms_open_read_close: %.1f\n", io);
  std::printf("ms_open_close: %.1f\n", openClose);
  return 0;
}

}  // namespace tools
}  // namespace qx
