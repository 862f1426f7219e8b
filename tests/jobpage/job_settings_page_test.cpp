// The "Extended Settings" page in a real modeless property sheet, driven by
// the messages a user's actions send.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "jobpage/job_settings_page.h"
#include "jobpage/page_harness.h"
#include "resource_ids.h"
#include "support/message_box_catcher.h"

namespace {

using qxtest::FakeComPropSheet;
using qxtest::MessageBoxCatcher;
using qxtest::ModelessSheet;
using qxtest::PreferencesSetup;
using qxtest::Type;

void SetField(char16_t *field, const wchar_t *text) {
  std::memset(field, 0, 256);
  std::memcpy(field, text, wcslen(text) * 2);
}

class JobPageTest : public ::testing::Test {
 protected:
  // Eight-character passwords unless a test says otherwise: a cached region
  // with bit 0 set answers without a printer.
  void SetUp() override { UseMode(1); }
  void UseMode(DWORD mode) {
    setup.ctx.dwCachedRegion = 3;
    setup.ctx.dwCachedPasswordMode = mode;
  }
  void Open() {
    ASSERT_EQ(setup.AddPages(fake), S_OK);
    HPROPSHEETPAGE page = fake.TakePage(&qx::JobSettingsPageProc);
    ASSERT_NE(page, nullptr);
    sheet = std::make_unique<ModelessSheet>(page);
    ASSERT_NE(sheet->page(), nullptr);
  }
  std::vector<BYTE> Snapshot() { return setup.blockBytes; }
  LRESULT Limit(int id) { return SendMessageW(sheet->item(id), EM_GETLIMITTEXT, 0, 0); }
  bool Checked(int id) { return IsDlgButtonChecked(sheet->page(), id) == BST_CHECKED; }
  void Click(int id) {
    SendMessageW(sheet->item(id), BM_CLICK, 0, 0);
    qxtest::PumpMessages();
  }
  void SetText(int id, const wchar_t *text) { SetWindowTextW(sheet->item(id), text); }
  size_t SetResultCalls() {
    size_t n = 0;
    for (const auto &call : fake.calls)
      if (call.function == CPSFUNC_SET_RESULT) {
        EXPECT_EQ(reinterpret_cast<HANDLE>(call.lParam1), setup.ctx.hJobSettingsPage);
        EXPECT_EQ(call.lParam2, CPSUI_OK);
        ++n;
      }
    return n;
  }
  void FillReserveJob(const wchar_t *password) {
    setup.block().dwReserveJobType = 5;
    SetField(setup.block().wszReserveUserName, L"alice");
    SetField(setup.block().wszReserveJobName, L"report");
    SetField(setup.block().wszReservePassword, password);
  }

