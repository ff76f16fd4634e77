// The installer's messages with their built-in English texts.
#include "installer/InstallerMessages.h"

#include <utility>

namespace mq::installer {

namespace {

// The English texts of the sample package's language file, which a test keeps equal to these.
constexpr std::pair<std::string_view, std::string_view> kEnglish[] = {
    {"IDS_ABOUTBOX", "&About MQ Printer Setup..."},
    {"IDS_ADMIN",
     "You need administrator rights to install a printer.\\1Log on as an administrator and run the setup "
     "again."},
    {"IDS_ERR_ADDMONITOR", "The port monitor could not be added."},
    {"IDS_ERR_ADDPORTERROR", "The network port could not be created."},
    {"IDS_ERR_ADDPRINTER", "The printer could not be added."},
    {"IDS_ERR_ADDPRNDRV3", "The printer driver could not be added."},
    {"IDS_ERR_ADDPROCESSOR", "The print processor could not be added."},
    {"IDS_ERR_ALLOCMEMORY", "The list of ports could not be read."},
    {"IDS_ERR_CLASSPRINTERIDERROR", "The port of the USB printer could not be determined."},
    {"IDS_ERR_CLASSPRINTERNONEXIST",
     "No USB printer was found. Connect the printer, switch it on and try again."},
    {"IDS_ERR_COPYFIEL", "The file could not be copied: "},
    {"IDS_ERR_COPYFIEL1", "\\1Close all programs that print and try again."},
    {"IDS_ERR_DIRTYPE", "Unknown destination folder."},
    {"IDS_ERR_EXITWIN", "Windows could not be restarted. Restart it yourself."},
    {"IDS_ERR_GETDRIVERDIR", "The printer driver folder could not be found."},
    {"IDS_ERR_GETPRODIR", "The print processor folder could not be found."},
    {"IDS_ERR_GETSYSDIR", "The Windows system folder could not be found."},
    {"IDS_ERR_GETWINDIR", "The Windows folder could not be found."},
    {"IDS_ERR_HARDWAREIDNULL", "The package has no USB entry for this model and port."},
    {"IDS_ERR_IPADDRISNULL", "Enter the IP address of the printer."},
    {"IDS_ERR_LOSTDRIVERFILE", "A driver file is missing from the setup configuration."},
    {"IDS_ERR_NEEDRESTART", "A file is in use. Restart Windows and run the setup again."},
    {"IDS_ERR_NOLEFT", "The setup picture DRVCONFIG\\Left.bmp is missing."},
    {"IDS_ERR_NOLICENSE", "The licence agreement is missing."},
    {"IDS_ERR_NOSUPPORTINTERFACE", "This port cannot be used for the printer."},
    {"IDS_ERR_NOSUPPORTUSB", "Windows NT 4.0 does not support USB printers."},
    {"IDS_ERR_NOUSBDEVICE", "No USB printer answered. Check the cable and the power."},
    {"IDS_ERR_ONEPRINTER", "Connect only one USB printer while installing."},
    {"IDS_ERR_SELPRINTER", "Select a printer model."},
    {"IDS_ERR_SYSTEM", "This version of Windows is not recognised."},
    {"IDS_ERR_TOOMANY", "There are too many printers of this model on this port."},
    {"IDS_ERR_UNSUPPORTCOM", "This model does not support serial ports."},
    {"IDS_ERR_UPDATEUSB", "The USB driver will be installed or updated."},
    {"IDS_INF_CHANGEID", "The printer ID does not match the port. Change the printer ID?"},
    {"IDS_INF_NTRESTART", "The printer has been installed."},
    {"IDS_INF_RESTART", "Windows must be restarted to finish. Restart now?"},
    {"IDS_INF_USBRESTART",
     "The printer has been installed.\\1If it does not print, unplug the USB cable and plug it in again."},
    {"IDS_NOTSUPPORT2003", "This model cannot be installed on Windows Server 2003."},
    {"IDS_NOTSUPPORT2008", "This model cannot be installed on Windows Server 2008."},
    {"IDS_NOTSUPPORTNT", "This model cannot be installed on Windows NT."},
    {"IDS_NOTSUPPORTVISTA", "This model cannot be installed on Windows Vista."},
    {"IDS_NOTSUPPORTWin7", "This model cannot be installed on Windows 7."},
    {"IDS_TYPICAL_NOTES", "This model is installed with the typical settings."},
    {"IDS_X32", "This package is for 64-bit Windows only."},
    {"IDS_X64", "This package is for 32-bit Windows only."},
    {"Caption", "MQ Printer Setup"},
    {"Help", "Press F1 for help."},
    {"Back", "< &Back"},
};

}  // namespace

std::string BuiltInMessage(std::string_view key) {
  for (const auto& [name, text] : kEnglish) {
    if (name == key) return common::ExpandLineBreaks(text);
  }
  return "";
}

std::string InstallerMessage(const common::LanguageTexts& texts, std::string_view key) {
  std::string text = texts.Message(key);
  return text.empty() ? BuiltInMessage(key) : text;
}

}  // namespace mq::installer
