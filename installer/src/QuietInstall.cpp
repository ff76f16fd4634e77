// The quiet installation.
#include "installer/QuietInstall.h"

#include <algorithm>

#include "installer/InstallerMessages.h"
#include "installer/Ports.h"
#include "installer/StartChecks.h"

namespace mq::installer {

namespace {

// The section suffix without its dot ("Win7", "XP", ...): how the log names a Windows generation.
std::string OsName(OsGeneration os) {
  std::string_view suffix = common::OsSectionSuffix(os);
  return std::string(suffix.empty() ? suffix : suffix.substr(1));
}

// The [Message] key of a model that cannot be installed on this Windows, "" when it can.
const char* UnsupportedOsKey(const PortCaps& caps, OsGeneration os) {
  switch (os) {
    case OsGeneration::kNt4:
      return caps.ntSupported == 0 ? "IDS_NOTSUPPORTNT" : "";
    case OsGeneration::kServer2003:
      return caps.server2003Supported == 0 ? "IDS_NOTSUPPORT2003" : "";
    case OsGeneration::kVista:
      return caps.vistaSupported == 0 ? "IDS_NOTSUPPORTVISTA" : "";
    case OsGeneration::kServer2008:
      return caps.server2008Supported == 0 ? "IDS_NOTSUPPORT2008" : "";
    case OsGeneration::kWin7:
      return caps.win7Supported == 0 ? "IDS_NOTSUPPORTWin7" : "";
    default:
      return "";
  }
}

}  // namespace

QuietInstall::QuietInstall(QuietOptions options, QuietEnvironment environment)
    : options_(std::move(options)), env_(std::move(environment)) {}

void QuietInstall::ShowMessage(std::string_view text, std::string_view caption) {
  if (caption.empty() || caption == "ERROR")
    env_.log(text);
  else
    env_.log(std::string(caption) + ": " + std::string(text));
}

bool QuietInstall::AskYesNo(std::string_view text) {
  if (!options_.answer) {
    env_.log(std::string(text) + "\r\nNo /yes or /no was given for this question: the installation stops.");
    return false;
  }
  env_.log(std::string(text) + (*options_.answer ? "\r\nAnswered yes (/yes)." : "\r\nAnswered no (/no)."));
  return *options_.answer;
}

bool QuietInstall::RestartWindows() {
  // A quiet run never restarts the computer under the deployment tool's feet.
  env_.log("Windows is not restarted by a quiet installation: restart it to finish.");
  return false;
}

int QuietInstall::Refuse(int code, std::string_view text) {
  env_.log(text);
  return code;
}

int QuietInstall::FillJob(InstallJob& job) {
  const QuietOptions& o = options_;
  if (!env_.os.recognised)
    return Refuse(kExitFailed, InstallerMessage(env_.texts, "IDS_ERR_SYSTEM"));
  if (o.os && *o.os != env_.os.generation) {
    return Refuse(kExitFailed, "/os=" + OsName(*o.os) + " was given, but this computer runs " +
                                   OsName(env_.os.generation) + ": nothing was installed.");
  }
  DeviceList list = env_.config.ReadDeviceList();
  auto entry = std::find_if(list.models.begin(), list.models.end(),
                            [&](const ModelEntry& m) { return m.name == o.model; });
  if (entry == list.models.end()) {
    std::string listed;
    for (const ModelEntry& m : list.models) listed += (listed.empty() ? "" : ", ") + m.name;
    return Refuse(kExitBadArguments, "The package does not list the model " + o.model + " (it lists: " +
                                         (listed.empty() ? "none" : listed) + ").");
  }
  PortCaps caps = env_.config.ReadPortCaps(entry->type, entry->name);
  if (o.advanced && caps.advancedSetup == 0)
    return Refuse(kExitBadArguments, "/advanced: " + o.model + " can only be installed with the typical setup.");
  if (const char* key = UnsupportedOsKey(caps, env_.os.generation); *key != '\0')
    return Refuse(kExitFailed, InstallerMessage(env_.texts, key));

  PortListInput input;
  input.caps = caps;
  input.os = env_.os.generation;
  input.is64BitWindows = env_.config.is64BitWindows();
  input.typical = !o.advanced;
  input.windowsDirectory = env_.windowsDirectory;
  PortPage page = BuildPortList(input, env_.usb, env_.texts);
  auto port = std::find(page.ports.begin(), page.ports.end(), o.port);
  if (port == page.ports.end()) {
    std::string offered;
    for (const std::string& p : page.ports) offered += (offered.empty() ? "" : " ") + p;
    return Refuse(kExitBadArguments, "/port=" + o.port + " is not offered for " + o.model + " in " +
                                         (o.advanced ? "advanced" : "typical") +
                                         " setup here; the ports offered are: " +
                                         (offered.empty() ? "none" : offered));
  }
  SelectPort(page, static_cast<int>(port - page.ports.begin()), input, env_.usb, env_.texts);
  const bool rasterBoxOffered = page.rasterVisible && page.rasterEnabled;
  if (o.raster && !rasterBoxOffered)
    return Refuse(kExitBadArguments, "/raster: the \"Raster Graphic Printing\" check box is not offered for " +
                                         o.model + " on " + o.port + ".");

  job.os = env_.os.generation;
  job.type = entry->type;
  job.model = entry->name;
  job.portName = o.port;
  job.setDefault = o.setDefault;
  job.typical = !o.advanced;
  job.raster = rasterBoxOffered ? o.raster : page.rasterChecked;
  job.serial = o.serial ? *o.serial : PageSerialSettings(caps);
  job.ipAddress = o.ip ? *o.ip : std::array<uint8_t, 4>{};
  job.printerId = page.printerId;
  return kExitSucceeded;
}

int QuietInstall::Run() {
  if (engine_ == nullptr) return kExitFailed;
  std::string admin = AdministratorMessage(env_.os, env_.administrator, env_.texts);
  if (!admin.empty()) return Refuse(kExitFailed, admin);
  InstallJob job;
  if (int code = FillJob(job); code != kExitSucceeded) return code;
  PrepareResult prepared = engine_->Prepare(job);
  if (prepared.outcome == PrepareResult::Outcome::kStopped) return kExitFailed;
  if (prepared.outcome == PrepareResult::Outcome::kHandedOver) {
    env_.log("The installation was handed over to the USB driver package installer.");
    return kExitSucceeded;
  }
  engine_->RunWorker(job);
  engine_->Finish(job);
  return job.resultState == kStateSucceeded ? kExitSucceeded : kExitFailed;
}

}  // namespace mq::installer
