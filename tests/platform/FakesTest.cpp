// The in-memory fakes and the host-folder file system behave like their Windows counterparts where the
// package's logic depends on it: size probing, failure injection, case-blind names, refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/IniProfile.h"
#include "platform/WindowsPath.h"
#include "platform/RegistryText.h"
#include "platform/RootedFileSystem.h"
#include "platform/WinError.h"
#include "platform/fake/FakePlatform.h"

namespace mq::platform {
namespace {

TEST(FakeRegistry, QueryValueProbesLikeWindows) {
  CallJournal journal;
  FakeRegistry registry(journal);
  registry.PutString("HKLM\\SOFTWARE\\ZNT", "Name", "abc");  // 8 bytes with the terminator
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(kHkeyLocalMachine, "software\\znt", kKeyRead, &key), err::kSuccess);
  uint32_t size = 0;
  uint32_t type = 0xCC;
  EXPECT_EQ(registry.QueryValue(key, "name", &type, nullptr, &size), err::kSuccess);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(type, kRegSz);
  struct Case {
    uint32_t bufferSize;
    uint32_t status;
    uint32_t sizeAfter;
  };
  for (Case c : {Case{7, err::kMoreData, 8}, Case{8, err::kSuccess, 8}, Case{9, err::kSuccess, 8}}) {
    uint8_t data[16];
    std::fill(std::begin(data), std::end(data), 0xAB);
    size = c.bufferSize;
    EXPECT_EQ(registry.QueryValue(key, "Name", nullptr, data, &size), c.status) << c.bufferSize;
    EXPECT_EQ(size, c.sizeAfter);
    EXPECT_EQ(data[0], c.status == err::kSuccess ? 'a' : 0xAB) << "no partial copy on ERROR_MORE_DATA";
    EXPECT_EQ(data[8], 0xAB);
  }
  size = 16;
  EXPECT_EQ(registry.QueryValue(key, "Other", &type, nullptr, &size), err::kFileNotFound);
  EXPECT_EQ(size, 16u);
  EXPECT_EQ(registry.CloseKey(key), err::kSuccess);
  EXPECT_EQ(registry.CloseKey(key), err::kInvalidHandle);
}

TEST(FakeRegistry, InjectedFailuresLeaveOutputsAndAreJournaled) {
  CallJournal journal;
  FakeRegistry registry(journal);
  registry.PutString("HKCU\\A", "v", "x");
  journal.FailCall("RegOpenKeyExW", err::kAccessDenied, 2);
  RegKey key = 0x77;
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, "A", kKeyRead, &key), err::kSuccess);
  RegKey second = 0x77;
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, "A", kKeyRead, &second), err::kAccessDenied);
  EXPECT_EQ(second, 0x77u);
  RegKey third = 0x77;
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, "A", kKeyRead, &third), err::kSuccess);
  ASSERT_EQ(journal.CountOf("RegOpenKeyExW"), 3u);
  EXPECT_EQ(journal.CallsTo("RegOpenKeyExW")[1], "RegOpenKeyExW key=HKCU subKey=A access=0x20019 -> error 5");
}

TEST(FakeRegistry, KeysWithSubkeysAreNotDeletedAndTheTreeSurvivesARoundTrip) {
  CallJournal journal;
  FakeRegistry registry(journal);
  registry.PutString("HKLM\\SOFTWARE\\ZNT\\PORTNAME\\ZNTUSB1", "Port", "ZNTUSB1");
  registry.PutDword("HKLM\\SOFTWARE\\ZNT\\PORTNAME", "Count", 1);
  EXPECT_EQ(registry.DeleteKey(kHkeyLocalMachine, "SOFTWARE\\ZNT\\PORTNAME"), err::kAccessDenied);
  EXPECT_EQ(registry.DeleteKey(kHkeyLocalMachine, "SOFTWARE\\ZNT\\NOPE"), err::kFileNotFound);

  FakeRegistry copy(journal);
  ASSERT_TRUE(copy.Deserialize(registry.Serialize()));
  EXPECT_EQ(copy.GetString("HKLM\\software\\znt\\portname\\zntusb1", "port"), "ZNTUSB1");
  EXPECT_EQ(copy.GetDword("HKLM\\SOFTWARE\\ZNT\\PORTNAME", "Count"), 1u);
  EXPECT_EQ(copy.Serialize(), registry.Serialize());
  EXPECT_FALSE(copy.Deserialize("\"orphan\"=1:00\n"));

  RegKey key = 0;
  ASSERT_EQ(registry.CreateKey(kHkeyLocalMachine, "SOFTWARE\\ZNT", kKeyAllAccess, &key, nullptr),
            err::kSuccess);
  ASSERT_EQ(WriteRegString(registry, key, "Text", "中文"), err::kSuccess);
  std::string text;
  EXPECT_EQ(ReadRegString(registry, key, "TEXT", &text), err::kSuccess);
  EXPECT_EQ(text, "中文");
  EXPECT_EQ(ReadRegString(registry, key, "Missing", &text), err::kFileNotFound);
  registry.CloseKey(key);
}