  PreferencesSetup setup;
  FakeComPropSheet fake;
  std::unique_ptr<ModelessSheet> sheet;
};

TEST_F(JobPageTest, LabelsLimitsAndEnabling) {
  Open();
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_CONTROL), L"Save Access Control settings");
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_USER_LABEL), L"User Name");
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_PASSWORD_LABEL), L"Password");
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_GROUP), L"Job Settings");
  EXPECT_EQ(sheet->Text(IDC_JOB_DESCRIPTION), L"If Access Control is set on the printer, you must enter a password.");
  EXPECT_EQ(sheet->Text(-1), L"Reserve Job Settings");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_JOB), L"Confidential Job");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_USER_LABEL), L"User Name");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_JOB_LABEL), L"Job Name");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_PASSWORD_LABEL), L"Password");
  EXPECT_EQ(sheet->item(IDC_JOB_CONFIDENTIAL_OPTION), nullptr);

  EXPECT_EQ(Limit(IDC_JOB_ACCESS_USER_NAME), 14);
  EXPECT_EQ(Limit(IDC_JOB_ACCESS_PASSWORD), 70);
  EXPECT_EQ(Limit(IDC_JOB_RESERVE_USER_NAME), 14);
  EXPECT_EQ(Limit(IDC_JOB_RESERVE_JOB_NAME), 14);
  EXPECT_EQ(Limit(IDC_JOB_RESERVE_PASSWORD), 8);

  // Defaults: both choices off, their edits disabled.
  EXPECT_FALSE(Checked(IDC_JOB_ACCESS_CONTROL));
  EXPECT_FALSE(IsWindowEnabled(sheet->item(IDC_JOB_ACCESS_USER_NAME)));
  EXPECT_FALSE(IsWindowEnabled(sheet->item(IDC_JOB_ACCESS_PASSWORD)));
  EXPECT_FALSE(IsWindowEnabled(sheet->item(IDC_JOB_RESERVE_PASSWORD)));
  Click(IDC_JOB_ACCESS_CONTROL);
  EXPECT_TRUE(IsWindowEnabled(sheet->item(IDC_JOB_ACCESS_USER_NAME)));
  EXPECT_TRUE(IsWindowEnabled(sheet->item(IDC_JOB_ACCESS_PASSWORD)));
  EXPECT_FALSE(IsWindowEnabled(sheet->item(IDC_JOB_RESERVE_USER_NAME)));
  Click(IDC_JOB_RESERVE_JOB);
  EXPECT_TRUE(IsWindowEnabled(sheet->item(IDC_JOB_RESERVE_USER_NAME)));
  EXPECT_TRUE(IsWindowEnabled(sheet->item(IDC_JOB_RESERVE_JOB_NAME)));
  EXPECT_TRUE(IsWindowEnabled(sheet->item(IDC_JOB_RESERVE_PASSWORD)));
}

TEST_F(JobPageTest, ChangesMarkTheSheetAndApplyingClearsIt) {
  Open();
  HWND apply = GetDlgItem(sheet->sheet(), 0x3021);  // the sheet's Apply button
  ASSERT_NE(apply, nullptr);
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  EXPECT_FALSE(IsWindowEnabled(apply));
  Click(IDC_JOB_ACCESS_CONTROL);
  EXPECT_TRUE(IsWindowEnabled(apply));
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  EXPECT_FALSE(IsWindowEnabled(apply));
  Type(sheet->item(IDC_JOB_ACCESS_USER_NAME), L"x");
  EXPECT_TRUE(IsWindowEnabled(apply));
}

TEST_F(JobPageTest, TypedCharactersAreFiltered) {
  setup.block().bAccessControl = 1;
  FillReserveJob(L"");
  Open();
  HWND user = sheet->item(IDC_JOB_ACCESS_USER_NAME);
  Type(user, L"a\"b%c d");
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_USER_NAME), L"abc d");
  HWND password = sheet->item(IDC_JOB_ACCESS_PASSWORD);
  Type(password, L"p w\"%~");
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_PASSWORD), L"pw\"%~");

  // Ctrl+A, Ctrl+C, Tab, Ctrl+V, Ctrl+X, Ctrl+Z, Escape: swallowed everywhere.
  const std::wstring controls = L"\x01\x03\x09\x16\x18\x1a\x1b";
  for (int id : {IDC_JOB_ACCESS_USER_NAME, IDC_JOB_ACCESS_PASSWORD, IDC_JOB_RESERVE_USER_NAME,
                 IDC_JOB_RESERVE_JOB_NAME, IDC_JOB_RESERVE_PASSWORD}) {
    SetText(id, L"ab");
    SendMessageW(sheet->item(id), EM_SETSEL, 2, 2);  // caret after the text
    Type(sheet->item(id), controls);
    EXPECT_EQ(sheet->Text(id), L"ab") << id;
    Type(sheet->item(id), L"\b");
    EXPECT_EQ(sheet->Text(id), L"a") << id;  // backspace passes
  }

  SetText(IDC_JOB_RESERVE_JOB_NAME, L"");
  Type(sheet->item(IDC_JOB_RESERVE_JOB_NAME), L"q%u\"o te");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_JOB_NAME), L"quo te");
  SetText(IDC_JOB_RESERVE_PASSWORD, L"");
  Type(sheet->item(IDC_JOB_RESERVE_PASSWORD), L"ab \"%fghij");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_PASSWORD), L"ab \"%fgh");  // eight printable characters
}

