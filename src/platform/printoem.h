// Declarations of the printer-driver plug-in interfaces and records that the
// PostScript driver's user-interface module shares with its plug-ins. MinGW
// ships none of them; the layouts and vtable orders follow the published
// interface exactly, and the assertions at the end pin them for both
// architectures so that a slip breaks the build instead of the driver.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <unknwn.h>
#include <winspool.h>
#include <winddiui.h>
#include <compstui.h>
#include <stddef.h>

// Public ids of the newer layout items, which the NT 5.2 platform headers
// leave out.
#ifndef DMPUB_NUP_DIRECTION
#define DMPUB_NUP_DIRECTION 18
#endif
#ifndef DMPUB_BOOKLET_EDGE
#define DMPUB_BOOKLET_EDGE 21
#endif

// ---- GUIDs -----------------------------------------------------------------
inline constexpr GUID CLSID_OEMUI = {0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};
inline constexpr GUID IID_IPrintOemUI = {0xC6A7A9D0, 0x774C, 0x11D1, {0x94, 0x7F, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
inline constexpr GUID IID_IPrintOemUI2 = {0x292515F9, 0xB54B, 0x489B, {0x92, 0x75, 0xBA, 0xB5, 0x68, 0x21, 0x39, 0x5E}};
inline constexpr GUID IID_IPrintOemDriverUI = {0x92B05D50, 0x78BC, 0x11D1, {0x94, 0x80, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};

// ---- constants ---------------------------------------------------------------
#define OEMGI_GETSIGNATURE 1
#define OEMGI_GETINTERFACEVERSION 2
#define OEMGI_GETVERSION 3
#define OEMGI_GETPUBLISHERINFO 4

#define OEMDM_SIZE 1
#define OEMDM_DEFAULT 2
#define OEMDM_CONVERT 3
#define OEMDM_MERGE 4

#define OEMCUIP_DOCPROP 1
#define OEMCUIP_PRNPROP 2

#define QCP_DEVICEPROFILE 0x0000
#define QCP_TARGETPROFILE 0x0001
#define QCP_PROFILEMEMORY 0x00000001
#define QCP_PROFILEDISK 0x00000002

#ifndef DOCUMENTEVENT_SUCCESS
#define DOCUMENTEVENT_SUCCESS 1
#define DOCUMENTEVENT_UNSUPPORTED 0
#define DOCUMENTEVENT_FAILURE (-1)
#endif

#ifndef PRINTER_EVENT_INITIALIZE
#define PRINTER_EVENT_CONFIGURATION_CHANGE 0
#define PRINTER_EVENT_ADD_CONNECTION 1
#define PRINTER_EVENT_DELETE_CONNECTION 2
#define PRINTER_EVENT_INITIALIZE 3
#define PRINTER_EVENT_DELETE 4
#define PRINTER_EVENT_CACHE_REFRESH 5
#define PRINTER_EVENT_CACHE_DELETE 6
#define PRINTER_EVENT_ATTRIBUTES_CHANGED 7
#define PRINTER_EVENT_CONFIGURATION_UPDATE 8
#define PRINTER_EVENT_FLAG_NO_UI 0x00000001
#endif

// ---- records -----------------------------------------------------------------
struct OEMUIPROCS;

typedef struct _OEMUIOBJ {
  DWORD cbSize;
  OEMUIPROCS *pOemUIProcs;
} OEMUIOBJ, *POEMUIOBJ;

typedef BOOL(APIENTRY *PFN_DrvGetDriverSetting)(PVOID pdriverobj, PCSTR Feature, PVOID pOutput, DWORD cbSize,
                                                PDWORD pcbNeeded, PDWORD pdwOptionsReturned);
typedef BOOL(APIENTRY *PFN_DrvUpdateUISetting)(PVOID pdriverobj, PVOID pOptItem, DWORD dwPreviousSelection,
                                               DWORD dwMode);

struct OEMUIPROCS {
  PFN_DrvGetDriverSetting DrvGetDriverSetting;
  PFN_DrvUpdateUISetting DrvUpdateUISetting;
};
typedef OEMUIPROCS *POEMUIPROCS;

typedef struct _OEMCUIPPARAM *POEMCUIPPARAM;
typedef LONG(APIENTRY *OEMCUIPCALLBACK)(PCPSUICBPARAM, POEMCUIPPARAM);

typedef struct _OEMCUIPPARAM {
  DWORD cbSize;
  POEMUIOBJ poemuiobj;
  HANDLE hPrinter;
  PWSTR pPrinterName;
  HANDLE hModule;
  HANDLE hOEMHeap;
  PDEVMODEW pPublicDM;
  PVOID pOEMDM;
  DWORD dwFlags;
  POPTITEM pDrvOptItems;
  DWORD cDrvOptItems;
  POPTITEM pOEMOptItems;
  DWORD cOEMOptItems;
  PVOID pOEMUserData;
  OEMCUIPCALLBACK OEMCUIPCallback;
} OEMCUIPPARAM;

// What the driver hands its plug-ins' property-sheet calls at INIT.
typedef struct _OEMUIPSPARAM {
  DWORD cbSize;
  POEMUIOBJ poemuiobj;
  HANDLE hPrinter;
  PWSTR pPrinterName;
  HANDLE hModule;
  HANDLE hOEMHeap;
  PDEVMODEW pPublicDM;
  PVOID pOEMDM;
  PVOID pOEMUserData;
  DWORD dwFlags;
  PVOID pOemEntry;
} OEMUIPSPARAM, *POEMUIPSPARAM;

typedef struct _OEMDMPARAM {
  DWORD cbSize;
  PVOID pdriverobj;
  HANDLE hPrinter;
  HANDLE hModule;
  PDEVMODEW pPublicDMIn;
  PDEVMODEW pPublicDMOut;
  PVOID pOEMDMIn;
  PVOID pOEMDMOut;
  DWORD cbBufSize;
} OEMDMPARAM, *POEMDMPARAM;

typedef struct _OEM_DMEXTRAHEADER {
  DWORD dwSize;
  DWORD dwSignature;
  DWORD dwVersion;
} OEM_DMEXTRAHEADER, *POEM_DMEXTRAHEADER;

// The PostScript driver's user data on each of its option items.
typedef struct _USERDATA {
  DWORD dwSize;
  ULONG_PTR dwItemID;
  PSTR pKeyWordName;
  DWORD dwReserved[8];
} USERDATA, *PUSERDATA;

typedef struct _DRIVER_UPGRADE_INFO_1W {
  LPWSTR pPrinterName;
  LPWSTR pOldDriverDirectory;
} DRIVER_UPGRADE_INFO_1W, *PDRIVER_UPGRADE_INFO_1W;
typedef DRIVER_UPGRADE_INFO_1W DRIVER_UPGRADE_INFO_1;
typedef PDRIVER_UPGRADE_INFO_1W PDRIVER_UPGRADE_INFO_1;

typedef struct _DEVQUERYPRINT_INFO {
  WORD cbSize;
  WORD Level;
  HANDLE hPrinter;
  DEVMODEW *pDevMode;
  LPWSTR pszErrorStr;
  DWORD cchErrorStr;
  DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

#ifndef DM_ADVANCED
// What the spooler hands a driver's DrvDocumentPropertySheets.
typedef struct _DOCUMENTPROPERTYHEADER {
  WORD cbSize;
  WORD Reserved;
  HANDLE hPrinter;
  LPWSTR pszPrinterName;
  PDEVMODEW pdmIn;
  PDEVMODEW pdmOut;
  DWORD cbOut;
  DWORD fMode;
} DOCUMENTPROPERTYHEADER, *PDOCUMENTPROPERTYHEADER;
#define DM_ADVANCED 0x10
#define DM_NOPERMISSION 0x20
#define DM_USER_DEFAULT 0x40
#endif

// ---- interfaces (slot order is the published one) ----------------------------
struct IPrintOemDriverUI : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID pci, PCSTR Feature, PVOID pOutput, DWORD cbSize,
                                                        PDWORD pcbNeeded, PDWORD pdwOptionsReturned) = 0;
  virtual HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE hPrinter, PCSTR pFeature, PCSTR pOption) = 0;
  virtual HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection,
                                                       DWORD dwMode) = 0;
};

