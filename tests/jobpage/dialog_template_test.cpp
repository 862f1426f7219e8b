// Dialog 10000 in the DLL as the page expects it: size, font of the build,
// and each control's id, class, style and place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driversim/dialog_template.h"
#include "resource_ids.h"
#include "support/plugin_loader.h"

namespace {

using qxsim::DialogControl;
using qxsim::DialogTemplate;

const DialogControl *Find(const DialogTemplate &t, DWORD id) {
  for (const DialogControl &control : t.controls)
    if (control.id == id) return &control;
  return nullptr;
}

constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;

TEST(JobSettingsTemplate, SizeFontAndControls) {
  qxtest::PluginLoader loader;
  DialogTemplate t = qxsim::ReadDialogTemplate(loader.module(), MAKEINTRESOURCEW(IDD_JOB_SETTINGS));
  ASSERT_TRUE(t.ok);
  ASSERT_TRUE(t.extended);
  EXPECT_EQ(t.cx, 320);
  EXPECT_EQ(t.cy, 346);
  EXPECT_EQ(t.caption, L"Job Settings");
  EXPECT_TRUE(t.style & WS_CHILD);
#ifdef QX_NT52
  EXPECT_EQ(t.face, L"MS Shell Dlg");
  EXPECT_EQ(t.pointSize, 8);
#else
  EXPECT_EQ(t.face, L"MS UI Gothic");
  EXPECT_EQ(t.pointSize, 9);
#endif

  struct Expected {
    DWORD id;
    WORD classAtom;
    DWORD typeBits;
    short x, y, cx, cy;
  };
  const Expected expected[] = {
      {IDC_JOB_ACCESS_GROUP, kButton, BS_GROUPBOX, 6, 7, 192, 108},
      {IDC_JOB_ACCESS_CONTROL, kButton, BS_AUTOCHECKBOX, 15, 45, 177, 18},
      {IDC_JOB_ACCESS_USER_LABEL, kStatic, SS_LEFT, 15, 67, 63, 9},
      {IDC_JOB_ACCESS_USER_NAME, kEdit, ES_AUTOHSCROLL, 85, 63, 93, 15},
      {IDC_JOB_ACCESS_PASSWORD_LABEL, kStatic, SS_LEFT, 15, 89, 63, 9},
      {IDC_JOB_ACCESS_PASSWORD, kEdit, ES_PASSWORD | ES_AUTOHSCROLL, 85, 85, 93, 15},
      {IDC_JOB_DESCRIPTION, kStatic, SS_LEFT, 15, 20, 177, 18},
      {0xFFFFFFFF, kButton, BS_GROUPBOX, 6, 130, 298, 188},
  };
  for (const Expected &e : expected) {
    const DialogControl *item = Find(t, e.id);
    ASSERT_NE(item, nullptr) << e.id;
    EXPECT_EQ(item->cls.ordinal, e.classAtom) << e.id;
    EXPECT_EQ(item->style & e.typeBits, e.typeBits) << e.id;
    EXPECT_TRUE(item->style & WS_VISIBLE) << e.id;
    EXPECT_EQ(item->x, e.x) << e.id;
    EXPECT_EQ(item->y, e.y) << e.id;
    EXPECT_EQ(item->cx, e.cx) << e.id;
    EXPECT_EQ(item->cy, e.cy) << e.id;
  }
  EXPECT_TRUE(Find(t, IDC_JOB_ACCESS_USER_NAME)->style & WS_BORDER);

  // The confidential-job controls sit inside the reserve-job group box; the
  // job-type buttons that would not change what is stored are left out.
  for (DWORD id : {IDC_JOB_RESERVE_JOB, IDC_JOB_RESERVE_USER_LABEL, IDC_JOB_RESERVE_USER_NAME, IDC_JOB_RESERVE_JOB_LABEL,
                   IDC_JOB_RESERVE_JOB_NAME, IDC_JOB_RESERVE_PASSWORD_LABEL, IDC_JOB_RESERVE_PASSWORD}) {
    const DialogControl *item = Find(t, id);
    ASSERT_NE(item, nullptr) << id;
    EXPECT_GE(item->x, 6) << id;
    EXPECT_GE(item->y, 130) << id;
    EXPECT_LE(item->x + item->cx, 6 + 298) << id;
    EXPECT_LE(item->y + item->cy, 130 + 188) << id;
  }
  EXPECT_TRUE(Find(t, IDC_JOB_RESERVE_PASSWORD)->style & ES_PASSWORD);
  for (DWORD id : {IDC_JOB_CONFIDENTIAL_OPTION, IDC_JOB_TYPE_BUTTON_1, IDC_JOB_TYPE_BUTTON_2, IDC_JOB_TYPE_BUTTON_3})
    EXPECT_EQ(Find(t, id), nullptr) << id;
  EXPECT_EQ(t.controls.size(), 15u);
}

}  // namespace
