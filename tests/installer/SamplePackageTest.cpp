// The sample package as shipped: every language file has every text the installer reads, the serial texts the
// port page depends on, and every model the device list names has its sections with files that the package
// (or the build, or the running Windows) provides.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "common/IniReader.h"
#include "common/LanguageTexts.h"
#include "installer/InstallerMessages.h"
#include "installer/SetupConfig.h"
#include "platform/IniProfile.h"
#include "platform/RootedFileSystem.h"
#include "platform/Text.h"
#include "plugin/LogViewer.h"

namespace mq::installer {
namespace {

namespace fs = std::filesystem;

// The sample package seen as C:\Package.
class SamplePackageTest : public ::testing::Test {
 protected:
  SamplePackageTest() : files_(fs::path(MQ_PACKAGE_DIR).parent_path()), profile_(files_, "C:\\Windows") {}
  std::string Package() const { return "C:\\" + fs::path(MQ_PACKAGE_DIR).filename().string(); }

  platform::RootedFileSystem files_;
  platform::IniProfile profile_;
};

TEST_F(SamplePackageTest, LanguageFilesHaveEveryText) {
  const std::pair<const char*, std::vector<const char*>> sections[] = {
      {"Message",
       {"IDS_ABOUTBOX",
        "IDS_ADMIN",
        "IDS_ERR_ADDMONITOR",
        "IDS_ERR_ADDPORTERROR",
        "IDS_ERR_ADDPRINTER",
        "IDS_ERR_ADDPRNDRV3",
        "IDS_ERR_ADDPROCESSOR",
        "IDS_ERR_ALLOCMEMORY",
        "IDS_ERR_CLASSPRINTERIDERROR",
        "IDS_ERR_CLASSPRINTERNONEXIST",
        "IDS_ERR_COPYFIEL",
        "IDS_ERR_COPYFIEL1",
        "IDS_ERR_DIRTYPE",
        "IDS_ERR_EXITWIN",
        "IDS_ERR_GETDRIVERDIR",
        "IDS_ERR_GETPRODIR",
        "IDS_ERR_GETSYSDIR",
        "IDS_ERR_GETWINDIR",
        "IDS_ERR_HARDWAREIDNULL",
        "IDS_ERR_IPADDRISNULL",
        "IDS_ERR_LOSTDRIVERFILE",
        "IDS_ERR_NEEDRESTART",
        "IDS_ERR_NOLEFT",
        "IDS_ERR_NOLICENSE",
        "IDS_ERR_NOSUPPORTINTERFACE",
        "IDS_ERR_NOSUPPORTUSB",
        "IDS_ERR_NOUSBDEVICE",
        "IDS_ERR_ONEPRINTER",
        "IDS_ERR_SELPRINTER",
        "IDS_ERR_SYSTEM",
        "IDS_ERR_TOOMANY",
        "IDS_ERR_UNSUPPORTCOM",
        "IDS_ERR_UPDATEUSB",
        "IDS_INF_CHANGEID",
        "IDS_INF_NTRESTART",
        "IDS_INF_RESTART",
        "IDS_INF_USBRESTART",
        "IDS_NOTSUPPORT2003",
        "IDS_NOTSUPPORT2008",
        "IDS_NOTSUPPORTNT",
        "IDS_NOTSUPPORTVISTA",
        "IDS_NOTSUPPORTWin7",
        "IDS_TYPICAL_NOTES",
        "IDS_X32",
        "IDS_X64"}},
      {"Setup", {"Caption", "Help", "Back", "Next", "Install", "Cancel", "Close", "Nonsupport", "PortNull"}},
      {"Legal", {"Agreement", "Accept", "Reject"}},
      {"Series", {"Select", "Receipt", "Ticket", "Label", "Embedded", "Default"}},
      {"Mode", {"Type", "Typical", "Advanced", "Remarks", "Note1", "Note2", "Note3"}},
      {"System", {"Select"}},
      {"Confirm",
       {"Set", "Ports", "Com", "BaudRate", "Parity", "ByteSize", "StopBits", "Protocol", "Raster",
        "Parity.Even", "Parity.Mark", "Parity.None", "Parity.Odd", "Parity.Space", "Protocol.None",
        "Protocol.Xonoff", "Protocol.Hardware"}},
      {"About", {"Caption", "Version", "Copyright", "OK"}},
      {"Progress", {"Wait"}},
      {"Help Guide", {"Caption"}},
  };
  for (uint16_t langId : {1033, 2052, 1028}) {
    common::LanguageTexts texts(profile_, Package() + "\\language", "setup", langId);
    std::string english;
    for (const auto& [section, keys] : sections) {
      for (const char* key : keys)
        EXPECT_FALSE(texts.Text(section, key).empty()) << texts.file() << " " << key;
    }
    // The port page takes the serial settings from these texts.
    const std::pair<const char*, char> parity[] = {{"Parity.Even", 'E'},
                                                   {"Parity.Mark", 'M'},
                                                   {"Parity.None", 'N'},
                                                   {"Parity.Odd", 'O'},
                                                   {"Parity.Space", 'S'}};
    for (const auto& [key, letter] : parity)
      EXPECT_EQ(texts.Text("Confirm", key).front(), letter) << texts.file();
    EXPECT_EQ(texts.Text("Confirm", "Protocol.None"), "None");
    EXPECT_EQ(texts.Text("Confirm", "Protocol.Xonoff"), "Xon/Xoff");
    EXPECT_EQ(texts.Text("Confirm", "Protocol.Hardware"), "Hardware");
  }
  // The file name follows the copy-failure text directly: the English text keeps its closing blank.
  common::LanguageTexts english(profile_, Package() + "\\language", "setup", 1033);
  EXPECT_EQ(english.Message("IDS_ERR_COPYFIEL").back(), ' ');
  common::LanguageTexts chinese(profile_, Package() + "\\language", "setup", 2052);
  EXPECT_EQ(chinese.Message("IDS_ERR_SELPRINTER"), "请选择打印机型号。");
  common::LanguageTexts traditional(profile_, Package() + "\\language", "setup", 3076);
  EXPECT_EQ(traditional.Message("IDS_ERR_SELPRINTER"), "請選擇印表機型號。");
  for (uint16_t langId : {1033, 2052, 1028}) {
    SetupConfig config(profile_, Package(), false);
    uint32_t attributes = 0;
    EXPECT_EQ(files_.GetAttributes(config.LicenceFile(langId), &attributes), 0u)
        << config.LicenceFile(langId);
  }
}

// A language file that lacks a message falls back to the installer's own English text, which is the English
// file's.
TEST_F(SamplePackageTest, BuiltInMessagesAreTheEnglishFilesTexts) {
  common::LanguageTexts english(profile_, Package() + "\\language", "setup", 1033);
  std::vector<std::string> keys = profile_.GetKeyNames(english.file(), "Message");
  ASSERT_FALSE(keys.empty());
  for (const std::string& key : keys) EXPECT_EQ(BuiltInMessage(key), english.Message(key)) << key;
  EXPECT_EQ(BuiltInMessage("IDS_NO_SUCH_TEXT"), "");
}

TEST_F(SamplePackageTest, EveryListedModelHasItsSectionsAndFiles) {
  // Files the build adds to W32/W64, and those taken from the running Windows.
  std::set<std::string> provided;
  for (const char* name : {"MQ450UI.DLL", "ZNTCOMMON.DLL", "ZNTUSBMON.DLL", "UNIDRV.DLL", "UNIDRVUI.DLL",
                           "UNIDRV.HLP", "UNIRES.DLL", "STDNAMES.GPD", "TTFSUB.GPD"}) {
    provided.insert(text::FoldCase(name));
  }
  for (const char* folder : {"Driver/common", "Driver/UI"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(MQ_PACKAGE_DIR) / folder)) {
      provided.insert(text::FoldCase(entry.path().filename().string()));
    }
  }
  auto isProvided = [&](const std::string& name) {
    return common::NamesNoFile(name) || provided.count(text::FoldCase(name)) > 0;
  };