TEST_F(JobPageTest, NumericModeTakesFourDigits) {
  UseMode(0);
  FillReserveJob(L"");
  Open();
  EXPECT_EQ(Limit(IDC_JOB_RESERVE_PASSWORD), 4);
  Type(sheet->item(IDC_JOB_RESERVE_PASSWORD), L"1a2 3x45");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_PASSWORD), L"1234");
}

TEST_F(JobPageTest, LimitsHoldForTypingAndPasting) {
  setup.block().bAccessControl = 1;
  Open();
  HWND user = sheet->item(IDC_JOB_ACCESS_USER_NAME);
  Type(user, L"abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_USER_NAME), L"abcdefghijklmn");

  SetText(IDC_JOB_ACCESS_USER_NAME, L"");
  ASSERT_TRUE(qxtest::Paste(user, L"a\"b%c"));
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_USER_NAME), L"a\"b%c");  // pasting is not filtered
  SetText(IDC_JOB_ACCESS_USER_NAME, L"");
  ASSERT_TRUE(qxtest::Paste(user, L"%%%%%%%%%%%%%%%%%%%%%%%%%"));
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_USER_NAME), L"%%%%%%%%%%%%%%");  // but limited
  ASSERT_TRUE(qxtest::Paste(sheet->item(IDC_JOB_ACCESS_PASSWORD), std::wstring(80, L' ')));
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_PASSWORD), std::wstring(70, L' '));
}

TEST_F(JobPageTest, LoadsEveryField) {
  FillReserveJob(L"abcd1234");
  setup.block().bAccessControl = 1;
  SetField(setup.block().wszAccessUserName, L"bob");
  std::strcpy(setup.block().szAccessPassword, "p\xC3\xA4ss");  // UTF-8 "päss"
  Open();
  EXPECT_TRUE(Checked(IDC_JOB_RESERVE_JOB));
  EXPECT_TRUE(Checked(IDC_JOB_ACCESS_CONTROL));
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_USER_NAME), L"alice");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_JOB_NAME), L"report");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_PASSWORD), L"abcd1234");
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_USER_NAME), L"bob");
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_PASSWORD), L"p\u00e4ss");
  EXPECT_TRUE(IsWindowEnabled(sheet->item(IDC_JOB_RESERVE_PASSWORD)));
  EXPECT_TRUE(IsWindowEnabled(sheet->item(IDC_JOB_ACCESS_PASSWORD)));
}

TEST_F(JobPageTest, PasswordOfTheWrongFormIsNotShown) {
  FillReserveJob(L"abc123");
  Open();
  EXPECT_TRUE(Checked(IDC_JOB_RESERVE_JOB));
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_PASSWORD), L"");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_USER_NAME), L"alice");
}

TEST_F(JobPageTest, TypeFourLoadsCheckedWithItsPasswordInNumericMode) {
  UseMode(0);
  FillReserveJob(L"4711");
  setup.block().dwReserveJobType = 4;
  Open();
  EXPECT_TRUE(Checked(IDC_JOB_RESERVE_JOB));
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_PASSWORD), L"4711");
}

TEST_F(JobPageTest, UnterminatedFieldsAreReadWithinTheirBounds) {
  setup.block().bAccessControl = 1;
  for (auto &c : setup.block().wszAccessUserName) c = u'x';
  std::memset(setup.block().szAccessPassword, 'y', sizeof setup.block().szAccessPassword);
  setup.block().reserved1500[0] = 'z';  // would follow the password if it were read on
  Open();
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_USER_NAME), L"");
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_PASSWORD), std::wstring(256, L'y'));
}

TEST_F(JobPageTest, ConfidentialJobSurvivesOpenAndOk) {
  FillReserveJob(L"abcd1234");
  std::vector<BYTE> before = Snapshot();
  Open();
  sheet->Press(PSBTN_OK);
  EXPECT_EQ(SetResultCalls(), 2u);  // leaving the page, then applying
  EXPECT_EQ(setup.block().dwReserveJobType, 5u);
  EXPECT_TRUE(setup.blockBytes == before);
}

