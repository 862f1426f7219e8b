// Loads quillex.dll the way the driver does (LoadLibrary, DllGetClassObject,
// CreateInstance) and prints what the plug-in object answers.
#include <cstdio>

#include "platform/printoem.h"

int wmain(int argc, wchar_t **argv) {
  const wchar_t *path = argc > 1 ? argv[1] : L"quillex.dll";
  HMODULE dll = LoadLibraryW(path);
  if (!dll) {
    std::fprintf(stderr, "cannot load %ls (error %lu)\n", path, GetLastError());
    return 1;
  }
  using GetClassObject = HRESULT(STDAPICALLTYPE *)(REFCLSID, REFIID, void **);
  auto getClassObject = reinterpret_cast<GetClassObject>(GetProcAddress(dll, "DllGetClassObject"));
  IClassFactory *factory = nullptr;
  IPrintOemUI2 *plugin = nullptr;
  if (!getClassObject || FAILED(getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory))) ||
      FAILED(factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void **>(&plugin)))) {
    std::fprintf(stderr, "the plug-in object could not be created\n");
    return 1;
  }
  factory->Release();

  DWORD signature = 0, version = 0, needed = 0;
  plugin->GetInfo(OEMGI_GETSIGNATURE, &signature, sizeof signature, &needed);
  plugin->GetInfo(OEMGI_GETVERSION, &version, sizeof version, &needed);
  OEMDMPARAM dm = {};
  dm.cbSize = sizeof dm;
  plugin->DevMode(OEMDM_SIZE, &dm);
  wchar_t profile[16] = {};
  ULONG profileSize = sizeof profile;
  FLONG profileFlags = 0;
  plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, profile, &profileSize,
                            &profileFlags);
  std::printf("signature: %c%c%c%c\n", char(signature >> 24), char(signature >> 16), char(signature >> 8),
              char(signature));
  std::printf("version: %lu\n", version);
  std::printf("devmode size: %lu\n", dm.cbBufSize);
  std::printf("colour profile: %ls\n", profile);
  plugin->Release();
  FreeLibrary(dll);
  return 0;
}