  for (bool is64 : {false, true}) {
    SetupConfig config(profile_, Package(), is64);
    ASSERT_TRUE(config.PackageUsable());
    DeviceList list = config.ReadDeviceList();
    ASSERT_EQ(list.models.size(), 3u);
    ASSERT_TRUE(list.DefaultModel().has_value());
    EXPECT_EQ(list.DefaultModel()->name, "MQ-450");
    for (const ModelEntry& model : list.models) {
      PortCaps caps = config.ReadPortCaps(model.type, model.name);
      EXPECT_TRUE(caps.usb || caps.lpt || caps.com || caps.net) << model.name;
      for (int code = 0; code < 8; ++code) {
        auto os = static_cast<common::OsGeneration>(code);
        for (FileSet set : {FileSet::kGdi, FileSet::kStd}) {
          for (PortKind kind : {PortKind::kSerial, PortKind::kParallel, PortKind::kUsb, PortKind::kNetwork}) {
            ModelDriver d = config.ReadModelDriver(model.type, model.name, os, set, kind);
            SCOPED_TRACE(model.name + std::string(common::OsSectionSuffix(os)));
            EXPECT_NE(d.driver.name, "0");
            EXPECT_NE(d.printer.printProcessor, "0");
            const InstallFiles& f = d.files;
            for (const std::string* required : {&f.driverDll, &f.dataFile, &f.configDll, &f.helpFile}) {
              EXPECT_FALSE(common::NamesNoFile(*required));
              EXPECT_TRUE(isProvided(*required)) << *required;
            }
            if (d.universalDriver) EXPECT_FALSE(common::NamesNoFile(f.dataResourceDll));
            for (const std::string* file :
                 {&f.dataResourceDll, &f.uiPluginDll, &f.renderPluginDll, &f.pluginIni, &f.processorDll,
                  &f.controlFontFile, &f.usbInternalId, &f.driverlogViewer, &f.driverlogIni}) {
              EXPECT_TRUE(isProvided(*file)) << *file;
            }
            for (const std::string& file : f.languageResources) EXPECT_TRUE(isProvided(file)) << file;
          }
        }
      }
    }
    MonitorSet monitors = config.ReadMonitors(common::OsGeneration::kWin7);
    EXPECT_TRUE(isProvided(monitors.serial.dll));
    EXPECT_TRUE(isProvided(monitors.usb.dll));
  }
}

// The plug-in starts the viewer by its file name from the folder the installer copies it to, and reads its
// control-font table from the driver folder: the MQ-450's model files must name those very files.
TEST_F(SamplePackageTest, TheMq450InstallsTheViewerThePluginStartsAndItsControlFontTable) {
  for (bool is64 : {false, true}) {
    SetupConfig config(profile_, Package(), is64);
    for (const ModelEntry& model : config.ReadDeviceList().models) {
      ModelDriver d = config.ReadModelDriver(model.type, model.name, common::OsGeneration::kWin7,
                                             FileSet::kGdi, PortKind::kParallel);
      SCOPED_TRACE(model.name);
      EXPECT_EQ(d.files.driverlogViewer, plugin::kLogViewerFileName);
      EXPECT_EQ(d.files.controlFontFile, model.name == "MQ-450" ? "MQ450CONTROL.dat" : "0");
    }
  }
}

}  // namespace
}  // namespace mq::installer
