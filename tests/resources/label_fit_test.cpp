// Every text on the plug-in's pages fits its control in all eight languages.
// Each page is opened in a real property sheet over a copy of the DLL that
// speaks the language; every static, button, check box and radio label is
// measured with the control's own font on its own DC, and every list entry
// against the room its list box shows it in.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "jobpage/job_settings_page.h"
#include "jobpage/page_harness.h"
#include "layoutpage/layout_page_harness.h"
#include "resource_ids.h"
#include "resources/language_copy.h"
#include "support/languages.h"

namespace {

using qxtest::LanguageCopy;

std::string Utf8(const std::wstring &text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WindowText(HWND control) {
  wchar_t buf[512] = {};
  GetWindowTextW(control, buf, 512);
  return buf;
}

// The text as drawn: a single '&' marks the access key and takes no room.
std::wstring Drawn(const std::wstring &label) {
  std::wstring out;
  for (size_t i = 0; i < label.size(); ++i) {
    if (label[i] == L'&' && ++i == label.size()) break;
    out += label[i];
  }
  return out;
}

// A control's DC with the control's font selected, as its painting has it.
class ControlDC {
 public:
  explicit ControlDC(HWND control) : control_(control), dc_(GetDC(control)) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    old_ = SelectObject(dc_, font ? font : GetStockObject(SYSTEM_FONT));
  }
  ~ControlDC() {
    SelectObject(dc_, old_);
    ReleaseDC(control_, dc_);
  }
  ControlDC(const ControlDC &) = delete;
  ControlDC &operator=(const ControlDC &) = delete;

  int Width(const std::wstring &text) const {
    SIZE size = {};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }
  // Height of the text broken into lines `width` pixels wide.
  int WrappedHeight(const std::wstring &label, int width) const {
    RECT r = {0, 0, width, 0};
    DrawTextW(dc_, label.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
    return r.bottom;
  }
  std::wstring Face() const {
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc_, LF_FACESIZE, face);
    return face;
  }
  TEXTMETRICW Metrics() const {
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc_, &tm);
    return tm;
  }

 private:
  HWND control_;
  HDC dc_;
  HGDIOBJ old_;
};

std::wstring ClassOf(HWND control) {
  wchar_t name[64] = {};
  GetClassNameW(control, name, 64);
  return name;
}

int ClientWidth(HWND control) {
  RECT r;
  GetClientRect(control, &r);
  return r.right;
}

// Collects the texts that do not fit, one line each.
class FitReport {
 public:
  explicit FitReport(const char *page) : page_(page) {}
  void Check(HWND control, const std::wstring &text, int need, int room) {
    // QX_FIT_LIST=1 lists every measure, for judging how close texts come.
    if (getenv("QX_FIT_LIST"))
      printf("%s %d %s: %d of %d\n", page_, GetDlgCtrlID(control), Utf8(text).c_str(), need, room);
    if (need <= room) return;
    lines_ << "  " << page_ << " control " << GetDlgCtrlID(control) << " \"" << Utf8(text) << "\": needs " << need
           << " px, has " << room << "\n";
  }
  std::string str() const { return lines_.str(); }

 private:
  const char *page_;
  std::ostringstream lines_;
};

void CheckStatic(HWND control, FitReport &report) {
  LONG style = GetWindowLongW(control, GWL_STYLE);
  LONG type = style & SS_TYPEMASK;
  if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) return;
  std::wstring text = WindowText(control);
  if (text.empty()) return;
  ControlDC dc(control);
  RECT client;
  GetClientRect(control, &client);
  int lineHeight = dc.Metrics().tmHeight;
  if (client.bottom >= 2 * lineHeight && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) {
    // A label of several lines: what wraps must still show whole.
    report.Check(control, text, dc.WrappedHeight(text, client.right), client.bottom);
    return;
  }
  report.Check(control, text, dc.Width(Drawn(text)), client.right);
}

void CheckButton(HWND control, FitReport &report) {
  std::wstring text = WindowText(control);
  if (text.empty()) return;
  ControlDC dc(control);
  int need = dc.Width(Drawn(text));
  int room = ClientWidth(control);
  switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
    case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: {
      // The glyph, then half a digit's width before the text.
      room -= GetSystemMetrics(SM_CXMENUCHECK) + dc.Width(L"0") / 2;
      break;
    }
    case BS_GROUPBOX:
      // The caption sits on the frame, inset from both ends.
      room -= 2 * dc.Metrics().tmAveCharWidth;
      break;
    default:
      room -= 2 * GetSystemMetrics(SM_CXEDGE);
  }
  report.Check(control, text, need, room);
}

