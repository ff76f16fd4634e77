// The setup program's switches: what each one sets, and the lines refused with their reason.
#include <gtest/gtest.h>

#include "installer/CommandLine.h"

namespace mq::installer {
namespace {

CommandLine Parse(std::vector<std::string> args) {
  CommandLine line;
  std::string error;
  EXPECT_TRUE(ParseCommandLine(args, &line, &error)) << error;
  return line;
}

TEST(CommandLine, NoArgumentsOpenTheWizardAndQuestionMarkAsksForHelp) {
  EXPECT_EQ(Parse({}).mode, CommandLine::Mode::kWizard);
  EXPECT_EQ(Parse({"/?"}).mode, CommandLine::Mode::kHelp);
  EXPECT_EQ(Parse({"/quiet", "/?"}).mode, CommandLine::Mode::kHelp);
  EXPECT_NE(CommandLineHelp().find("/quiet /model=NAME /port=PORT"), std::string_view::npos);
}

TEST(CommandLine, EverySwitchOfAQuietInstallation) {
  CommandLine line = Parse({"/QUIET", "/model=MQ-450", "/Port=ZNTCOM3:", "/os=xp", "/advanced",
                            "/serial=19200,e,7,1.5,x", "/default", "/log=C:\\logs\\setup one.log", "/yes"});
  ASSERT_EQ(line.mode, CommandLine::Mode::kQuiet);
  const QuietOptions& q = line.quiet;
  EXPECT_EQ(q.model, "MQ-450");
  EXPECT_EQ(q.port, "ZNTCOM3:");
  ASSERT_TRUE(q.os.has_value());
  EXPECT_EQ(*q.os, OsGeneration::kXp);
  EXPECT_TRUE(q.advanced);
  ASSERT_TRUE(q.serial.has_value());
  EXPECT_EQ(q.serial->speed, 19200);
  EXPECT_EQ(q.serial->parity, 'e');
  EXPECT_EQ(q.serial->byteSize, 7);
  EXPECT_EQ(q.serial->stopBits, 1.5);
  EXPECT_EQ(q.serial->protocol, 'x');
  EXPECT_TRUE(q.setDefault);
  EXPECT_FALSE(q.raster);
  EXPECT_EQ(q.logFile, "C:\\logs\\setup one.log");
  ASSERT_TRUE(q.answer.has_value());
  EXPECT_TRUE(*q.answer);

  CommandLine net = Parse({"/quiet", "/model=MQ-450", "/port=NET:", "/ip=192.168.1.20", "/advanced", "/raster",
                           "/no"});
  ASSERT_TRUE(net.quiet.ip.has_value());
  EXPECT_EQ(*net.quiet.ip, (std::array<uint8_t, 4>{192, 168, 1, 20}));
  EXPECT_TRUE(net.quiet.raster);
  EXPECT_FALSE(*net.quiet.answer);
  EXPECT_FALSE(Parse({"/quiet", "/model=M", "/port=LPT1:"}).quiet.answer.has_value());
}

TEST(CommandLine, RefusedLinesNameTheirReason) {
  struct Case {
    std::vector<std::string> args;
    const char* reason;
  };
  const Case cases[] = {
      {{"/quiet", "/model=M", "/port=LPT1:", "/silent"}, "unknown switch /silent"},
      {{"quiet"}, "unexpected argument"},
      {{"/model=M", "/port=LPT1:"}, "add /quiet"},
      {{"/quiet", "/port=LPT1:"}, "needs /model=NAME and /port=PORT"},
      {{"/quiet", "/model=M"}, "needs /model=NAME and /port=PORT"},
      {{"/quiet", "/model=", "/port=LPT1:"}, "/model needs a value"},
      {{"/quiet", "/model=M", "/port=LPT1:", "/default=1"}, "/default takes no value"},
      {{"/quiet", "/model=M", "/model=N", "/port=LPT1:"}, "/model is given twice"},
      {{"/quiet", "/model=M", "/port=LPT1:", "/os=Win10"}, "/os takes"},
      {{"/quiet", "/model=M", "/port=COM1:", "/serial=9601,n,8,1,p"}, "/serial takes"},
      {{"/quiet", "/model=M", "/port=COM1:", "/serial=9600,n,9,1,p"}, "/serial takes"},
      {{"/quiet", "/model=M", "/port=COM1:", "/serial=9600,n,8,3,p"}, "/serial takes"},
      {{"/quiet", "/model=M", "/port=COM1:", "/serial=9600,q,8,1,p"}, "/serial takes"},
      {{"/quiet", "/model=M", "/port=COM1:", "/serial=9600,n,8,1"}, "/serial takes"},
      {{"/quiet", "/model=M", "/port=LPT1:", "/serial=9600,n,8,1,p"}, "/serial is for serial ports"},
      {{"/quiet", "/model=M", "/port=NET:", "/ip=192.168.1"}, "/ip takes"},
      {{"/quiet", "/model=M", "/port=NET:", "/ip=192.168.1.256"}, "/ip takes"},
      {{"/quiet", "/model=M", "/port=NET:", "/ip=1.2.3.-4"}, "/ip takes"},
      {{"/quiet", "/model=M", "/port=LPT1:", "/ip=10.0.0.1"}, "/ip is for the network port"},
      {{"/quiet", "/model=M", "/port=LPT1:", "/yes", "/no"}, "contradict"},
      {{"/quiet", "/model=M", "/port=LPT1:", "/raster"}, "add /advanced"},
      {{"/quiet", "/model=M", "/port=ZNTCOM1:", "/advanced", "/raster"}, "not offered for serial ports"},
      {{"/quiet", "/model=M", "/port=LPT1:", "/log="}, "/log needs a value"},
  };
  for (const Case& c : cases) {
    CommandLine line;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(c.args, &line, &error)) << c.reason;
    EXPECT_NE(error.find(c.reason), std::string::npos) << "got: " << error;
  }
}

TEST(CommandLine, SerialTextsOfThePortPage) {
  SerialSettings s;
  ASSERT_TRUE(ParseSerialText("115200,n,8,1,p", &s));
  EXPECT_EQ(s.speed, 115200);
  EXPECT_EQ(s.stopBits, 1.0);
  ASSERT_TRUE(ParseSerialText("1200,s,5,2,", &s));
  EXPECT_EQ(s.protocol, ' ');
  EXPECT_EQ(s.stopBits, 2.0);
  ASSERT_TRUE(ParseSerialText("4800,o,6,1,none", &s));
  EXPECT_EQ(s.protocol, ' ');
  for (const char* bad : {"", "9600", "0,n,8,1,p", "230400,n,8,1,p", "9600,n,4,1,p", "9600,nn,8,1,p",
                          "9600,n,8,1,hardware", "9600,n,8,1,p,", "00009600,n,8,1,p"})
    EXPECT_FALSE(ParseSerialText(bad, &s)) << bad;
}

}  // namespace
}  // namespace mq::installer