struct IPrintOemCommon : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) = 0;
  virtual HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) = 0;
};

struct IPrintOemUI : public IPrintOemCommon {
  virtual HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown *pIUnknown) = 0;
  virtual HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ poemuiobj, PDEVQUERYPRINT_INFO pDQPInfo,
                                                    PDEVMODEW pPublicDM, PVOID pOEMDM) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ poemuiobj, HANDLE hPrinter, PWSTR pDeviceName,
                                                       WORD wCapability, PVOID pOutput, PDEVMODEW pPublicDM,
                                                       PVOID pOEMDM, DWORD dwOld, DWORD *dwResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags,
                                                 LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo,
                                                LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj, PDEVMODEW pPublicDM,
                                                      PVOID pOEMDM, ULONG ulQueryMode, VOID *pvProfileData,
                                                      ULONG *pcbProfileData, FLONG *pflProfileData) = 0;
  virtual HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) = 0;
};

struct IPrintOemUI2 : public IPrintOemUI {
  virtual HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE hPrinter, PDEVMODEW pDevmode, DWORD dwLevel,
                                                       LPBYTE lpAttributeInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD dwMode) = 0;
  virtual HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn,
                                                  ULONG cbOut, PVOID pvOut, PINT piResult) = 0;
};

// ---- layout checks -----------------------------------------------------------
static_assert(sizeof(OEM_DMEXTRAHEADER) == 12, "OEM_DMEXTRAHEADER");
#ifdef _WIN64
static_assert(sizeof(OEMUIOBJ) == 16, "OEMUIOBJ");
static_assert(offsetof(OEMCUIPPARAM, poemuiobj) == 8 && offsetof(OEMCUIPPARAM, hOEMHeap) == 40 &&
                  offsetof(OEMCUIPPARAM, pOEMDM) == 56 && offsetof(OEMCUIPPARAM, dwFlags) == 64 &&
                  offsetof(OEMCUIPPARAM, pDrvOptItems) == 72 && offsetof(OEMCUIPPARAM, cDrvOptItems) == 80 &&
                  offsetof(OEMCUIPPARAM, pOEMOptItems) == 88 && offsetof(OEMCUIPPARAM, cOEMOptItems) == 96 &&
                  offsetof(OEMCUIPPARAM, pOEMUserData) == 104 && offsetof(OEMCUIPPARAM, OEMCUIPCallback) == 112,
              "OEMCUIPPARAM offsets");