TEST(FakeFileSystem, FollowsWindowsFileRules) {
  CallJournal journal;
  FakeFileSystem files(journal);
  files.MakeFolders("C:\\Windows\\System32");
  files.Put("C:\\Pkg\\Driver.DLL", "driver");
  EXPECT_EQ(files.CreateFolder("C:\\A\\B"), err::kPathNotFound);
  EXPECT_EQ(files.CreateFolder("C:\\windows"), err::kAlreadyExists);
  EXPECT_EQ(files.Copy("c:\\pkg\\driver.dll", "C:\\WINDOWS\\system32\\x.dll", true), err::kSuccess);
  EXPECT_EQ(files.ActualPath("c:\\windows\\SYSTEM32\\X.DLL"), "C:\\Windows\\System32\\x.dll");
  EXPECT_EQ(files.Copy("C:\\Pkg\\Driver.dll", "C:\\Windows\\System32\\X.dll", true), err::kFileExists);
  ASSERT_EQ(files.SetAttributes("C:\\Windows\\System32\\x.dll", kFileAttributeReadonly), err::kSuccess);
  EXPECT_EQ(files.Copy("C:\\Pkg\\Driver.dll", "C:\\Windows\\System32\\x.dll", false), err::kAccessDenied);
  EXPECT_EQ(files.Delete("C:\\Windows\\System32\\x.dll"), err::kAccessDenied);
  EXPECT_EQ(files.Move("C:\\Pkg\\Driver.dll", "C:\\Windows\\System32\\x.dll", kMoveFileReplaceExisting),
            err::kAccessDenied);
  EXPECT_EQ(files.Move("C:\\Pkg\\Driver.dll", "C:\\Windows\\System32\\x.dll", kMoveFileDelayUntilReboot),
            err::kSuccess);
  ASSERT_EQ(files.PendingMoves().size(), 1u);
  EXPECT_TRUE(files.Exists("C:\\Pkg\\Driver.dll")) << "a delayed move waits for the restart";
  files.Put("C:\\Pkg\\b.inf", "");
  files.Put("C:\\Pkg\\A.INF", "");
  std::vector<FileFindData> found;
  ASSERT_EQ(files.FindFiles("C:\\Pkg\\*.inf", &found), err::kSuccess);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].name, "A.INF");
  EXPECT_EQ(files.FindFiles("C:\\Pkg\\*.cab", &found), err::kFileNotFound);
  EXPECT_EQ(found.size(), 2u) << "outputs untouched on failure";
  std::vector<uint8_t> bytes;
  EXPECT_EQ(files.ReadAll("C:\\Nowhere\\x", &bytes), err::kPathNotFound);
  EXPECT_EQ(files.ReadAll("C:\\Pkg\\none", &bytes), err::kFileNotFound);
}