// List entries show in the closed list's item area; a ComboBoxEx draws its
// entry's picture there first.
void CheckList(HWND control, FitReport &report) {
  bool extended = ClassOf(control) == WC_COMBOBOXEXW;
  HWND combo = extended ? reinterpret_cast<HWND>(SendMessageW(control, CBEM_GETCOMBOCONTROL, 0, 0)) : control;
  COMBOBOXINFO info = {sizeof info};
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  int room = info.rcItem.right - info.rcItem.left;
  if (extended) {
    int cx = 0, cy = 0;
    if (auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(control, CBEM_GETIMAGELIST, 0, 0)))
      ImageList_GetIconSize(images, &cx, &cy);
    // comctl32 indents the picture and leaves a gap after it.
    constexpr int kPictureMargins = 10;
    room -= cx + kPictureMargins;
  }
  ControlDC dc(control);
  int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t buf[256] = {};
    if (extended) {
      COMBOBOXEXITEMW item = {};
      item.mask = CBEIF_TEXT;
      item.iItem = i;
      item.pszText = buf;
      item.cchTextMax = 256;
      SendMessageW(control, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else {
      SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
    }
    report.Check(control, buf, dc.Width(buf), room);
  }
}

// Every visible control of the page.
std::string Misfits(HWND page, const char *name) {
  FitReport report(name);
  if (getenv("QX_FIT_LIST")) {
    RECT units = {0, 0, 4, 8};
    MapDialogRect(page, &units);
    ControlDC dc(page);
    TEXTMETRICW tm = dc.Metrics();
    printf("%s: %s, base units %ld x %ld, font height %ld\n", name, Utf8(dc.Face()).c_str(), units.right,
           units.bottom, tm.tmHeight);
  }
  for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!(GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE)) continue;
    std::wstring cls = ClassOf(c);
    if (lstrcmpiW(cls.c_str(), L"Static") == 0) CheckStatic(c, report);
    else if (lstrcmpiW(cls.c_str(), L"Button") == 0) CheckButton(c, report);
    else if (lstrcmpiW(cls.c_str(), L"ComboBox") == 0 || cls == WC_COMBOBOXEXW) CheckList(c, report);
  }
  return report.str();
}

std::vector<qxtest::ItemSpec> EveryLayoutItem() {
  return {
      {DMPUB_ORIENTATION, 3, 0}, {DMPUB_COLOR, 2, 1},         {DMPUB_DUPLEX, 3, 0},
      {DMPUB_PAGEORDER, 2, 0},   {DMPUB_NUP, 7, 2},           {DMPUB_NUP_DIRECTION, 4, 1},
      {DMPUB_BOOKLET_EDGE, 2, 0},
  };
}

class LabelFitTest : public ::testing::TestWithParam<qxtest::Language> {
 protected:
  void SetUp() override {
    copy = std::make_unique<LanguageCopy>(qxtest::BesideTestProgram(L"quillex.dll"), GetParam().id);
    ASSERT_NE(copy->module(), nullptr) << copy->error();
  }
  std::unique_ptr<LanguageCopy> copy;
};

TEST_P(LabelFitTest, LayoutPage) {
  qxtest::LayoutPageHarness h(EveryLayoutItem(), true, copy->module());
  ASSERT_NE(h.page(), nullptr);
  std::string misfits = Misfits(h.page(), "Layout");
  EXPECT_TRUE(misfits.empty()) << misfits;
}

TEST_P(LabelFitTest, ExtendedSettingsPage) {
  qxtest::PreferencesSetup setup;
  setup.param.hModule = copy->module();
  setup.ctx.dwCachedRegion = 3;
  setup.ctx.dwCachedPasswordMode = 1;
  qxtest::FakeComPropSheet fake;
  ASSERT_EQ(setup.AddPages(fake), S_OK);
  HPROPSHEETPAGE handle = fake.TakePage(&qx::JobSettingsPageProc);
  ASSERT_NE(handle, nullptr);
  qxtest::ModelessSheet sheet(handle);
  ASSERT_NE(sheet.page(), nullptr);
  std::string misfits = Misfits(sheet.page(), "Extended Settings");
  EXPECT_TRUE(misfits.empty()) << misfits;
}

INSTANTIATE_TEST_SUITE_P(Languages, LabelFitTest, ::testing::ValuesIn(qxtest::AllLanguages()),
                         [](const auto &info) { return std::string(info.param.name); });

BOOL CALLBACK CollectDialog(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
  reinterpret_cast<std::set<ULONG_PTR> *>(out)->insert(reinterpret_cast<ULONG_PTR>(name));
  return TRUE;
}

// The tests above open every dialog the DLL carries.
TEST(LabelFit, CoversEveryDialog) {
  HMODULE dll = LoadLibraryExW(qxtest::BesideTestProgram(L"quillex.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(dll, nullptr);
  std::set<ULONG_PTR> dialogs;
  EnumResourceNamesW(dll, RT_DIALOG, CollectDialog, reinterpret_cast<LONG_PTR>(&dialogs));
  FreeLibrary(dll);
  EXPECT_EQ(dialogs, (std::set<ULONG_PTR>{IDD_JOB_SETTINGS, IDD_LAYOUT_PAGE}));
}

}  // namespace
