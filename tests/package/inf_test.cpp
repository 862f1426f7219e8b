// The driver packages' INFs, read by a real INF parser (Wine's setupapi): every
// model of both architectures resolves to an install section whose files are
// in the package where the INF says they come from, DriverVer is the plug-in's
// version block, and the copy sections install the package's own bytes.
// Needs ./qx package first (./qx test does it).
#include <windows.h>
#include <setupapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/plugin_loader.h"

namespace {

constexpr wchar_t kPostScriptCore[] = L"{D20EA372-DD35-4950-9ED8-A6335AFE79F1}";

std::wstring PackageDir(const wchar_t *systems) {
  return qxtest::BesideTestProgram((std::wstring(L"..\\package\\") + systems + L"\\").c_str());
}

std::string Narrow(const std::wstring &text) { return std::string(text.begin(), text.end()); }

std::wstring Field(INFCONTEXT *line, DWORD index) {
  WCHAR text[512] = {};
  if (!SetupGetStringFieldW(line, index, text, 512, nullptr)) return {};
  return text;
}

// The whole line as the INF has it, for failure messages.
std::string LineText(INFCONTEXT *line) {
  WCHAR text[1024] = {};
  SetupGetLineTextW(line, nullptr, nullptr, nullptr, text, 1024, nullptr);
  const std::wstring key = Field(line, 0);
  return Narrow(key.empty() ? text : key + L"=" + text);
}

// The value of `key` in `section`; empty when the INF lacks it.
std::wstring Value(HINF inf, const wchar_t *section, const wchar_t *key, DWORD index = 1) {
  INFCONTEXT line;
  if (!SetupFindFirstLineW(inf, section, key, &line)) return {};
  return Field(&line, index);
}

std::vector<char> ReadBytes(const std::wstring &path) {
  std::ifstream in(Narrow(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

WORD PeMachine(const std::wstring &path) {
  std::vector<char> bytes = ReadBytes(path);
  if (bytes.size() < 0x40) return 0;
  DWORD pe = *reinterpret_cast<const DWORD *>(&bytes[0x3C]);
  if (bytes.size() < pe + 6) return 0;
  return *reinterpret_cast<const WORD *>(&bytes[pe + 4]);
}

std::wstring FileVersion(const std::wstring &path) {
  DWORD handle = 0, size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  std::vector<BYTE> block(size);
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT length = 0;
  if (!size || !GetFileVersionInfoW(path.c_str(), 0, size, block.data()) ||
      !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void **>(&fixed), &length))
    return {};
  WCHAR text[64];
  wsprintfW(text, L"%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
            HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  return text;
}

// One model's install section and the files it copies.
struct Model {
  std::string line;  // the model line, for messages
  std::wstring install;
  std::vector<std::wstring> files;
};

class Inf {
 public:
  explicit Inf(const std::wstring &path) {
    UINT errorLine = 0;
    SetLastError(0xdeadbeef);
    inf_ = SetupOpenInfFileW(path.c_str(), nullptr, INF_STYLE_WIN4, &errorLine);
    error_ = GetLastError();
    errorLine_ = errorLine;
  }
  ~Inf() {
    if (inf_ != INVALID_HANDLE_VALUE) SetupCloseInfFile(inf_);
  }
  Inf(const Inf &) = delete;
  Inf &operator=(const Inf &) = delete;
  HINF get() const { return inf_; }
  bool ok() const { return inf_ != INVALID_HANDLE_VALUE; }
  std::string why() const { return "error " + std::to_string(error_) + " at line " + std::to_string(errorLine_); }

 private:
  HINF inf_ = INVALID_HANDLE_VALUE;
  DWORD error_ = 0;
  UINT errorLine_ = 0;
};

// The models of one decorated models section, each resolved to its files:
// CopyFiles names single files with '@' or file-list sections.
std::vector<Model> ReadModels(HINF inf, const std::wstring &section) {
  std::vector<Model> models;
  INFCONTEXT line;
  bool more = SetupFindFirstLineW(inf, section.c_str(), nullptr, &line);
  EXPECT_TRUE(more) << "no models section [" << Narrow(section) << "]";
  for (; more; more = SetupFindNextLine(&line, &line)) {
    Model model{LineText(&line), Field(&line, 1), {}};
    INFCONTEXT copy;
    if (!SetupFindFirstLineW(inf, model.install.c_str(), L"CopyFiles", &copy)) {
      ADD_FAILURE() << "model line \"" << model.line << "\": install section [" << Narrow(model.install)
                    << "] has no CopyFiles";
      continue;
    }
    for (DWORD i = 1, n = SetupGetFieldCount(&copy); i <= n; ++i) {
      std::wstring entry = Field(&copy, i);
      if (!entry.empty() && entry[0] == L'@') {
        model.files.push_back(entry.substr(1));
        continue;
      }
      INFCONTEXT file;
      bool listed = SetupFindFirstLineW(inf, entry.c_str(), nullptr, &file);
      EXPECT_TRUE(listed) << "\"" << LineText(&copy) << "\" of [" << Narrow(model.install)
                          << "]: no file-list section [" << Narrow(entry) << "]";
      for (; listed; listed = SetupFindNextLine(&file, &file)) model.files.push_back(Field(&file, 1));
    }
    models.push_back(model);
  }
  return models;
}

class PackageInf : public ::testing::TestWithParam<const wchar_t *> {
 protected:
  std::wstring dir = PackageDir(GetParam());
};

TEST_P(PackageInf, VersionSectionAndDriverVer) {
  Inf inf(dir + L"quillex.inf");
  ASSERT_TRUE(inf.ok()) << "cannot open " << Narrow(dir) << "quillex.inf (run ./qx package): " << inf.why();
  EXPECT_EQ(Value(inf.get(), L"Version", L"Class"), L"Printer");
  EXPECT_EQ(Value(inf.get(), L"Version", L"ClassGUID"), L"{4D36E979-E325-11CE-BFC1-08002BE10318}");
  EXPECT_EQ(Value(inf.get(), L"Version", L"Provider"), L"Orvanta");
  EXPECT_EQ(Value(inf.get(), L"Version", L"CatalogFile"), L"quillex.cat");
  EXPECT_EQ(Value(inf.get(), L"Version", L"PnpLockdown"), L"1");
  const std::wstring version = Value(inf.get(), L"Version", L"DriverVer", 2);
  EXPECT_EQ(Narrow(version), QX_PROJECT_VERSION);
  EXPECT_EQ(FileVersion(dir + L"amd64\\quillex.dll"), version);
  EXPECT_EQ(FileVersion(dir + L"i386\\quillex.dll"), version);
  EXPECT_EQ(Value(inf.get(), L"Version", L"DriverVer", 1).size(), 10u) << "DriverVer's date is mm/dd/yyyy";
}

// Each decoration's models copy files that the package holds in the folder
// [SourceDisksNames.<arch>] names, built for that architecture.
TEST_P(PackageInf, EveryModelResolvesToFilesOfItsArchitecture) {
  Inf inf(dir + L"quillex.inf");
  ASSERT_TRUE(inf.ok()) << inf.why();
  INFCONTEXT maker;
  ASSERT_TRUE(SetupFindFirstLineW(inf.get(), L"Manufacturer", nullptr, &maker));
  const std::wstring base = Field(&maker, 1);
  struct Arch {
    const wchar_t *decoration, *sourceDisks;
    WORD machine;
  };
  const Arch arches[] = {{L"NTamd64", L"SourceDisksNames.amd64", IMAGE_FILE_MACHINE_AMD64},
                         {L"NTx86", L"SourceDisksNames.x86", IMAGE_FILE_MACHINE_I386}};
  for (const Arch &arch : arches) {
    std::wstring decoration;
    for (DWORD i = 2, n = SetupGetFieldCount(&maker); i <= n; ++i)
      if (Field(&maker, i).rfind(arch.decoration, 0) == 0) decoration = Field(&maker, i);
    ASSERT_FALSE(decoration.empty()) << "\"" << LineText(&maker) << "\" has no " << Narrow(arch.decoration);
    std::vector<Model> models = ReadModels(inf.get(), base + L"." + decoration);
    EXPECT_EQ(models.size(), 2u);
    for (const Model &model : models) {
      const std::wstring dataFile = Value(inf.get(), model.install.c_str(), L"DataFile");
      bool dataCopied = false;
      for (const std::wstring &file : model.files) {
        dataCopied = dataCopied || file == dataFile;
        const std::wstring disk = Value(inf.get(), L"SourceDisksFiles", file.c_str());
        ASSERT_FALSE(disk.empty()) << "model \"" << model.line << "\": " << Narrow(file)
                                   << " is not in [SourceDisksFiles]";
        INFCONTEXT source;
        ASSERT_TRUE(SetupFindFirstLineW(inf.get(), arch.sourceDisks, disk.c_str(), &source))
            << "model \"" << model.line << "\": disk " << Narrow(disk) << " is not in [" << Narrow(arch.sourceDisks) << "]";
        std::wstring folder = Field(&source, 4);
        const std::wstring path = dir + (folder.empty() ? L"" : folder + L"\\") + file;
        EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES)
            << "model \"" << model.line << "\": " << Narrow(path) << " is not in the package";
        if (file == L"quillex.dll") EXPECT_EQ(PeMachine(path), arch.machine) << Narrow(path);
      }
      EXPECT_TRUE(dataCopied) << "model \"" << model.line << "\": DataFile " << Narrow(dataFile) << " is not copied";
      const std::wstring core = Value(inf.get(), model.install.c_str(), L"CoreDriverSections");
      const std::wstring needs = Value(inf.get(), model.install.c_str(), L"Needs");
      EXPECT_TRUE(core.rfind(kPostScriptCore, 0) == 0 || needs == L"PSCRIPT.OEM")
          << "model \"" << model.line << "\" does not take in the PostScript driver";
    }
  }
}

TEST(PackageInfNt60, NewerSystemsGetAPackageAwareDriver) {
  Inf inf(PackageDir(L"nt60") + L"quillex.inf");
  ASSERT_TRUE(inf.ok()) << inf.why();
  for (const wchar_t *section : {L"PrinterPackageInstallation.amd64", L"PrinterPackageInstallation.x86"}) {
    EXPECT_EQ(Value(inf.get(), section, L"PackageAware"), L"TRUE") << Narrow(section);
    EXPECT_EQ(Value(inf.get(), section, L"CoreDriverDependencies"), kPostScriptCore) << Narrow(section);
  }
}

// The copy queue's answers. Wine's setupapi reads only the undecorated
// [SourceDisksNames]: when it misses a file, it is pointed at the folder that
// [SourceDisksNames.amd64] names for the file's disk.
struct CopyQueue {
  HINF inf;
  std::wstring dir;
  std::vector<std::string> errors;
};

UINT NewSourceFolder(CopyQueue *queue, const std::wstring &file, const std::wstring &tried, UINT_PTR buffer) {
  INFCONTEXT source;
  const std::wstring disk = Value(queue->inf, L"SourceDisksFiles", file.c_str());
  if (disk.empty() || !SetupFindFirstLineW(queue->inf, L"SourceDisksNames.amd64", disk.c_str(), &source)) {
    queue->errors.push_back(Narrow(file) + ": no source folder in the INF");
    return FILEOP_ABORT;
  }
  const std::wstring folder = queue->dir + Field(&source, 4);
  if (lstrcmpiW(folder.c_str(), tried.c_str()) == 0 || lstrcmpiW((folder + L"\\").c_str(), tried.c_str()) == 0) {
    queue->errors.push_back(Narrow(file) + " is not in " + Narrow(folder));
    return FILEOP_ABORT;
  }
  lstrcpynW(reinterpret_cast<WCHAR *>(buffer), folder.c_str(), MAX_PATH);
  return FILEOP_NEWPATH;
}

UINT CALLBACK CopyQueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2) {
  auto *queue = static_cast<CopyQueue *>(context);
  switch (notification) {
    case SPFILENOTIFY_STARTQUEUE:
    case SPFILENOTIFY_STARTSUBQUEUE:
      return TRUE;
    case SPFILENOTIFY_STARTCOPY:
      return FILEOP_DOIT;
    case SPFILENOTIFY_NEEDMEDIA: {
      auto *media = reinterpret_cast<SOURCE_MEDIA_W *>(param1);
      return NewSourceFolder(queue, media->SourceFile ? media->SourceFile : L"",
                             media->SourcePath ? media->SourcePath : L"", param2);
    }
    case SPFILENOTIFY_COPYERROR: {
      const std::wstring source = reinterpret_cast<FILEPATHS_W *>(param1)->Source;
      const size_t slash = source.find_last_of(L'\\');
      return NewSourceFolder(queue, source.substr(slash + 1), source.substr(0, slash), param2);
    }
    default:
      return NO_ERROR;
  }
}

// setupapi itself copies each x64 model's files to the driver directory
// (66000) and the package's bytes arrive there.
TEST(PackageInfNt60, CopySectionsInstallThePackagesFiles) {
  const std::wstring dir = PackageDir(L"nt60");
  Inf inf(dir + L"quillex.inf");
  ASSERT_TRUE(inf.ok()) << inf.why();
  WCHAR target[MAX_PATH] = {};
  SetLastError(0xdeadbeef);
  // A file-list section without its own line in [DestinationDirs] goes to
  // DefaultDestDir, as the single files do.
  ASSERT_TRUE(SetupGetTargetPathW(inf.get(), nullptr, L"QX_PLUGIN", target, MAX_PATH, nullptr)) << GetLastError();

  INFCONTEXT maker;
  ASSERT_TRUE(SetupFindFirstLineW(inf.get(), L"Manufacturer", nullptr, &maker));
  for (const Model &model : ReadModels(inf.get(), Field(&maker, 1) + L".NTamd64.6.0")) {
    CopyQueue queue{inf.get(), dir, {}};
    SetLastError(0xdeadbeef);
    BOOL done = SetupInstallFromInfSectionW(nullptr, inf.get(), model.install.c_str(), SPINST_FILES, nullptr,
                                            dir.c_str(), 0, CopyQueueCallback, &queue, nullptr, nullptr);
    EXPECT_TRUE(done) << "model \"" << model.line << "\": error " << GetLastError();
    EXPECT_TRUE(queue.errors.empty()) << queue.errors.front();
    for (const std::wstring &file : model.files) {
      const std::wstring source = dir + (file == L"quillex.dll" ? L"amd64\\" : L"") + file;
      const std::wstring installed = std::wstring(target) + L"\\" + file;
      const std::vector<char> copied = ReadBytes(installed);
      EXPECT_FALSE(copied.empty()) << Narrow(installed) << " not installed";
      EXPECT_TRUE(copied == ReadBytes(source)) << Narrow(file) << " differs from the package's";
      DeleteFileW(installed.c_str());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Systems, PackageInf, ::testing::Values(L"nt60", L"nt52"),
                         [](const auto &info) { return Narrow(info.param); });

}  // namespace
