// The scanner and the model built from small PPD texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ppd/ppd_dump.h"
#include "ppd/ppd_keyword_line.h"
#include "ppd/ppd_keywords.h"
#include "ppd/ppd_marks.h"
#include "ppd_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qx {
namespace {

using test::ReadString;
using test::ReadStringInBlocks;
using test::StringBytes;
using test::U8;
using test::W;

// Tokens from a string, read one by one.
class Tokens {
 public:
  explicit Tokens(const std::string &data) : bytes_{data}, source_(&StringBytes::Next, &bytes_) {
    token_.bytes = static_cast<unsigned char *>(std::malloc(kPpdTokenUnits));
  }
  ~Tokens() { std::free(token_.bytes); }
  // The next token, or "<end>".
  std::string Next(bool spaces = false) {
    if (!ppd_detail::ReadTokenFrom(source_, token_, spaces)) {
      EXPECT_EQ(token_.length, 0);
      return "<end>";
    }
    return std::string(reinterpret_cast<char *>(token_.bytes), static_cast<size_t>(token_.length));
  }
  PpdToken &token() { return token_; }
  ByteSource &source() { return source_; }

 private:
  StringBytes bytes_;
  ByteSource source_;
  PpdToken token_;
};

TEST(ReadToken, SkipsCommentsWhereATokenCouldStart) {
  Tokens t("*% comment *OpenUI\r%another \"line\"\n  *Key%not:value %gone\n\"a*%b\" *");
  EXPECT_EQ(t.Next(), "*Key%not");   // "%" inside a token is ordinary
  EXPECT_EQ(t.Next(), "value");
  EXPECT_EQ(t.Next(), "a*%b");       // text inside quotes
  EXPECT_EQ(t.Next(), "*");          // an asterisk at the end of the input
  EXPECT_EQ(t.Next(), "<end>");
  EXPECT_EQ(t.Next(), "<end>");
  Tokens u("*%c\nWord *\nx");
  EXPECT_EQ(u.Next(), "Word");
  EXPECT_EQ(u.Next(), "*");  // the line end after the asterisk ends it
  EXPECT_EQ(u.Next(), "x");
}

TEST(ReadToken, DelimitersEndPlainTokensAndVanishWithThem) {
  Tokens t("*Key: \"quoted\nvalue\"\"\"tail:\t*A/B C: x");
  EXPECT_EQ(t.Next(), "*Key");
  EXPECT_EQ(t.Next(), "quoted\nvalue");
  EXPECT_EQ(t.Next(), "");  // an empty quoted token is still a token
  EXPECT_EQ(t.Next(), "tail");
  EXPECT_EQ(t.Next(true), "*A/B C");  // blanks stay with the spaces flag
  EXPECT_EQ(t.Next(), "x");
}

TEST(ReadToken, DisplayTextsKeepTheirQuotes) {
  Tokens t("LG13/13\" LG (8 1/2 x 13\"): \"code\"\n13\"x");
  EXPECT_EQ(t.Next(true), "LG13/13\" LG (8 1/2 x 13\")");
  EXPECT_EQ(t.Next(), "code");
  EXPECT_EQ(t.Next(), "13");
}

TEST(ReadToken, AColonStartsAPlainTokenAndAQuoteEndsOne) {
  Tokens t(":a\"b\" \"open to the end");
  EXPECT_EQ(t.Next(), ":a");
  EXPECT_EQ(t.Next(), "b");
  EXPECT_EQ(t.Next(), "open to the end");
  EXPECT_EQ(t.Next(), "<end>");
}

TEST(ReadToken, LongTokensEndAtTheLimitAndDropTheNextByte) {
  std::string plain(kPpdTokenLimit, 'p');
  Tokens t(plain + "xy \"" + std::string(kPpdTokenLimit, 'q') + "zw\"");
  EXPECT_EQ(t.Next().size(), size_t(kPpdTokenLimit));
  EXPECT_EQ(t.Next(), "y");
  std::string quoted = t.Next();
  EXPECT_EQ(quoted.size(), size_t(kPpdTokenLimit));
  EXPECT_EQ(quoted.back(), 'q');
  EXPECT_EQ(t.token().bytes[kPpdTokenLimit], 0);
  EXPECT_EQ(t.Next(), "w");  // "z" was dropped; the closing quote opens a new one
}

// Code of the keyword table row equal to a zero-terminated token.
int ClassifyKeyword(const PpdUnit *token) {
  int32_t length = 0;
  while (token[length] != 0) ++length;
  return ppd_detail::Classify(token, length);
}

TEST(ClassifyKeyword, FindsEveryKeywordAndNothingElse) {
  const char *rows[] = {"*?", "*CloseGroup", "*CloseUI", "*Default", "*End", "*FileVersion",
                        "*FormatVersion", "*LanguageEncoding", "*LanguageVersion",
                        "*Manufacturer", "*ModelName", "*NickName", "*OpenGroup", "*OpenUI",
                        "*OrderDependency", "*PCFileName", "*PPD-Adobe", "*PSVersion",
                        "*Product", "*ShortNickName", "*UIConstraints"};
  for (int code = 1; code <= 21; ++code) {
    EXPECT_EQ(ClassifyKeyword(W(rows[code - 1]).c_str()), code) << rows[code - 1];
  }
  for (const char *other : {"", "*", "*Open", "*OpenUIx", "*openui", "*DefaultInputSlot",
                            "*?InputSlot", "OpenUI", "*Zebra", "*A", "\xFF"}) {
    EXPECT_EQ(ClassifyKeyword(W(other).c_str()), 0) << other;
  }
  PpdUnit high[] = {u'*', 0xFFFF, 0};  // compared as unsigned units
  EXPECT_EQ(ClassifyKeyword(high), 0);
}

struct KeywordAndTranslation {
  std::string keyword, translation;
  bool read;
};

KeywordAndTranslation ReadKT(const std::string &line) {
  Tokens t(line);
  PpdText keyword, translation;
  bool read = ppd_detail::ReadKeywordAndTranslationFrom(t.source(), t.token(), keyword, translation);
  return {U8(keyword), U8(translation), read};
}

TEST(ReadKeywordAndTranslation, SplitsAtTheFirstSlashAndDecodesHex) {
  auto r = ReadKT("*InputSlot/Input Slot: PickOne");
  EXPECT_EQ(r.keyword, "*InputSlot");
  EXPECT_EQ(r.translation, "Input Slot");
  r = ReadKT("Plain\n");
  EXPECT_EQ(r.keyword, "Plain");
  EXPECT_EQ(r.translation, "Plain");
  r = ReadKT("*InputSlot: PickOne");
  EXPECT_EQ(r.keyword, "*InputSlot");
  EXPECT_EQ(r.translation, "InputSlot");
  r = ReadKT("LC1/<43>assette 1: \"x\"");
  EXPECT_EQ(r.keyword, "LC1");
  EXPECT_EQ(r.translation, "Cassette 1");
  // Only the first slash separates: translations may hold slashes.
  r = ReadKT("*OptionBind/Perfect/Ring/Twin Loop: PickOne");
  EXPECT_EQ(r.keyword, "*OptionBind");
  EXPECT_EQ(r.translation, "Perfect/Ring/Twin Loop");
  r = ReadKT("/Only");
  EXPECT_EQ(r.keyword, "Only");
  EXPECT_EQ(r.translation, "Only");
  // A lone digit is dropped; white space and signs convert like strtol; a
  // pair without digits gives a zero unit, which ends the text.
  r = ReadKT("K/x<4>y<0A><2>< 9><+F><zz>tail");
  EXPECT_EQ(r.translation, "xy\n\t\x0f");
  // A zero byte, which only a quoted token holds, ends both texts.
  r = ReadKT(std::string("\"*N\0ul\": x", 10));
  EXPECT_EQ(r.keyword, "*N");
  EXPECT_EQ(r.translation, "N");
  EXPECT_FALSE(ReadKT("  \n").read);
}

TEST(ReadPpdModel, CommentsAloneGiveAnEmptyModel) {
  for (const char *ppd : {"", "*% only a comment\r\n%% and another\n*%*OpenUI *X: PickOne\n",
                          "\n\n  \t"}) {
    auto model = ReadString(ppd);
    ASSERT_TRUE(model);
    EXPECT_EQ(model->FeatureCount(), 0);
    EXPECT_EQ(model->ConstraintCount(), 0);
    EXPECT_EQ(model->InstalledOptionCount(), 0);
    EXPECT_TRUE(model->modelName.IsEmpty());
  }
}

TEST(ReadPpdModel, AValueOutsideAByteEndsTheInput) {
  struct Broken {
    int calls = 0;
    static int Next(void *context) {
      int call = static_cast<Broken *>(context)->calls++;
      const char text[] = "*ModelName: \"Q\" ";
      return call < 16 ? static_cast<unsigned char>(text[call]) : call == 16 ? 0x141 : '*';
    }
  } broken;
  std::unique_ptr<PpdModel> model(ReadPpdModel(&Broken::Next, &broken));
  EXPECT_EQ(U8(model->modelName), "Q");
  EXPECT_EQ(broken.calls, 17);  // nothing read after it
}

TEST(ReadPpdModel, ReadsAFeatureWithItsOptionsDefaultOrderAndQuery) {
  auto model = ReadString(
      "*PPD-Adobe: \"4.3\"\n*ModelName: \"Quill 5\"\n*Product: \"(Quill)\"\n"
      "*Manufacturer: \"QX\"\n*LanguageEncoding: ISOLatin1\n*LanguageVersion: English\n"
      "*OpenUI *InputSlot/Input Slot: PickOne\n"
      "*OrderDependency: -20.5 AnySetup *InputSlot\n"
      "*DefaultInputSlot: LC1\n"
      "*InputSlot LC1/Cassette 1: \"<< /Slot 1 >>\r\nsetpagedevice\"\n*End\n"
      "*InputSlot LC2: \"2\"\n"
      "*?InputSlot: \"query\"\n*End\n"
      "*CloseUI: *InputSlot\n");
  ASSERT_EQ(model->FeatureCount(), 1);
  EXPECT_EQ(U8(model->modelName), "Quill 5");
  EXPECT_EQ(U8(model->product), "(Quill)");
  EXPECT_EQ(U8(model->manufacturer), "QX");
  EXPECT_EQ(U8(model->languageEncoding), "ISOLatin1");
  EXPECT_EQ(U8(model->languageVersion), "English");
  const PpdFeature &f = *model->Feature(0);
  EXPECT_EQ(U8(f.keyword), "*InputSlot");
  EXPECT_EQ(U8(f.translation), "Input Slot");
  EXPECT_EQ(U8(f.defaultOption), "LC1");
  EXPECT_EQ(f.uiType, kPpdPickOne);
  EXPECT_EQ(f.order, -20);
  EXPECT_TRUE(f.groupKeyword.IsEmpty());
  EXPECT_EQ(U8(f.query.get()), "query");
  ASSERT_EQ(f.options.Count(), 2);
  EXPECT_EQ(U8(f.options[0]->keyword), "LC1");
  EXPECT_EQ(U8(f.options[0]->translation), "Cassette 1");
  EXPECT_EQ(U8(f.options[0]->invocation), "<< /Slot 1 >>\r\nsetpagedevice");
  EXPECT_EQ(U8(f.options[1]->keyword), "LC2");
  EXPECT_EQ(U8(f.options[1]->translation), "LC2");
  EXPECT_EQ(f.options[1]->constrained, 0);
}

TEST(ReadPpdModel, UiTypesAndFeaturesWithoutTranslation) {
  auto model = ReadString(
      "*OpenUI *Collate: Boolean\n*Collate True: \"t\"\n*CloseUI: *Collate\n"
      "*OpenUI *Finish/Finish: PickMany\n*CloseUI: *Finish\n"
      "*OpenUI *Other/Other: Whatever\n*CloseUI: *Other\n");
  ASSERT_EQ(model->FeatureCount(), 3);
  EXPECT_EQ(U8(model->Feature(0)->keyword), "*Collate");
  EXPECT_EQ(U8(model->Feature(0)->translation), "Collate");
  EXPECT_EQ(model->Feature(0)->uiType, kPpdBoolean);
  EXPECT_EQ(model->Feature(1)->uiType, kPpdPickMany);
  EXPECT_EQ(model->Feature(2)->uiType, kPpdPickOne);
  EXPECT_EQ(model->Feature(1)->options.Count(), 0);
}

// "*CloseUI:" drops the next token wherever it stands: after a line end or
// a comment it is the next line's "*OpenUI", so B and F are never opened.
TEST(ReadPpdModel, ACloseUILineDropsTheNextTokenWhereverItStands) {
  const std::string ppd =
      "*OpenUI *A: PickOne\n*CloseUI:\n*OpenUI *B: PickOne\n*B x: \"\"\n*CloseUI: *B\n"
      "*OpenUI *C: PickOne\n*CloseUI: \"*C\" *OpenUI *D: PickOne\n*CloseUI:*D\n"
      "*OpenUI *E: PickOne\n*CloseUI: *% comment\n*OpenUI *F: PickOne\n*CloseUI: *F\n";
  auto model = ReadStringInBlocks(ppd);
  std::string keywords;
  for (const PpdFeature *feature : model->features) keywords += U8(feature->keyword) + ",";
  EXPECT_EQ(keywords, "*A,*C,*D,*E,");
  EXPECT_EQ(DumpPpdModel(*model), DumpPpdModel(*ReadString(ppd)));  // byte by byte: no line read in one step
}

// Names read in one step from whole lines give what the token reads give
// byte by byte, at every edge of the common form.
TEST(ReadPpdModel, NamesReadInBlocksEqualNamesReadByteByByte) {
  const std::string ppd =
      "*OpenGroup: G/Group\n*OpenUI *A : PickOne\n*CloseUI: *A\n*OpenUI :B: PickOne\n*CloseUI: :B\n"
      "*OpenUI *ABCDEFGHIJKLMNO: PickOne\n*CloseUI: *ABCDEFGHIJKLMNO\n"
      "*OpenUI *ABCDEFGHIJKLMNOP: PickOne\n*CloseUI: *ABCDEFGHIJKLMNOP\n"
      "*OpenUI\n*Next: PickOne\n*CloseUI: *Next\n*OpenUI *%c\n *X: PickOne\n*CloseUI: *X\n"
      "*OpenUI \"*Q\": PickOne\n*CloseUI: *Q\n*OpenUI *T\t x: PickOne\n*T\t x y: \"\"\n*CloseUI: *T\n"
      "*OpenUI *H<41>: PickOne\n*CloseUI: *H<41>\n*CloseGroup: G\n";
  EXPECT_EQ(DumpPpdModel(*ReadStringInBlocks(ppd)), DumpPpdModel(*ReadString(ppd)));
  EXPECT_EQ(ReadStringInBlocks(ppd)->FeatureCount(), 9);
}

TEST(ReadPpdModel, GroupsAndInstallableOptions) {
  auto model = ReadString(
      "*OpenGroup: InstallableOptions/Options Installed\n"
      "*OpenSubGroup: Trays/Trays\n"
      "*OpenUI *QXTrayUnit/Lower Cassette Unit: PickOne\n*DefaultQXTrayUnit: None\n"
      "*QXTrayUnit None/Not Installed: \"\"\n*QXTrayUnit LCU1/Installed: \"\"\n"
      "*CloseUI: *QXTrayUnit\n"
      "*CloseSubGroup: Trays\n"
      "*OpenUI *QXDuplexOption: Boolean\n*DefaultQXDuplexOption: False\n*CloseUI: *QXDuplexOption\n"
      "*CloseGroup: InstallableOptions\n"
      "*DefaultInputSlot: LC2\n"  // outside a block: skipped
      "*OpenUI *InputSlot: PickOne\n*CloseUI: *InputSlot\n");
  ASSERT_EQ(model->FeatureCount(), 3);
  EXPECT_EQ(U8(model->Feature(0)->groupKeyword), "InstallableOptions");
  EXPECT_EQ(U8(model->Feature(0)->groupTranslation), "Options Installed");
  EXPECT_EQ(U8(model->Feature(1)->groupKeyword), "InstallableOptions");
  EXPECT_TRUE(model->Feature(2)->groupKeyword.IsEmpty());
  EXPECT_TRUE(model->Feature(2)->defaultOption.IsEmpty());
  ASSERT_EQ(model->InstalledOptionCount(), 2);
  EXPECT_EQ(U8(model->Installed(0)->featureKeyword), "*QXTrayUnit");
  EXPECT_EQ(U8(model->Installed(0)->currentOption), "None");
  EXPECT_EQ(U8(model->Installed(1)->featureKeyword), "*QXDuplexOption");
  EXPECT_EQ(U8(model->Installed(1)->currentOption), "False");
}

TEST(ReadPpdModel, AThreeWordConstraintTakesTheNextLinesFirstWord) {
  auto model = ReadString(
      "*UIConstraints: *QXTrayUnit None *InputSlot\n"
      "*UIConstraints: *A a *B b\n"
      "*UIConstraints: *C c *D d\n");
  ASSERT_EQ(model->ConstraintCount(), 2);
  EXPECT_EQ(U8(model->Constraint(0)->option2), "*UIConstraints");
  EXPECT_EQ(U8(model->Constraint(1)->feature1), "*C");
  EXPECT_EQ(U8(model->Constraint(1)->option2), "d");
}

TEST(ReadPpdModel, FailuresEndTheReadingAndKeepWhatWasRead) {
  // The file ends right after the *CloseUI keyword.
  auto model = ReadString(
      "*OpenGroup: InstallableOptions\n*OpenUI *QXTrayUnit: PickOne\n"
      "*DefaultQXTrayUnit: None\n*CloseUI:");
  ASSERT_EQ(model->FeatureCount(), 1);
  EXPECT_EQ(U8(model->Feature(0)->defaultOption), "None");
  EXPECT_EQ(model->InstalledOptionCount(), 0);

  // A second query line ends the reading; the feature stays.
  model = ReadString(
      "*OpenUI *A: PickOne\n*?A: \"q1\"\n*?A: \"q2\"\n*CloseUI: *A\n"
      "*OpenUI *B: PickOne\n*CloseUI: *B\n");
  ASSERT_EQ(model->FeatureCount(), 1);
  EXPECT_EQ(U8(model->Feature(0)->query.get()), "q1");

  // The end of the input inside an option line keeps the option.
  model = ReadString("*OpenUI *A: PickOne\n*A X/Ex:");
  ASSERT_EQ(model->FeatureCount(), 1);
  ASSERT_EQ(model->Feature(0)->options.Count(), 1);
  EXPECT_EQ(U8(model->Feature(0)->options[0]->translation), "Ex");
  EXPECT_EQ(model->Feature(0)->options[0]->invocation, nullptr);

  // A constraint cut short stays, partly filled.
  model = ReadString("*UIConstraints: *A a");
  ASSERT_EQ(model->ConstraintCount(), 1);
  EXPECT_EQ(U8(model->Constraint(0)->option1), "a");
  EXPECT_TRUE(model->Constraint(0)->feature2.IsEmpty());

  // A header value missing at the end.
  model = ReadString("*ModelName:");
  EXPECT_TRUE(model->modelName.IsEmpty());
}

TEST(ReadPpdModel, ArraysGrowPastTheirFirstCapacity) {
  std::string ppd = "*OpenGroup: InstallableOptions\n";
  for (int i = 0; i < 70; ++i) {
    std::string k = "*F" + std::to_string(i);
    ppd += "*OpenUI " + k + ": PickOne\n*Default" + k.substr(1) + ": o0\n";
    for (int j = 0; j < (i == 0 ? 130 : 1); ++j) ppd += k + " o" + std::to_string(j) + ": \"\"\n";
    ppd += "*CloseUI: " + k + "\n";
  }
  for (int i = 0; i < 1100; ++i) ppd += "*UIConstraints: *F0 o" + std::to_string(i) + " *G x\n";
  auto model = ReadString(ppd);
  EXPECT_EQ(model->FeatureCount(), 70);
  EXPECT_EQ(model->Feature(0)->options.Count(), 130);
  EXPECT_EQ(U8(model->Feature(0)->options[129]->keyword), "o129");
  EXPECT_EQ(model->InstalledOptionCount(), 70);
  EXPECT_EQ(U8(model->Installed(69)->featureKeyword), "*F69");
  EXPECT_EQ(model->ConstraintCount(), 1100);
  EXPECT_EQ(U8(model->Constraint(1099)->option1), "o1099");
}

TEST(ReadPpdModel, TextsAreCutAt259Units) {
  std::string long300(300, 'k');
  auto model = ReadString("*ModelName: \"" + long300 + "\"\n*OpenUI *" + long300 + "/" + long300 +
                          ": PickOne\n*Default" + long300 + ": " + long300 + "\n*CloseUI: x\n");
  EXPECT_EQ(model->modelName.length, 259);
  EXPECT_EQ(model->modelName.text[259], 0);
  ASSERT_EQ(model->FeatureCount(), 1);
  EXPECT_EQ(model->Feature(0)->keyword.length, 259);
  EXPECT_EQ(model->Feature(0)->translation.length, 259);
  EXPECT_EQ(model->Feature(0)->defaultOption.length, 259);
  EXPECT_EQ(U8(model->Feature(0)->keyword), "*" + std::string(258, 'k'));
}

// The native build reads PPD bytes as Windows-1252; the Windows builds use
// the system's ANSI code page, which these checks need to be 1252.
bool AnsiIs1252() {
#ifdef _WIN32
  return GetACP() == 1252;
#else
  return true;
#endif
}

// The low byte of each unit, up to the first zero unit, as a byte in the
// ANSI code page.
void ToPpdText(PpdText &field, const PpdUnit *units) {
  std::string bytes;
  for (size_t i = 0; units[i] != 0; ++i) bytes += static_cast<char>(units[i] & 0xFF);
  BytesToPpdText(field, reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
}

TEST(ToPpdText, ReadsBytesInTheAnsiCodePage) {
  if (!AnsiIs1252()) GTEST_SKIP() << "ANSI code page is not 1252";
  auto model = ReadString(
      "*ModelName: \"Gr\xFC\xDF" "e \x80\x81\x9F\"\n"
      "*OpenUI *MediaType/Papiersorte: PickOne\n"
      "*MediaType Thick/Dick <FC>ber 90 g: \"\"\n*CloseUI: *MediaType\n");
  EXPECT_EQ(U8(model->modelName), "Grüße €\xC2\x81Ÿ");
  EXPECT_EQ(U8(model->Feature(0)->options[0]->translation), "Dick über 90 g");
  PpdText text;
  const PpdUnit units[] = {0x0141, 0x00FC, 0x0080, 0};  // only the low bytes count
  ToPpdText(text, units);
  EXPECT_EQ(U8(text), "Aü€");
  EXPECT_EQ(text.length, 3);
}

// Every byte in Windows-1252, as Windows converts it: the native table must
// give what the DLL gets from MultiByteToWideChar.
TEST(ToPpdText, EveryByteConvertsAsWindows1252) {
  if (!AnsiIs1252()) GTEST_SKIP() << "ANSI code page is not 1252";
  const uint16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                             0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  for (int b = 1; b < 256; ++b) {
    unsigned char byte = static_cast<unsigned char>(b);
    PpdText text;
    BytesToPpdText(text, &byte, 1);
    ASSERT_EQ(text.length, 1) << b;
    uint16_t want = (b >= 0x80 && b < 0xA0) ? high[b - 0x80] : static_cast<uint16_t>(b);
    EXPECT_EQ(static_cast<uint16_t>(text.text[0]), want) << b;
  }
  std::string many(600, '\xE9');
  PpdText cut;
  BytesToPpdText(cut, reinterpret_cast<const unsigned char *>(many.data()), many.size());
  EXPECT_EQ(cut.length, 259);
  EXPECT_EQ(cut.text[258], 0xE9);
  EXPECT_EQ(cut.text[259], 0);
}

#ifdef _WIN32
// The plug-in opens the PPD in text mode: line-end pairs arrive as single
// line feeds and a 0x1A byte ends the input.
TEST(ReadPpdModelFromFile, TextModeFoldsLineEndsAndStopsAtControlZ) {
  wchar_t dir[MAX_PATH], path[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, dir), 0u);
  ASSERT_NE(GetTempFileNameW(dir, L"ppd", 0, path), 0u);
  const char data[] =
      "*OpenUI *A: PickOne\r\n*A X: \"one\r\ntwo\"\r\n*CloseUI: *A\r\n\x1a"
      "*OpenUI *B: PickOne\r\n*CloseUI: *B\r\n";
  FILE *out = _wfopen(path, L"wb");
  ASSERT_NE(out, nullptr);
  fwrite(data, 1, sizeof data - 1, out);
  fclose(out);
  FILE *in = _wfopen(path, L"r");
  ASSERT_NE(in, nullptr);
  std::unique_ptr<PpdModel> model(ReadPpdModelFromFile(in));
  fclose(in);
  DeleteFileW(path);
  ASSERT_EQ(model->FeatureCount(), 1);
  EXPECT_EQ(U8(model->Feature(0)->options[0]->invocation), "one\ntwo");
}
#endif

TEST(Marks, AnInstalledOptionMarksTheOptionsItExcludes) {
  auto model = ReadString(
      "*OpenGroup: InstallableOptions\n"
      "*OpenUI *QXTrayUnit: PickOne\n*DefaultQXTrayUnit: None\n"
      "*QXTrayUnit None: \"\"\n*QXTrayUnit LCU1: \"\"\n*CloseUI: *QXTrayUnit\n"
      "*CloseGroup: InstallableOptions\n"
      "*OpenUI *InputSlot: PickOne\n*InputSlot LC1: \"\"\n*InputSlot LC2: \"\"\n"
      "*InputSlot LC3: \"\"\n*CloseUI: *InputSlot\n"
      "*UIConstraints: *QXTrayUnit None *InputSlot LC2\n"
      "*UIConstraints: *InputSlot LC2 *QXTrayUnit None\n");
  const PpdFeature &slot = *model->Feature(1);
  EXPECT_EQ(slot.options[1]->constrained, 1);  // marked for the PPD default
  EXPECT_EQ(slot.options[2]->constrained, 0);
  EXPECT_EQ(model->Feature(0)->options[0]->constrained, 0);  // installable: never marked

  EXPECT_EQ(MatchConstraint(model.get(), model->Installed(0)->featureKeyword,
                            model->Installed(0)->currentOption, slot, *slot.options[1]), 1);
  EXPECT_EQ(MatchConstraint(model.get(), model->Installed(0)->featureKeyword,
                            model->Installed(0)->currentOption, slot, *slot.options[2]), 2);
  EXPECT_EQ(MatchConstraint(model.get(), slot.keyword, slot.options[1]->keyword,
                            *model->Feature(0), *model->Feature(0)->options[0]), 1);
  EXPECT_EQ(MatchConstraint(model.get(), slot.keyword, slot.options[1]->keyword, slot,
                            *slot.options[0]), 0);

  SetInstalledOption(model.get(), QX_PPD_STR("*QXTrayUnit"), QX_PPD_STR("LCU1"), false);
  EXPECT_EQ(U8(model->Installed(0)->currentOption), "LCU1");
  EXPECT_EQ(slot.options[1]->constrained, 1);  // not yet recomputed
  MarkConstrainedOptions(model.get());
  EXPECT_EQ(slot.options[1]->constrained, 0);

  // Missing keywords or no match change nothing, but the recompute runs.
  SetInstalledOption(model.get(), QX_PPD_STR("QXTrayUnit"), QX_PPD_STR("None"), true);
  SetInstalledOption(model.get(), nullptr, QX_PPD_STR("None"), true);
  SetInstalledOption(model.get(), QX_PPD_STR("*QXTrayUnit"), nullptr, true);
  EXPECT_EQ(U8(model->Installed(0)->currentOption), "LCU1");
  model->Installed(0)->SetCurrentOption(QX_PPD_STR("None"));
  SetInstalledOption(model.get(), QX_PPD_STR("*Nothing"), QX_PPD_STR("x"), true);
  EXPECT_EQ(slot.options[1]->constrained, 1);
}

// Two optional trays that each constrain the input slot: the missing tray's
// slot stays marked whatever the other tray's state.
TEST(Marks, AnyInstalledOptionThatExcludesAnOptionMarksIt) {
  auto model = ReadString(
      "*OpenGroup: InstallableOptions\n"
      "*OpenUI *Tray2: Boolean\n*DefaultTray2: False\n*CloseUI: *Tray2\n"
      "*OpenUI *Tray3: Boolean\n*DefaultTray3: True\n*CloseUI: *Tray3\n"
      "*CloseGroup: InstallableOptions\n"
      "*OpenUI *InputSlot: PickOne\n*InputSlot T1: \"\"\n*InputSlot T2: \"\"\n"
      "*InputSlot T3: \"\"\n*CloseUI: *InputSlot\n"
      "*UIConstraints: *Tray2 False *InputSlot T2\n"
      "*UIConstraints: *Tray3 False *InputSlot T3\n");
  const PpdFeature &slot = *model->Feature(2);
  EXPECT_EQ(slot.options[1]->constrained, 1);
  EXPECT_EQ(slot.options[2]->constrained, 0);
  SetInstalledOption(model.get(), QX_PPD_STR("*Tray3"), QX_PPD_STR("False"), true);
  EXPECT_EQ(slot.options[0]->constrained, 0);
  EXPECT_EQ(slot.options[1]->constrained, 1);
  EXPECT_EQ(slot.options[2]->constrained, 1);
  SetInstalledOption(model.get(), QX_PPD_STR("*Tray2"), QX_PPD_STR("True"), true);
  EXPECT_EQ(slot.options[1]->constrained, 0);
  EXPECT_EQ(slot.options[2]->constrained, 1);
}

// A recompute writes only where the marks may differ from what the last one
// wrote: marks that go and come back, a recompute with nothing changed, and
// marks another computation wrote in between.
TEST(Marks, RecomputesInARowFollowEveryChange) {
  auto model = ReadString(
      "*OpenGroup: InstallableOptions\n"
      "*OpenUI *Tray: PickOne\n*DefaultTray: None\n*CloseUI: *Tray\n"
      "*OpenUI *Duplex: PickOne\n*DefaultDuplex: Unit\n*CloseUI: *Duplex\n"
      "*CloseGroup: InstallableOptions\n"
      "*OpenUI *InputSlot: PickOne\n*InputSlot T1: \"\"\n*InputSlot T2: \"\"\n"
      "*InputSlot T3: \"\"\n*CloseUI: *InputSlot\n"
      "*UIConstraints: *Tray None *InputSlot T2\n"
      "*UIConstraints: *Tray LCU *InputSlot T3\n"
      "*UIConstraints: *Duplex None *InputSlot T3\n");
  const PpdFeature &slot = *model->Feature(2);
  auto marksAt = [&](const char *tray, const char *duplex) {
    SetInstalledOption(model.get(), QX_PPD_STR("*Tray"), W(tray).c_str(), false);
    SetInstalledOption(model.get(), QX_PPD_STR("*Duplex"), W(duplex).c_str(), true);
    std::string marks;
    for (const PpdOption *option : slot.options) marks += static_cast<char>('0' + option->constrained);
    return marks;
  };
  EXPECT_EQ(marksAt("None", "Unit"), "010");
  EXPECT_EQ(marksAt("LCU", "Unit"), "001");
  EXPECT_EQ(marksAt("LCU", "Unit"), "001");
  EXPECT_EQ(marksAt("LCU", "None"), "001");  // two constraints, one mark
  EXPECT_EQ(marksAt("None", "None"), "011");
  // The plain definition writes the marks of another state; back at the
  // index's last state they are written again.
  SetInstalledOption(model.get(), QX_PPD_STR("*Tray"), QX_PPD_STR("LCU"), false);
  MarkConstrainedOptionsPlain(model.get());
  EXPECT_EQ(marksAt("None", "None"), "011");
  EXPECT_EQ(marksAt("Other", "Unit"), "000");

  // A model made by hand, without installed options, has every mark cleared.
  PpdModel byHand;
  byHand.features.Reserve(1);
  PpdFeature *feature = PpdFeature::Create(byHand.optionStore);
  feature->options.Reserve(1);
  PpdOption *option = PpdOption::Create(byHand.optionStore);
  option->constrained = 1;
  feature->options.Append(option);
  byHand.features.Append(feature);
  MarkConstrainedOptions(&byHand);
  EXPECT_EQ(option->constrained, 0);
}

TEST(Marks, ComparisonsAreExactAndDuplicateKeywordsAreAllMarked) {
  auto model = ReadString(
      "*OpenGroup: InstallableOptions\n"
      "*OpenUI *Unit: PickOne\n*DefaultUnit: None\n*CloseUI: *Unit\n"
      "*CloseGroup: InstallableOptions\n"
      "*OpenUI *Slot: PickOne\n*Slot A: \"\"\n*Slot a: \"\"\n*Slot A: \"\"\n*CloseUI: *Slot\n"
      "*OpenUI *Slot: PickOne\n*Slot A: \"\"\n*CloseUI: *Slot\n"
      "*UIConstraints: *Unit None *Slot A\n"
      "*UIConstraints: *Unit None *Slot A\n"
      "*UIConstraints: *unit None *Slot a\n");
  EXPECT_EQ(model->Feature(1)->options[0]->constrained, 1);
  EXPECT_EQ(model->Feature(1)->options[1]->constrained, 0);  // case differs in the constraint's feature
  EXPECT_EQ(model->Feature(1)->options[2]->constrained, 1);
  EXPECT_EQ(model->Feature(2)->options[0]->constrained, 1);
}

TEST(Dump, PrintsOneEscapedLinePerRecord) {
  auto model = ReadString(
      "*ModelName: \"A\\B\tC\"\n"
      "*OpenGroup: InstallableOptions/Installed\n"
      "*OpenUI *Unit/Unit: PickOne\n*OrderDependency: 5 AnySetup *Unit\n*DefaultUnit: None\n"
      "*Unit None/Not installed: \"\"\n*CloseUI: *Unit\n*CloseGroup: InstallableOptions\n"
      "*OpenUI *Slot/Slot: PickOne\n*Slot S2/Line<0A>two: \"\"\n*CloseUI: *Slot\n"
      "*UIConstraints: *Unit None *Slot S2\n");
  EXPECT_EQ(DumpPpdModel(*model),
            "header\tModelName\tA\\\\B\\tC\n"
            "header\tProduct\t\n"
            "header\tManufacturer\t\n"
            "header\tLanguageEncoding\t\n"
            "header\tLanguageVersion\t\n"
            "feature\t*Unit\tUnit\tNone\t1\t5\tInstallableOptions\tInstalled\n"
            "option\t*Unit\tNone\tNot installed\t0\n"
            "feature\t*Slot\tSlot\t\t1\t0\t\t\n"
            "option\t*Slot\tS2\tLine\\ntwo\t1\n"
            "constraint\t*Unit\tNone\t*Slot\tS2\n"
            "installed\t*Unit\tNone\n");
  EXPECT_EQ(DescribeExcludedOptions(*model),
            "Slot: Line\ntwo \xE2\x80\x94 excluded by Unit = Not installed\n");
}

}  // namespace
}  // namespace qx
