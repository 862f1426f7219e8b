// The host driver's own decisions: what it reads from a printer description,
// how it takes choices from the command line and keeps them, and the layout
// of its part of the devmode. Also checks that the sample printer
// descriptions say what the demo relies on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "host/choices.h"
#include "host/description.h"
#include "host/driver_part.h"
#include "host/layout_choices.h"
#include "ppd/ppd_model.h"

namespace {

using namespace qxhost;

std::string Example(const char *name) { return std::string(std::getenv("QX_SOURCE_DIR")) + "/examples/" + name; }

PrinterDescription ReadExample(const char *name) {
  PrinterDescription d;
  std::FILE *f = std::fopen(Example(name).c_str(), "rb");
  EXPECT_NE(f, nullptr) << name;
  if (!f) return d;
  std::string reason;
  EXPECT_TRUE(ReadPrinterDescription(f, &d, &reason)) << reason;
  std::fclose(f);
  return d;
}

PrinterDescription FromText(const std::string &text, bool *ok, std::string *reason) {
  PrinterDescription d;
  std::FILE *f = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  *ok = ReadPrinterDescription(f, &d, reason);
  std::fclose(f);
  return d;
}

// Every keyword the plug-in knows by name.
const char *const kPluginKeywords[] = {
    "InputSlot", "Resolution", "MediaType", "PageSize", "Duplex", "InstalledMemory", "QXTrayUnit",
    "QXDuplexOption", "QXStackerOption", "QXCompactFlash", "QXScreens", "QXPureBlack", "QXCrispen", "QXToner",
    "QXImageProtect", "QXRendering", "QXPressSimulation", "QXCMYKMethod", "QXRGBSource", "QXRGBIntent",
    "QXSeparations", "OutputBin", "QXDensity", "QXRotate180Degrees", "QXRotate90Degrees", "QXStartSide",
    "QXAutoMonoMode", "QXOUTPUTID", "PasswordMode"};

TEST(SamplePrinters, ColourModelHasEveryFeatureThePluginKnows) {
  PrinterDescription d = ReadExample("orvanta-ql-c5200.ppd");
  EXPECT_TRUE(d.colorDevice);
  EXPECT_EQ(d.modelName, L"Orvanta QL-C5200 PS");
  for (const char *k : kPluginKeywords) EXPECT_GE(d.FindFeature(k), 0) << k;
  for (const char *k : {"QXTrayUnit", "QXDuplexOption", "QXStackerOption", "QXCompactFlash", "InstalledMemory",
                        "PasswordMode"})
    EXPECT_TRUE(IsDeviceFeature(d.features[d.FindFeature(k)])) << k;
  EXPECT_FALSE(IsDeviceFeature(d.features[d.FindFeature("InputSlot")]));
}

TEST(SamplePrinters, MonochromeModelLeavesOutColourFeatures) {
  PrinterDescription d = ReadExample("orvanta-ql-m4100.ppd");
  EXPECT_FALSE(d.colorDevice);
  for (const char *k : {"QXRendering", "QXPressSimulation", "QXRGBSource", "QXSeparations", "QXAutoMonoMode"})
    EXPECT_LT(d.FindFeature(k), 0) << k;
  for (const char *k : {"InputSlot", "Duplex", "QXTrayUnit", "PasswordMode", "QXToner"})
    EXPECT_GE(d.FindFeature(k), 0) << k;
}

TEST(SamplePrinters, CassettesAndPasswordModeAsThePluginExpects) {
  for (const char *name : {"orvanta-ql-c5200.ppd", "orvanta-ql-m4100.ppd"}) {
    PrinterDescription d = ReadExample(name);
    const HostFeature &slot = d.features[d.FindFeature("InputSlot")];
    EXPECT_EQ(slot.options[slot.FindOption("LC1")].translation, L"Cassette 1") << name;
    EXPECT_EQ(slot.options[slot.FindOption("LC3")].translation, L"Cassette 3") << name;
    // Selection 1 of the password-mode item is the enabling choice.
    const HostFeature &pm = d.features[d.FindFeature("PasswordMode")];
    ASSERT_EQ(pm.options.size(), 2u) << name;
    EXPECT_EQ(pm.options[0].keyword, "OFF");
    EXPECT_EQ(pm.options[1].keyword, "ON");
  }
}

// With the sample's default hardware (no lower cassettes, no duplex unit),
// the reader marks what that hardware excludes.
TEST(SamplePrinters, MissingHardwareExcludesItsOptions) {
  std::FILE *f = std::fopen(Example("orvanta-ql-c5200.ppd").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::unique_ptr<qx::PpdModel> model(qx::ReadPpdModelFromFile(f));
  std::fclose(f);
  ASSERT_TRUE(model);
  auto mark = [&](const char16_t *feature, const char16_t *option) {
    qx::PpdFeature *ft = model->FindFeature(reinterpret_cast<const qx::PpdUnit *>(feature));
    if (!ft) return -1;
    for (qx::PpdOption *o : ft->options)
      if (o->keyword.Equals(reinterpret_cast<const qx::PpdUnit *>(option))) return int(o->constrained);
    return -1;
  };
  EXPECT_EQ(mark(u"*InputSlot", u"LC1"), 0);
  EXPECT_EQ(mark(u"*InputSlot", u"LC2"), 1);
  EXPECT_EQ(mark(u"*InputSlot", u"LC3"), 1);
  EXPECT_EQ(mark(u"*Duplex", u"None"), 0);
  EXPECT_EQ(mark(u"*Duplex", u"DuplexTumble"), 1);
  EXPECT_EQ(mark(u"*Duplex", u"DuplexNoTumble"), 1);
  EXPECT_EQ(mark(u"*OutputBin", u"Stacker"), 1);

  qx::SetInstalledOption(model.get(), reinterpret_cast<const qx::PpdUnit *>(u"*QXTrayUnit"),
                         reinterpret_cast<const qx::PpdUnit *>(u"Tray2"), true);
  EXPECT_EQ(mark(u"*InputSlot", u"LC2"), 0);
  EXPECT_EQ(mark(u"*InputSlot", u"LC3"), 1);
}

TEST(Description, FileWithoutFeaturesIsRefused) {
  bool ok = true;
  std::string reason;
  FromText("*PPD-Adobe: \"4.3\"\n*% nothing else\n", &ok, &reason);
  EXPECT_FALSE(ok);
  EXPECT_NE(reason.find("not a printer description"), std::string::npos);
  FromText("[OEMFiles]\nOEMConfigFile1=quillex.dll\n", &ok, &reason);
  EXPECT_FALSE(ok);
}

TEST(Description, KeywordsLoseTheirAsteriskAndDefaultsFallBack) {
  bool ok = false;
  std::string reason;
  PrinterDescription d = FromText(
      "*OpenUI *Fruit/Fruit Kind: PickOne\n*DefaultFruit: Pear\n*Fruit Apple/Red Apple: \"\"\n"
      "*Fruit Pear: \"\"\n*CloseUI: *Fruit\n*OpenUI *Empty/Nothing: PickOne\n*DefaultEmpty: X\n"
      "*CloseUI: *Empty\n*OpenUI *Odd: PickOne\n*DefaultOdd: Missing\n*Odd One/One: \"\"\n*CloseUI: *Odd\n",
      &ok, &reason);
  ASSERT_TRUE(ok) << reason;
  ASSERT_EQ(d.features.size(), 2u);  // a feature without options is no item
  EXPECT_EQ(d.features[0].keyword, "Fruit");
  EXPECT_EQ(d.features[0].translation, L"Fruit Kind");
  EXPECT_EQ(d.features[0].options[1].translation, L"Pear");
  EXPECT_EQ(d.features[0].DefaultIndex(), 1);
  EXPECT_EQ(d.features[1].DefaultIndex(), 0);  // default names no option
  EXPECT_FALSE(d.colorDevice);
}

TEST(Description, ColourDeviceOnlyWhenItSaysTrue) {
  EXPECT_TRUE(SaysColorDevice("x\n*ColorDevice: True\n"));
  EXPECT_TRUE(SaysColorDevice("*ColorDevice:\tTrue"));
  EXPECT_FALSE(SaysColorDevice("*ColorDevice: False\n"));
  EXPECT_FALSE(SaysColorDevice("*DefaultColorSpace: CMYK\n"));
}

TEST(Choices, AssignmentsAreCheckedAgainstTheDescription) {
  PrinterDescription d = ReadExample("orvanta-ql-c5200.ppd");
  FeatureChoices c = DefaultChoices(d);
  std::string message;
  int slot = d.FindFeature("InputSlot");
  EXPECT_EQ(ChosenKeyword(d, c, slot), "Auto");
  EXPECT_TRUE(AssignChoice(d, "InputSlot=LC2", &c, &message));
  EXPECT_EQ(ChosenKeyword(d, c, slot), "LC2");
  EXPECT_TRUE(AssignChoice(d, "*InputSlot=MP", &c, &message));
  EXPECT_EQ(ChosenKeyword(d, c, slot), "MP");

  FeatureChoices before = c;
  EXPECT_FALSE(AssignChoice(d, "NoSuchFeature=On", &c, &message));
  EXPECT_NE(message.find("no feature 'NoSuchFeature'"), std::string::npos);
  EXPECT_FALSE(AssignChoice(d, "InputSlot=LC9", &c, &message));
  EXPECT_NE(message.find("LC1, LC2"), std::string::npos) << message;
  EXPECT_FALSE(AssignChoice(d, "inputslot=LC1", &c, &message));  // keywords keep their case
  for (const char *bad : {"InputSlot", "=LC1", "InputSlot=", ""}) EXPECT_FALSE(AssignChoice(d, bad, &c, &message)) << bad;
  EXPECT_EQ(c.index, before.index);
}

TEST(Choices, DeviceSettingsRoundTripAndToleratePpdChanges) {
  PrinterDescription d = ReadExample("orvanta-ql-c5200.ppd");
  FeatureChoices c = DefaultChoices(d);
  std::string message;
  ASSERT_TRUE(AssignChoice(d, "QXTrayUnit=Tray3", &c, &message));
  ASSERT_TRUE(AssignChoice(d, "PasswordMode=ON", &c, &message));
  std::string text = FormatChoices(d, c, true);
  EXPECT_NE(text.find("QXTrayUnit=Tray3\n"), std::string::npos);
  EXPECT_NE(text.find("PasswordMode=ON\n"), std::string::npos);
  EXPECT_EQ(text.find("InputSlot"), std::string::npos);  // document settings stay out

  FeatureChoices back = DefaultChoices(d);
  ParseChoices(d, "garbage\r\nGone=Away\nQXDuplexOption=Maybe\n" + text, &back);
  EXPECT_EQ(back.index, c.index);
}

TEST(Layout, SettingsTakeTheDriversOptionIndices) {
  LayoutSettings l;
  std::string message;
  ASSERT_TRUE(AssignLayout("orientation=landscape,pages=4,direction=down-then-left", true, &l, &message)) << message;
  EXPECT_EQ(l.orientation, 1);
  EXPECT_EQ(l.pagesPerSheet, 2);
  EXPECT_EQ(l.nupDirection, 3);
  ASSERT_TRUE(AssignLayout("Pages=Booklet,BOOKLET-EDGE=right,borders=on,order=back-to-front,color=monochrome", true,
                           &l, &message))
      << message;
  EXPECT_EQ(l.pagesPerSheet, 6);
  EXPECT_EQ(l.bookletEdge, 1);
  EXPECT_TRUE(l.drawBorders);
  EXPECT_EQ(l.pageOrder, 1);
  EXPECT_EQ(l.color, 0);
  EXPECT_EQ(l.orientation, 1);  // what is not named stays
}

TEST(Layout, BadSettingsChangeNothingAndSayWhy) {
  LayoutSettings l;
  std::string message;
  // A good pair before a bad one is not kept either.
  EXPECT_FALSE(AssignLayout("orientation=landscape,pages=3", true, &l, &message));
  EXPECT_NE(message.find("values: 1, 2, 4"), std::string::npos) << message;
  EXPECT_EQ(l.orientation, 0);
  EXPECT_FALSE(AssignLayout("color=color", false, &l, &message));  // a monochrome printer
  EXPECT_NE(message.find("no colour setting"), std::string::npos) << message;
  for (const char *bad : {"", "orientation", "=landscape", "orientation=", "tilt=left", "borders=yes",
                          "pages=1,,order=back-to-front"})
    EXPECT_FALSE(AssignLayout(bad, true, &l, &message)) << bad;
  EXPECT_EQ(l.pagesPerSheet, 0);
  EXPECT_EQ(l.pageOrder, 0);
  EXPECT_FALSE(l.drawBorders);
}

TEST(DriverPart, StoresChoicesAndPointsThePluginAtItsBlock) {
  DriverPart part;
  InitDriverPart(&part);
  EXPECT_TRUE(IsDriverPart(&part, sizeof part));
  EXPECT_FALSE(IsDriverPart(&part, sizeof part - 1));
  uint16_t offset;
  std::memcpy(&offset, reinterpret_cast<const uint8_t *>(&part) + 114, 2);
  EXPECT_EQ(offset, kDriverPartSize);  // the plug-in's block follows this part

  PrinterDescription d = ReadExample("orvanta-ql-c5200.ppd");
  FeatureChoices c = DefaultChoices(d);
  EXPECT_EQ(LoadChoices(d, part).index, c.index);  // nothing stored: PPD defaults
  std::string message;
  ASSERT_TRUE(AssignChoice(d, "InputSlot=LC3", &c, &message));
  StoreChoices(c, &part);
  EXPECT_EQ(LoadChoices(d, part).index, c.index);

  part.bChoices[d.FindFeature("InputSlot")] = 77;  // out of range: the default again
  EXPECT_EQ(LoadChoices(d, part).index[d.FindFeature("InputSlot")], d.features[d.FindFeature("InputSlot")].DefaultIndex());
  part.wVersion = 2;
  EXPECT_FALSE(IsDriverPart(&part, sizeof part));
}

}  // namespace
