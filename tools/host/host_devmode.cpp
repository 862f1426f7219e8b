#include "host/host_devmode.h"

#include <cstring>

namespace qxhost {
namespace {

short PaperSizeOf(const std::string &keyword) {
  if (keyword == "A4") return DMPAPER_A4;
  if (keyword == "Letter") return DMPAPER_LETTER;
  if (keyword == "Legal") return DMPAPER_LEGAL;
  if (keyword == "A5") return DMPAPER_A5;
  if (keyword == "A3") return DMPAPER_A3;
  return DMPAPER_USER;
}

const wchar_t *const kNup[] = {L"1", L"2", L"4", L"6", L"9", L"16", L"Booklet"};
const wchar_t *const kOrientation[] = {L"Portrait", L"Landscape", L"Rotated Landscape"};
const wchar_t *const kDirection[] = {L"Right then Down", L"Down then Right", L"Left then Down", L"Down then Left"};

template <size_t N>
std::string Pick(const wchar_t *const (&names)[N], int i) {
  return i >= 0 && static_cast<size_t>(i) < N ? Narrow(names[i]) : std::to_string(i);
}

}  // namespace

void HostDevmode::Build(const PrinterDescription &desc, const DocumentSettings &settings,
                        const std::wstring &deviceName, PluginSession *session, HANDLE printer,
                        const DEVMODEW *previous, size_t previousSize) {
  pluginSize_ = 0;
  OEMDMPARAM param = {};
  param.cbSize = sizeof param;
  if (session && session->plugin()) {
    param.pdriverobj = session->uiobj();
    param.hPrinter = printer;
    param.hModule = session->module();
    HRESULT hr = session->plugin()->DevMode(OEMDM_SIZE, &param);
    session->log()->Add("DevMode(OEMDM_SIZE) -> " + HResultText(hr) + ", " + std::to_string(param.cbBufSize) +
                        " bytes");
    if (SUCCEEDED(hr) && param.cbBufSize <= 0xFFFF - kDriverPartSize) pluginSize_ = param.cbBufSize;
  }
  bytes_.assign(sizeof(DEVMODEW) + kDriverPartSize + pluginSize_, 0);
  DEVMODEW *dm = get();
  lstrcpynW(dm->dmDeviceName, deviceName.c_str(), CCHDEVICENAME);
  dm->dmSpecVersion = DM_SPECVERSION;
  dm->dmDriverVersion = 0x0600;
  dm->dmSize = sizeof(DEVMODEW);
  dm->dmDriverExtra = static_cast<WORD>(kDriverPartSize + pluginSize_);
  InitDriverPart(driverPart());
  Write(desc, settings);
  if (!pluginSize_) return;

  param.pPublicDMOut = dm;
  param.pOEMDMOut = pluginBlock();
  HRESULT hr = session->plugin()->DevMode(OEMDM_DEFAULT, &param);
  session->log()->Add("DevMode(OEMDM_DEFAULT) -> " + HResultText(hr));
  DEVMODEW *prev = const_cast<DEVMODEW *>(previous);
  void *prevBlock = prev ? FindPluginBlock(prev, previousSize) : nullptr;
  if (prevBlock) {
    param.pPublicDMIn = prev;
    param.pOEMDMIn = prevBlock;
    hr = session->plugin()->DevMode(OEMDM_MERGE, &param);
    session->log()->Add("DevMode(OEMDM_MERGE) -> " + HResultText(hr));
  }
}

void HostDevmode::Write(const PrinterDescription &desc, const DocumentSettings &s) {
  DEVMODEW *dm = get();
  const LayoutSettings &l = s.layout;
  dm->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_DUPLEX |
                 DM_FORMNAME | DM_COLLATE | DM_MEDIATYPE | DM_NUP;
  dm->dmOrientation = l.orientation == 0 ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
  dm->dmCopies = 1;
  dm->dmCollate = DMCOLLATE_TRUE;
  dm->dmNup = DMNUP_SYSTEM;
  if (desc.colorDevice) {
    dm->dmFields |= DM_COLOR;
    dm->dmColor = l.color ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
  } else {
    dm->dmColor = DMCOLOR_MONOCHROME;
  }
  int duplex = desc.FindFeature("Duplex");
  int d = duplex >= 0 ? s.choices.index[duplex] : 0;
  dm->dmDuplex = d == 1 ? DMDUP_HORIZONTAL : d == 2 ? DMDUP_VERTICAL : DMDUP_SIMPLEX;
  int size = desc.FindFeature("PageSize");
  if (size >= 0) {
    const HostOption &o = desc.features[size].options[s.choices.index[size]];
    dm->dmPaperSize = PaperSizeOf(o.keyword);
    lstrcpynW(dm->dmFormName, o.translation.c_str(), CCHFORMNAME);
  }
  int slot = desc.FindFeature("InputSlot");
  dm->dmDefaultSource = static_cast<short>(slot >= 0 && s.choices.index[slot] > 0 ? DMBIN_USER + s.choices.index[slot]
                                                                                   : DMBIN_AUTO);
  int media = desc.FindFeature("MediaType");
  dm->dmMediaType = DMMEDIA_USER + (media >= 0 ? s.choices.index[media] : 0);
  int res = desc.FindFeature("Resolution");
  dm->dmPrintQuality = res >= 0 ? static_cast<short>(atoi(ChosenKeyword(desc, s.choices, res).c_str())) : 600;
  dm->dmYResolution = dm->dmPrintQuality;

  DriverPart *part = driverPart();
  part->bOrientation = static_cast<uint8_t>(l.orientation);
  part->bPagesPerSheet = static_cast<uint8_t>(l.pagesPerSheet);
  part->bPageOrder = static_cast<uint8_t>(l.pageOrder);
  part->bNupDirection = static_cast<uint8_t>(l.nupDirection);
  part->bBookletEdge = static_cast<uint8_t>(l.bookletEdge);
  part->bDrawBorders = l.drawBorders ? 1 : 0;
  StoreChoices(s.choices, part);
}

void *FindPluginBlock(DEVMODEW *dm, size_t available) {
  if (!dm || available < sizeof(DEVMODEW) || dm->dmSize != sizeof(DEVMODEW)) return nullptr;
  size_t extra = dm->dmDriverExtra;
  if (dm->dmSize + extra > available) return nullptr;
  BYTE *part = reinterpret_cast<BYTE *>(dm) + dm->dmSize;
  if (!IsDriverPart(part, extra)) return nullptr;
  uint16_t offset;
  std::memcpy(&offset, part + offsetof(DriverPart, wPluginOffset), sizeof offset);
  if (offset + sizeof(DWORD) * 3 > extra) return nullptr;
  return part + offset;
}

bool ReadDocumentSettings(const PrinterDescription &desc, const DEVMODEW *dm, size_t available,
                          DocumentSettings *out) {
  if (!dm || available < sizeof(DEVMODEW) || dm->dmSize != sizeof(DEVMODEW) ||
      dm->dmSize + dm->dmDriverExtra > available)
    return false;
  const BYTE *bytes = reinterpret_cast<const BYTE *>(dm) + dm->dmSize;
  if (!IsDriverPart(bytes, dm->dmDriverExtra)) return false;
  DriverPart part;
  std::memcpy(&part, bytes, sizeof part);
  out->choices = LoadChoices(desc, part);
  LayoutSettings &l = out->layout;
  l.orientation = part.bOrientation <= 2 ? part.bOrientation : 0;
  l.pagesPerSheet = part.bPagesPerSheet <= kBooklet ? part.bPagesPerSheet : 0;
  l.pageOrder = part.bPageOrder & 1;
  l.nupDirection = part.bNupDirection & 3;
  l.bookletEdge = part.bBookletEdge & 1;
  l.drawBorders = part.bDrawBorders != 0;
  l.color = dm->dmColor == DMCOLOR_COLOR ? 1 : 0;
  return true;
}

std::vector<std::string> DescribeSettings(const PrinterDescription &desc, const DocumentSettings &s) {
  std::vector<std::string> lines;
  const LayoutSettings &l = s.layout;
  lines.push_back("Orientation: " + Pick(kOrientation, l.orientation));
  lines.push_back("Pages per sheet: " + Pick(kNup, l.pagesPerSheet) + (l.drawBorders ? ", with borders" : ""));
  lines.push_back("Pages per sheet layout: " + Pick(kDirection, l.nupDirection));
  lines.push_back(std::string("Page order: ") + (l.pageOrder ? "Back to Front" : "Front to Back"));
  lines.push_back(std::string("Booklet binding edge: ") + (l.bookletEdge ? "Right" : "Left"));
  if (desc.colorDevice) lines.push_back(std::string("Color: ") + (l.color ? "Color" : "Monochrome"));
  for (size_t i = 0; i < desc.features.size(); ++i) {
    if (IsDeviceFeature(desc.features[i]) || desc.features[i].keyword == "PageRegion") continue;
    lines.push_back("*" + desc.features[i].keyword + ": " + ChosenKeyword(desc, s.choices, static_cast<int>(i)));
  }
  return lines;
}

}  // namespace qxhost