TEST_F(JobPageTest, IncompleteConfidentialJobIsRefusedWithAMessage) {
  FillReserveJob(L"abcd123");  // seven characters: not shown, so empty on the page
  std::vector<BYTE> before = Snapshot();
  Open();
  size_t heapBlocks = setup.HeapBlocks();
  MessageBoxCatcher catcher;
  EXPECT_EQ(sheet->Notify(PSN_KILLACTIVE), PSNRET_INVALID_NOCHANGEPAGE);
  ASSERT_EQ(catcher.count(), 1u);
  EXPECT_EQ(catcher[0].caption, L"Error");
  EXPECT_EQ(catcher[0].text, L"To enable password-protected printing, please enter the password, user name and job name.");
  EXPECT_EQ(catcher[0].owner, sheet->sheet());
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_INVALID_NOCHANGEPAGE);
  EXPECT_EQ(catcher.count(), 2u);
  EXPECT_EQ(SetResultCalls(), 0u);
  EXPECT_TRUE(setup.blockBytes == before);
  EXPECT_EQ(setup.HeapBlocks(), heapBlocks);  // both message strings freed

  // Seven characters are still too few; eight pass.
  Type(sheet->item(IDC_JOB_RESERVE_PASSWORD), L"1234567");
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_INVALID_NOCHANGEPAGE);
  Type(sheet->item(IDC_JOB_RESERVE_PASSWORD), L"8");
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  EXPECT_EQ(catcher.count(), 3u);
  EXPECT_EQ(std::u16string(setup.block().wszReservePassword), u"12345678");
}

TEST_F(JobPageTest, MissingNamesFailInNumericModeToo) {
  UseMode(0);
  FillReserveJob(L"1234");
  Open();
  MessageBoxCatcher catcher;
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  SetText(IDC_JOB_RESERVE_JOB_NAME, L"");
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_INVALID_NOCHANGEPAGE);
  EXPECT_EQ(catcher.count(), 1u);
}

TEST_F(JobPageTest, StoresConfidentialJobAndClearsItWhenUnchecked) {
  Open();
  Click(IDC_JOB_RESERVE_JOB);
  Type(sheet->item(IDC_JOB_RESERVE_USER_NAME), L"carol");
  Type(sheet->item(IDC_JOB_RESERVE_JOB_NAME), L"budget");
  Type(sheet->item(IDC_JOB_RESERVE_PASSWORD), L"s3cr3t!!");
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  EXPECT_EQ(setup.block().dwReserveJobType, 5u);
  EXPECT_EQ(std::u16string(setup.block().wszReserveUserName), u"carol");
  EXPECT_EQ(std::u16string(setup.block().wszReserveJobName), u"budget");
  EXPECT_EQ(std::u16string(setup.block().wszReservePassword), u"s3cr3t!!");

  Click(IDC_JOB_RESERVE_JOB);
  EXPECT_EQ(sheet->Notify(PSN_KILLACTIVE), PSNRET_NOERROR);
  EXPECT_EQ(setup.block().dwReserveJobType, 0u);
  EXPECT_EQ(std::u16string(setup.block().wszReservePassword), u"s3cr3t!!");  // kept
}

TEST_F(JobPageTest, StoresAccessControlWithSeventyCharacterPassword) {
  Open();
  Click(IDC_JOB_ACCESS_CONTROL);
  Type(sheet->item(IDC_JOB_ACCESS_USER_NAME), L"dave");
  std::wstring password;
  for (int i = 0; i < 70; ++i) password += static_cast<wchar_t>(L'!' + i);
  Type(sheet->item(IDC_JOB_ACCESS_PASSWORD), password);
  std::memset(setup.block().szAccessPassword, 0x55, sizeof setup.block().szAccessPassword);
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  const qx::PrivateDevmode &dm = setup.block();
  EXPECT_EQ(dm.bAccessControl, 1u);
  EXPECT_EQ(std::u16string(dm.wszAccessUserName), u"dave");
  EXPECT_EQ(std::memcmp(dm.szAccessPassword, std::string(password.begin(), password.end()).c_str(), 70), 0);
  EXPECT_EQ(dm.szAccessPassword[70], 0);
  EXPECT_EQ(static_cast<unsigned char>(dm.szAccessPassword[71]), 0u);  // the whole field is written
}

