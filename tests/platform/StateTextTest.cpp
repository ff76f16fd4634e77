// The simulated machines' state files: any name survives a round trip, and a damaged file is refused with the
// line at fault, leaving the fake as it was.
#include <gtest/gtest.h>

#include "platform/RegistryText.h"
#include "platform/WinError.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSpooler.h"

namespace mq::platform {
namespace {

// Names a hand or a hostile port name may bring: line breaks, tabs, the escape character and separators.
const std::string kAwkwardNames[] = {"tab\there", "line\nbreak\r", "100%", "%41", "pipe|name", "\x1B[31m",
                                     "quote\"=1:00", "[bracket]"};

TEST(StateText, AwkwardNamesSurviveBothStateFiles) {
  CallJournal journal;
  FakeRegistry registry(journal);
  FakeSpooler spooler(journal, false);
  for (const std::string& name : kAwkwardNames) {
    registry.PutString("HKLM\\SOFTWARE\\ZNT\\PORTNAME\\" + name, name, name);
    spooler.AddPortName(name);
  }
  FakeRegistry registryCopy(journal);
  FakeSpooler spoolerCopy(journal, false);
  std::string error;
  ASSERT_TRUE(registryCopy.Deserialize(registry.Serialize(), &error)) << error;
  ASSERT_TRUE(spoolerCopy.Deserialize(spooler.Serialize(), &error)) << error;
  EXPECT_EQ(registryCopy.Serialize(), registry.Serialize());
  EXPECT_EQ(spoolerCopy.Serialize(), spooler.Serialize());
  for (const std::string& name : kAwkwardNames) {
    EXPECT_EQ(registryCopy.GetString("HKLM\\SOFTWARE\\ZNT\\PORTNAME\\" + name, name), name);
    EXPECT_TRUE(spoolerCopy.HasPort(name)) << name;
  }
}

TEST(StateText, FilesOfEarlierVersionsStillLoad) {
  CallJournal journal;
  FakeRegistry registry(journal);
  ASSERT_TRUE(registry.Deserialize("[HKLM\\SOFTWARE\\100%]\n\"a%b\"=4:01000000\n"));
  EXPECT_EQ(registry.GetDword("HKLM\\SOFTWARE\\100%", "a%b"), 1u);
  FakeSpooler spooler(journal, false);
  ASSERT_TRUE(spooler.Deserialize("port\tZNTIP_10.0.0.1\nprinter\tP 100%\tLPT1:\tD\tWinPrint\t64\n"));
  EXPECT_TRUE(spooler.HasPort("ZNTIP_10.0.0.1"));
  EXPECT_NE(spooler.FindPrinter("P 100%"), nullptr);
}

TEST(StateText, DamagedFilesAreRefusedWithTheLineAndChangeNothing) {
  struct Case {
    std::string text;
    std::string error;
  };
  const std::string mark = std::string(FakeRegistry::kEscapedNamesMark) + "\n";
  const Case registryCases[] = {
      {"\"orphan\"=1:00\n", "line 1: a value before the first [key] line"},
      {"[HKLM\\A]\n\"v\"=x:00\n", "line 2: the value type is not a decimal number"},
      {"[HKLM\\A]\n\"v\"=99999999999:00\n", "line 2: the value type is not a decimal number"},
      {"[HKLM\\A]\n\"v\"=1:0g\n", "line 2: the value data is not hex digits"},
      {"[HKLM\\A]\n\"v\"=1:000\n", "line 2: the value data has an odd number of hex digits"},
      {"[HKLM\\A]\n\"v\"=1\n", "line 2: a value without its type:data part"},
      {"[NOWHERE\\A]\n", "line 1: a key path must start with HKCR, HKCU, HKLM or HKU"},
      {"[HKLM\\A]\nplain text\n", "line 2: neither a [key] line nor a \"name\"=type:data value line"},
      {mark + "[HKLM\\bad%4]\n", "line 2: a bad %-escape in a key name"},
      {mark + "[HKLM\\A]\n\"%zz\"=1:00\n", "line 3: a bad %-escape in a value name"},
  };
  CallJournal journal;
  FakeRegistry registry(journal);
  registry.PutDword("HKLM\\SOFTWARE\\Kept", "Value", 7);
  const std::string before = registry.Serialize();
  for (const Case& c : registryCases) {
    std::string error;
    EXPECT_FALSE(registry.Deserialize(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
  EXPECT_EQ(registry.Serialize(), before);

  std::string deep = "[HKLM";
  for (size_t i = 0; i <= FakeRegistry::kMaxKeyDepth; ++i) deep += "\\k";
  std::string error;
  EXPECT_FALSE(registry.Deserialize(deep + "]\n", &error));
  EXPECT_EQ(error, "line 1: a key nested deeper than 512 levels");
  RegKey key = 0;
  EXPECT_EQ(registry.CreateKey(kHkeyLocalMachine, deep.substr(6), kKeyAllAccess, &key, nullptr),
            err::kInvalidParameter);

  const Case spoolerCases[] = {
      {"port\n", "line 1: not a monitor, processor, driver, printer, port or default line with its fields"},
      {"port\tA\tB\n", "line 1: not a monitor, processor, driver, printer, port or default line with its fields"},
      {"port\tA\nprinter\tP\tA\tD\tWinPrint\t+64\n", "line 2: the printer attributes are not a decimal number"},
      {"driver\tx\tD\tWindows NT x86\ta\tb\tc\td\t\t\n", "line 1: the driver version is not a decimal number"},
      {std::string(FakeSpooler::kEscapedFieldsMark) + "\nport\tA%\n", "line 2: a bad %-escape"},
  };
  FakeSpooler spooler(journal, false);
  spooler.AddPortName("KEPT");
  const std::string spoolerBefore = spooler.Serialize();
  for (const Case& c : spoolerCases) {
    std::string error;
    EXPECT_FALSE(spooler.Deserialize(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
  EXPECT_EQ(spooler.Serialize(), spoolerBefore);
}

}  // namespace
}  // namespace mq::platform
