// Placeholder bodies until the reader lands.
#include "ppd/ppd_model.h"
namespace qx {
PpdModel::~PpdModel() {}
PpdModel *ReadPpdModel(PpdNextByte, void *) { return new PpdModel(); }
PpdModel *ReadPpdModelFromFile(FILE *) { return new PpdModel(); }
int ReadFileByte(void *file) { return std::fgetc(static_cast<FILE *>(file)); }
void SetInstalledOption(PpdModel *, const PpdUnit *, const PpdUnit *, bool) {}
void MarkConstrainedOptions(PpdModel *) {}
int MatchConstraint(const PpdModel *, const PpdText &, const PpdText &, const PpdFeature &, const PpdOption &) { return 0; }
}  // namespace qx
