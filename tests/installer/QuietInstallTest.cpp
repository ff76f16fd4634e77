// The quiet installation against the in-memory machine: the choices checked as the wizard's pages would,
// the run itself, the answers to questions, and the exit codes.
#include <gtest/gtest.h>

#include "InstallerFixture.h"
#include "installer/QuietInstall.h"

namespace mq::installer {
namespace {

using testing::TestMachine;

// A USB step whose printer carries another ID than the port's: it asks before changing it.
class AskingUsb : public UsbInstallStep {
 public:
  explicit AskingUsb(InstallUi*& ui) : ui_(ui) {}
  Outcome Decide(InstallJob&, std::string*) override { return Outcome::kContinue; }
  Outcome CheckPrinterId(InstallJob&, std::string*) override {
    return ui_->AskYesNo("<IDS_INF_CHANGEID>") ? Outcome::kContinue : Outcome::kStop;
  }

 private:
  InstallUi*& ui_;
};

struct QuietRun {
  int code = -1;
  std::string log;
  std::vector<platform::PrinterInfo2> printers;
  std::optional<std::string> com2Settings;  // the serial settings stored for COM2:
};

QuietRun RunQuiet(std::vector<std::string> args, std::function<void(TestMachine&)> arrange = {}) {
  TestMachine machine;
  if (arrange) arrange(machine);
  CommandLine line;
  std::string error;
  EXPECT_TRUE(ParseCommandLine(args, &line, &error)) << error;
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  common::LanguageTexts texts(machine.p.profile, std::string(testing::kPackage) + "\\language", "setup", 0x0409);
  QuietRun run;
  QuietEnvironment env{config,        texts,
                       DetectOs(machine.p.system.version, machine.p.system.architecture),
                       true,          "C:\\Windows",
                       machine.usb,   [&](std::string_view text) { run.log += std::string(text) + "\n"; }};
  QuietInstall quiet(line.quiet, env);
  InstallUi* ui = &quiet;
  AskingUsb usb(ui);
  InstallEngine engine(machine.Services(), config, texts, quiet, usb);
  quiet.UseEngine(engine);
  run.code = quiet.Run();
  machine.spooler->EnumPrinters(&run.printers);
  run.com2Settings =
      machine.p.registry.GetString("HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", "COM2:");
  return run;
}

TEST(QuietInstall, InstallsAsTheWizardWould) {
  QuietRun run = RunQuiet({"/quiet", "/model=XY-100", "/port=LPT1:", "/default"});
  EXPECT_EQ(run.code, kExitSucceeded);
  EXPECT_EQ(run.log, "<IDS_INF_NTRESTART>\n");
  ASSERT_EQ(run.printers.size(), 1u);
  EXPECT_EQ(run.printers[0].printerName, "XY-100(P)");

  // A serial port without /serial gets the model's speed as the port page preselects it.
  // A serial port clears the raster box, so the STD file set is installed; without /serial the port gets the
  // model's speed as the port page preselects it.
  QuietRun serial = RunQuiet({"/quiet", "/model=XY-100", "/port=ZNTCOM2:"},
                             [](TestMachine& m) { m.SetModelKey("STD2KDDKDEV", "1"); });
  EXPECT_EQ(serial.code, kExitSucceeded) << serial.log;
  EXPECT_EQ(serial.com2Settings, "19200,n,8,1,p");
  QuietRun given = RunQuiet({"/quiet", "/model=XY-100", "/port=ZNTCOM2:", "/serial=4800,o,7,1.5,x"},
                            [](TestMachine& m) { m.SetModelKey("STD2KDDKDEV", "1"); });
  EXPECT_EQ(given.com2Settings, "4800,o,7,1.5,x");
}

TEST(QuietInstall, RefusalsAndTheirExitCodes) {
  struct Case {
    std::vector<std::string> args;
    std::function<void(TestMachine&)> arrange;
    int code;
    const char* logged;
  };
  const Case cases[] = {
      {{"/quiet", "/model=NO-SUCH", "/port=LPT1:"}, {}, kExitBadArguments, "does not list the model NO-SUCH"},
      {{"/quiet", "/model=XY-100", "/port=LPT9:"}, {}, kExitBadArguments, "/port=LPT9: is not offered"},
      // Typical setup offers only ZNTUSB1.
      {{"/quiet", "/model=XY-100", "/port=ZNTUSB2"}, {}, kExitBadArguments, "is not offered"},
      {{"/quiet", "/model=XY-100", "/port=NET:"}, {}, kExitFailed, "<IDS_ERR_IPADDRISNULL>"},
      {{"/quiet", "/model=XY-100", "/port=NET:", "/ip=0.0.0.0"}, {}, kExitFailed, "<IDS_ERR_IPADDRISNULL>"},
      {{"/quiet", "/model=XY-100", "/port=LPT1:", "/os=XP"}, {}, kExitFailed, "this computer runs Win7"},
      {{"/quiet", "/model=XY-100", "/port=LPT1:", "/advanced"},
       [](TestMachine& m) { m.SetPortKey("AdvancedSetup", "0"); }, kExitBadArguments, "typical setup"},
      {{"/quiet", "/model=XY-100", "/port=LPT1:", "/advanced", "/raster"},
       [](TestMachine& m) { m.SetPortKey("RASTERVISIABLE", "0"); }, kExitBadArguments, "/raster"},
      {{"/quiet", "/model=XY-100", "/port=LPT1:"},
       [](TestMachine& m) { m.SetPortKey("SystemWin7Supported", "0"); }, kExitFailed, "<IDS_NOTSUPPORTWin7>"},
      {{"/quiet", "/model=XY-100", "/port=LPT1:"},
       [](TestMachine& m) { m.p.journal.FailCall("AddPrinterW", 5); }, kExitFailed,
       "<IDS_ERR_ADDPRINTER>"},
      {{"/quiet", "/model=XY-100", "/port=ZNTUSB1"}, {}, kExitFailed, "No /yes or /no was given"},
      {{"/quiet", "/model=XY-100", "/port=ZNTUSB1", "/no"}, {}, kExitFailed, "Answered no"},
  };
  for (const Case& c : cases) {
    QuietRun run = RunQuiet(c.args, c.arrange);
    EXPECT_EQ(run.code, c.code) << c.logged << "\n" << run.log;
    EXPECT_NE(run.log.find(c.logged), std::string::npos) << run.log;
    if (c.code == kExitBadArguments) {
      EXPECT_TRUE(run.printers.empty()) << c.logged;
    }
  }
}

TEST(QuietInstall, YesAnswersTheQuestionAndTheInstallationGoesOn) {
  QuietRun run = RunQuiet({"/quiet", "/model=XY-100", "/port=ZNTUSB1", "/yes"});
  EXPECT_EQ(run.code, kExitSucceeded) << run.log;
  EXPECT_NE(run.log.find("<IDS_INF_CHANGEID>\r\nAnswered yes (/yes)."), std::string::npos) << run.log;
  ASSERT_EQ(run.printers.size(), 1u);
  EXPECT_EQ(run.printers[0].portName, "ZNTUSB1");
}

}  // namespace
}  // namespace mq::installer