TEST(RootedFileSystem, FindsNamesWithoutRegardToCase) {
  namespace fs = std::filesystem;
  fs::path root = fs::temp_directory_path() /
                  ("mq-rooted-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  fs::remove_all(root);
  fs::create_directories(root / "DRVCONFIG");
  std::ofstream(root / "DRVCONFIG" / "setup_Ticket.ini") << "[A]\nK=v\n";
  RootedFileSystem files(root);
  std::vector<uint8_t> bytes;
  EXPECT_EQ(files.ReadAll("C:\\drvconfig\\SETUP_ticket.INI", &bytes), err::kSuccess);
  EXPECT_EQ(bytes.size(), 8u);
  EXPECT_EQ(files.Copy("C:\\DrvConfig\\setup_ticket.ini", "C:\\drvconfig\\copy.ini", true), err::kSuccess);
  EXPECT_TRUE(fs::exists(root / "DRVCONFIG" / "copy.ini"));
  EXPECT_EQ(files.CreateFolder("C:\\x\\y"), err::kPathNotFound);
  IniProfile profile(files, "C:\\Windows");
  EXPECT_EQ(profile.GetString("C:\\DRVCONFIG\\setup_TICKET.ini", "a", "k", "0", 200), "v");
  fs::remove_all(root);
}

TEST(IniProfile, WritesEditTheFileInPlace) {
  FakePlatform platform;
  const std::string file = "C:\\Windows\\DriverUtility.ini";
  platform.files.Put(file,
                     "; keep this comment\r\n[Port]\r\nName=LPT1:\r\nOther = kept \r\n\r\n[Last]\r\nX=1\r\n");
  ASSERT_EQ(platform.profile.WriteString(file, "port", "NAME", "COM2:"), err::kSuccess);
  ASSERT_EQ(platform.profile.WriteString(file, "Port", "New", "v"), err::kSuccess);
  ASSERT_EQ(platform.profile.WriteString(file, "Added", "K", "1"), err::kSuccess);
  ASSERT_EQ(platform.profile.WriteString(file, "Last", std::nullopt, std::nullopt), err::kSuccess);
  EXPECT_EQ(
      *platform.files.Contents(file),
      "; keep this comment\r\n[Port]\r\nName=COM2:\r\nOther = kept \r\nNew=v\r\n\r\n[Added]\r\nK=1\r\n");
  ASSERT_EQ(platform.profile.WriteString(file, "Port", "Other", std::nullopt), err::kSuccess);
  EXPECT_EQ(platform.profile.GetString(file, "Port", "Other", "gone", 50), "gone");

  // win.ini is the Windows profile in the Windows folder; a new file is written in the ANSI code page.
  ASSERT_EQ(platform.profile.WriteString("win.ini", "Ports", "COM1:", "9600,n,8,1"), err::kSuccess);
  EXPECT_EQ(*platform.files.Contents("C:\\Windows\\win.ini"), "[Ports]\r\nCOM1:=9600,n,8,1\r\n");

  // A UTF-16 file stays UTF-16.
  std::vector<uint8_t> utf16 = {0xFF, 0xFE};
  for (char c : std::string("[S]\r\nK=1\r\n")) {
    utf16.push_back(static_cast<uint8_t>(c));
    utf16.push_back(0);
  }
  platform.files.PutBytes("C:\\u.ini", utf16);
  ASSERT_EQ(platform.profile.WriteString("C:\\u.ini", "S", "K", "中文"), err::kSuccess);
  EXPECT_EQ(platform.profile.GetString("C:\\u.ini", "S", "K", "", 50), "中文");
  EXPECT_EQ(platform.files.Contents("C:\\u.ini")->substr(0, 2), "\xFF\xFE");

  platform.journal.FailCall("WritePrivateProfileStringW", err::kAccessDenied);
  EXPECT_EQ(platform.profile.WriteString(file, "Port", "Name", "x"), err::kAccessDenied);
  EXPECT_EQ(platform.profile.GetString(file, "Port", "Name", "", 50), "COM2:");
}

TEST(IniProfile, ParsedOnceYetFollowsEveryChangeOfTheFile) {
  FakePlatform platform;
  const std::string file = "C:\\P\\setup.ini";
  platform.files.MakeFolders("C:\\P");
  std::string big = "[S]\r\n";
  for (int i = 0; i < 40000; ++i) big += "K" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  platform.files.Put(file, big);
  EXPECT_EQ(platform.profile.GetString(file, "s", "k39999", "0", 200), "39999");
  EXPECT_EQ(platform.profile.GetKeyNames(file, "S").size(), 40000u);
  // Changed behind the reader's back, to a text of the same length.
  platform.files.Put(file, "[S]\r\nK=1\r\n");
  EXPECT_EQ(platform.profile.GetString(file, "S", "K", "0", 200), "1");
  platform.files.Put(file, "[S]\r\nK=2\r\n");
  EXPECT_EQ(platform.profile.GetString(file, "S", "K", "0", 200), "2");

  // A file too large for a configuration file is not read at all.
  platform.files.Put(file, "[S]\r\nK=3\r\n" + std::string(kMaxReadAllBytes, ' '));
  std::vector<uint8_t> bytes;
  EXPECT_EQ(platform.files.ReadAll(file, &bytes), err::kFileTooLarge);
  EXPECT_EQ(platform.profile.GetString(file, "S", "K", "0", 200), "0");
}

TEST(WindowsPath, EndsAtAZeroAsWindowsDoes) {
  // A host path with a zero in it would be cut short by the system, above the names kept here.
  WindowsPath parsed = ParseWindowsPath(std::string_view("C:\\a\0\\..\\..\\etc", 15));
  EXPECT_EQ(parsed.names, std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace mq::platform