bool ZeroFrom(const void *field, size_t from, size_t size) {
  const auto *bytes = static_cast<const unsigned char *>(field);
  for (size_t i = from; i < size; ++i)
    if (bytes[i]) return false;
  return true;
}

// A shorter text leaves no tail of the older one in any field the page
// writes: old passwords would otherwise travel in devmodes and spool files.
TEST_F(JobPageTest, ShorterTextsClearTheWholeField) {
  setup.block().bAccessControl = 1;
  std::strcpy(setup.block().szAccessPassword, "OldSecret99");
  SetField(setup.block().wszAccessUserName, L"longusername");
  FillReserveJob(L"Oldpass9");
  Open();
  SetText(IDC_JOB_ACCESS_PASSWORD, L"New1");
  SetText(IDC_JOB_ACCESS_USER_NAME, L"al");
  SetText(IDC_JOB_RESERVE_USER_NAME, L"b");
  SetText(IDC_JOB_RESERVE_JOB_NAME, L"c");
  SetText(IDC_JOB_RESERVE_PASSWORD, L"New2New2");
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  const qx::PrivateDevmode &dm = setup.block();
  EXPECT_STREQ(dm.szAccessPassword, "New1");
  EXPECT_TRUE(ZeroFrom(dm.szAccessPassword, 4, sizeof dm.szAccessPassword));
  EXPECT_TRUE(ZeroFrom(dm.wszAccessUserName, 2 * 2, sizeof dm.wszAccessUserName));
  EXPECT_TRUE(ZeroFrom(dm.wszReserveUserName, 1 * 2, sizeof dm.wszReserveUserName));
  EXPECT_TRUE(ZeroFrom(dm.wszReserveJobName, 1 * 2, sizeof dm.wszReserveJobName));
  EXPECT_EQ(std::u16string(dm.wszReservePassword), u"New2New2");
  EXPECT_TRUE(ZeroFrom(dm.wszReservePassword, 8 * 2, sizeof dm.wszReservePassword));
}

TEST_F(JobPageTest, AccessControlOffKeepsTheStoredValues) {
  setup.block().bAccessControl = 1;
  setup.block().reserved65[0] = 0x77;
  SetField(setup.block().wszAccessUserName, L"erin");
  std::strcpy(setup.block().szAccessPassword, "secret");
  Open();
  Click(IDC_JOB_ACCESS_CONTROL);
  SetText(IDC_JOB_ACCESS_USER_NAME, L"other");
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  EXPECT_EQ(setup.block().bAccessControl, 0u);
  EXPECT_EQ(setup.block().reserved65[0], 0x77u);
  EXPECT_EQ(std::u16string(setup.block().wszAccessUserName), u"erin");
  EXPECT_STREQ(setup.block().szAccessPassword, "secret");
}

// The page stores only what it shows: an access-control entry that would be
// cut (a pasted password past 70 UTF-8 bytes, a stored user name past 14
// characters) is refused with a message and nothing is stored.
TEST_F(JobPageTest, AccessEntriesThatWouldBeCutAreRefused) {
  setup.block().bAccessControl = 1;
  std::strcpy(setup.block().szAccessPassword, "kept");
  SetField(setup.block().wszAccessUserName, L"averylongusername");
  Open();
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_USER_NAME), L"averylongusername");
  std::vector<BYTE> before = Snapshot();
  {
    MessageBoxCatcher catcher;
    EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_INVALID_NOCHANGEPAGE);
    ASSERT_EQ(catcher.count(), 1u);
    EXPECT_EQ(catcher[0].text, L"The user name or the password is longer than the printer accepts. Please shorten it.");
  }
  SetText(IDC_JOB_ACCESS_USER_NAME, L"fourteen-chars");
  // Set without typing, as a paste would: 70 euro signs need 210 bytes.
  SetText(IDC_JOB_ACCESS_PASSWORD, std::wstring(70, L'\u20ac').c_str());
  {
    MessageBoxCatcher catcher;
    EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_INVALID_NOCHANGEPAGE);
    EXPECT_EQ(catcher.count(), 1u);
  }
  EXPECT_TRUE(setup.blockBytes == before);
  EXPECT_EQ(SetResultCalls(), 0u);

  // 23 of them take 69 bytes and are stored whole.
  SetText(IDC_JOB_ACCESS_PASSWORD, std::wstring(23, L'\u20ac').c_str());
  MessageBoxCatcher none;
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  EXPECT_EQ(none.count(), 0u);
  std::string expected;
  for (int i = 0; i < 23; ++i) expected += "\xE2\x82\xAC";
  EXPECT_EQ(std::string(setup.block().szAccessPassword), expected);
  EXPECT_EQ(std::u16string(setup.block().wszAccessUserName), u"fourteen-chars");
}

