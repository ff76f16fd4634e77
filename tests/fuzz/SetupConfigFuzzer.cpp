// The setup configuration readers over any device list and model file: the device list, switches, monitors,
// port capabilities and every model's driver files for every system, file set and port kind. Names keep their
// length limits whatever the files hold.
#include <cstddef>
#include <cstdint>

#include "FuzzInput.h"
#include "installer/SetupConfig.h"
#include "platform/IniProfile.h"
#include "platform/Text.h"
#include "platform/fake/CallJournal.h"
#include "platform/fake/FakeFileSystem.h"

using namespace mq;
using installer::FileSet;
using installer::PortKind;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> files = fuzz::SplitFiles(data, size, 2);
  platform::CallJournal journal;
  platform::FakeFileSystem fs(journal);
  fs.MakeFolders("C:\\P\\DRVCONFIG");
  fs.Put("C:\\P\\DRVCONFIG\\setup.ini", files[0]);
  fs.Put("C:\\P\\DRVCONFIG\\setup_receipt.ini", files[1]);
  fs.Put("C:\\P\\DRVCONFIG\\setup_ticket.ini", files[1]);
  platform::IniProfile profile(fs, "C:\\Windows");
  installer::SetupConfig config(profile, "C:\\P", false);

  installer::DeviceList list = config.ReadDeviceList();
  fuzz::Require(list.models.size() <= static_cast<size_t>(installer::kMaxDeviceEntries));
  (void)list.DefaultModel();
  (void)config.ReadSwitches();
  (void)config.PackageUsable();
  (void)config.SupportedUsbDeviceValue("ZNTUSB1");
  for (int os = 0; os <= 7; ++os) {
    installer::MonitorSet monitors = config.ReadMonitors(static_cast<common::OsGeneration>(os));
    fuzz::Require(text::Utf16Length(monitors.serial.name) <= 49);
    fuzz::Require(text::Utf16Length(monitors.usb.uiDll) <= 49);
  }
  // The first listed model on every system, with the file set and port kind the input's length picks.
  if (!list.models.empty()) {
    const installer::ModelEntry& model = list.models.front();
    (void)config.ReadPortCaps(model.type, model.name);
    (void)config.UsbClassHardwareId(model.name, 2);
    FileSet set = (size & 1) != 0 ? FileSet::kGdi : FileSet::kStd;
    auto kind = static_cast<PortKind>((size >> 1) & 3);
    for (int os = 0; os <= 7; ++os) {
      installer::ModelDriver driver =
          config.ReadModelDriver(model.type, model.name, static_cast<common::OsGeneration>(os), set, kind);
      fuzz::Require(text::Utf16Length(driver.driver.name) <= 49);
      fuzz::Require(text::Utf16Length(driver.files.driverDll) <= 199);
    }
  }
  return 0;
}