static_assert(sizeof(OEMCUIPPARAM) == 120, "OEMCUIPPARAM");
static_assert(offsetof(OEMDMPARAM, pdriverobj) == 8 && offsetof(OEMDMPARAM, pOEMDMIn) == 48 &&
                  offsetof(OEMDMPARAM, pOEMDMOut) == 56 && offsetof(OEMDMPARAM, cbBufSize) == 64,
              "OEMDMPARAM offsets");
static_assert(sizeof(OEMDMPARAM) == 72, "OEMDMPARAM");
static_assert(offsetof(USERDATA, dwItemID) == 8 && offsetof(USERDATA, pKeyWordName) == 16 &&
                  offsetof(USERDATA, dwReserved) == 24 && sizeof(USERDATA) == 56,
              "USERDATA");
static_assert(sizeof(DRIVER_UPGRADE_INFO_1) == 16, "DRIVER_UPGRADE_INFO_1");
static_assert(offsetof(DOCUMENTPROPERTYHEADER, hPrinter) == 8 && offsetof(DOCUMENTPROPERTYHEADER, cbOut) == 40 &&
                  sizeof(DOCUMENTPROPERTYHEADER) == 48,
              "DOCUMENTPROPERTYHEADER");
#else
static_assert(sizeof(OEMUIOBJ) == 8, "OEMUIOBJ");
static_assert(offsetof(OEMCUIPPARAM, poemuiobj) == 4 && offsetof(OEMCUIPPARAM, hOEMHeap) == 20 &&
                  offsetof(OEMCUIPPARAM, pOEMDM) == 28 && offsetof(OEMCUIPPARAM, dwFlags) == 32 &&
                  offsetof(OEMCUIPPARAM, pDrvOptItems) == 36 && offsetof(OEMCUIPPARAM, cDrvOptItems) == 40 &&
                  offsetof(OEMCUIPPARAM, pOEMOptItems) == 44 && offsetof(OEMCUIPPARAM, cOEMOptItems) == 48 &&
                  offsetof(OEMCUIPPARAM, pOEMUserData) == 52 && offsetof(OEMCUIPPARAM, OEMCUIPCallback) == 56,
              "OEMCUIPPARAM offsets");
static_assert(sizeof(OEMCUIPPARAM) == 60, "OEMCUIPPARAM");
static_assert(offsetof(OEMDMPARAM, pdriverobj) == 4 && offsetof(OEMDMPARAM, pOEMDMIn) == 24 &&
                  offsetof(OEMDMPARAM, pOEMDMOut) == 28 && offsetof(OEMDMPARAM, cbBufSize) == 32,
              "OEMDMPARAM offsets");
static_assert(sizeof(OEMDMPARAM) == 36, "OEMDMPARAM");
static_assert(offsetof(USERDATA, dwItemID) == 4 && offsetof(USERDATA, pKeyWordName) == 8 &&
                  offsetof(USERDATA, dwReserved) == 12 && sizeof(USERDATA) == 44,
              "USERDATA");
static_assert(sizeof(DRIVER_UPGRADE_INFO_1) == 8, "DRIVER_UPGRADE_INFO_1");
static_assert(offsetof(DOCUMENTPROPERTYHEADER, hPrinter) == 4 && offsetof(DOCUMENTPROPERTYHEADER, cbOut) == 20 &&
                  sizeof(DOCUMENTPROPERTYHEADER) == 28,
              "DOCUMENTPROPERTYHEADER");
#endif