TEST_F(JobPageTest, ResetStoresNothing) {
  std::vector<BYTE> before = Snapshot();
  Open();
  Click(IDC_JOB_ACCESS_CONTROL);
  Type(sheet->item(IDC_JOB_ACCESS_USER_NAME), L"frank");
  sheet->Notify(PSN_RESET);
  sheet->Press(PSBTN_CANCEL);
  EXPECT_TRUE(setup.blockBytes == before);
  EXPECT_EQ(SetResultCalls(), 0u);
}

TEST_F(JobPageTest, ForeignBlockIsNeitherLoadedNorWritten) {
  FillReserveJob(L"abcd1234");
  setup.block().dwSignature = 0x12345678;
  std::vector<BYTE> before = Snapshot();
  Open();
  EXPECT_FALSE(Checked(IDC_JOB_RESERVE_JOB));
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_USER_NAME), L"");
  Click(IDC_JOB_ACCESS_CONTROL);
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
  EXPECT_TRUE(setup.blockBytes == before);
}

TEST_F(JobPageTest, MissingBlockLoadsAndStoresNothing) {
  setup.param.pOEMDM = nullptr;
  Open();
  Click(IDC_JOB_RESERVE_JOB);
  Type(sheet->item(IDC_JOB_RESERVE_USER_NAME), L"g");
  Type(sheet->item(IDC_JOB_RESERVE_JOB_NAME), L"h");
  Type(sheet->item(IDC_JOB_RESERVE_PASSWORD), L"12345678");
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_NOERROR);
}

TEST_F(JobPageTest, WithoutDriverParametersThePageShowsItsTemplateAndIgnoresTheUser) {
  setup.ctx.pCuiParam = nullptr;
  Open();
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_CONTROL), L"Reserve Job");
  EXPECT_EQ(sheet->Text(IDC_JOB_RESERVE_JOB), L"Confidential Job");  // template text
  Click(IDC_JOB_ACCESS_CONTROL);
  EXPECT_FALSE(IsWindowEnabled(sheet->item(IDC_JOB_ACCESS_USER_NAME)));  // WM_COMMAND ignored
  MessageBoxCatcher catcher;
  Click(IDC_JOB_RESERVE_JOB);
  sheet->Notify(PSN_APPLY);
  EXPECT_EQ(catcher.count(), 0u);
  EXPECT_EQ(SetResultCalls(), 0u);
}

// A driver that lends no heap: the page's strings come from the process heap.
TEST_F(JobPageTest, WithoutDriverHeapTheStringsComeFromTheProcessHeap) {
  setup.param.hOEMHeap = nullptr;
  FillReserveJob(L"");
  Open();
  EXPECT_EQ(sheet->Text(IDC_JOB_ACCESS_CONTROL), L"Save Access Control settings");
  EXPECT_TRUE(Checked(IDC_JOB_RESERVE_JOB));
  MessageBoxCatcher catcher;
  EXPECT_EQ(sheet->Notify(PSN_APPLY), PSNRET_INVALID_NOCHANGEPAGE);
  ASSERT_EQ(catcher.count(), 1u);
  EXPECT_EQ(catcher[0].caption, L"Error");
  EXPECT_EQ(catcher[0].text, L"To enable password-protected printing, please enter the password, user name and job name.");
}

}  // namespace
