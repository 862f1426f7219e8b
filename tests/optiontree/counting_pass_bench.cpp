// Times the document-properties counting pass on one PPD: the file is read
// once, then the installed options are refreshed from a stand-in driver and
// the constrained marks recomputed, as at every opening of the sheet.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "optiontree/model_match.h"

namespace {
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Reports, for each installable feature, its first option on even passes and
// its last on odd ones, so that every pass changes the installed hardware.
struct AlternatingDriver {
  const qx::PpdModel *model;
  int pass = 0;
  static bool Read(void *context, const qx::PpdUnit *keyword, qx::PpdUnit (&option)[qx::kPpdTextUnits]) {
    auto *self = static_cast<AlternatingDriver *>(context);
    const qx::PpdFeature *feature = qx::FindFeatureByKeyword(*self->model, keyword);
    if (!feature || feature->options.Count() == 0) return false;
    int32_t index = self->pass % 2 == 0 ? 0 : feature->options.Count() - 1;
    const qx::PpdWord &text = feature->options[index]->keyword;
    std::copy(text.text, text.text + text.length + 1, option);
    return true;
  }
};
}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE.ppd [passes]\n", argv[0]);
    return 2;
  }
  int passes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
  FILE *file = std::fopen(argv[1], "rb");
  if (!file) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  Clock::time_point start = Clock::now();
  std::unique_ptr<qx::PpdModel> model = qx::ReadPpdModelFromFile(file);
  double readMs = MillisecondsSince(start);
  std::fclose(file);
  if (!model) return 1;

  int installable = 0, options = 0;
  for (const qx::PpdFeature *feature : model->features) {
    options += feature->options.Count();
    if (feature->IsInstallable()) ++installable;
  }
  AlternatingDriver driver{model.get()};
  std::vector<double> times;
  for (int i = 0; i < passes; ++i) {
    driver.pass = i;
    start = Clock::now();
    qx::RefreshInstalledOptions(*model, AlternatingDriver::Read, &driver);
    times.push_back(MillisecondsSince(start));
  }
  // How many options the last two passes' hardware excludes: shows that the
  // passes did change the marks.
  int marked[2] = {};
  for (int k = 0; k < 2; ++k) {
    driver.pass = k;
    qx::RefreshInstalledOptions(*model, AlternatingDriver::Read, &driver);
    for (const qx::PpdFeature *feature : model->features)
      for (const qx::PpdOption *option : feature->options) marked[k] += option->constrained;
  }
  std::sort(times.begin(), times.end());
  std::printf("file: %s\n", argv[1]);
  std::printf("features: %d\n", model->FeatureCount());
  std::printf("options: %d\n", options);
  std::printf("constraints: %d\n", model->ConstraintCount());
  std::printf("installable_features: %d\n", installable);
  std::printf("passes: %d\n", passes);
  std::printf("marked_with_first_options: %d\n", marked[0]);
  std::printf("marked_with_last_options: %d\n", marked[1]);
  std::printf("read_once_ms: %.3f\n", readMs);
  std::printf("recompute_median_ms: %.3f\n", times[times.size() / 2]);
  std::printf("recompute_max_ms: %.3f\n", times.back());
  std::printf("recompute_target_ms: 5.000\n");
  return 0;
}
