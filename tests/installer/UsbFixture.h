// The in-memory machine of the installer tests with a USB side: present devices, the two USB helper
// libraries and file versions as fakes, the USB printers and the USB installation step over them, and the
// USB texts in the language file.
#pragma once

#include "InstallerFixture.h"
#include "installer/UsbInstallation.h"
#include "installer/UsbPrinters.h"
#include "platform/fake/FakeUsb.h"

namespace mq::installer::testing {

inline const char* const kUsbMessageKeys[] = {"IDS_ERR_CLASSPRINTERIDERROR", "IDS_ERR_CLASSPRINTERNONEXIST",
                                              "IDS_ERR_HARDWAREIDNULL",      "IDS_ERR_NOUSBDEVICE",
                                              "IDS_ERR_ONEPRINTER",          "IDS_INF_CHANGEID"};

class UsbFixture : public EngineFixture {
 public:
  explicit UsbFixture(bool is64 = false) : EngineFixture(is64) {
    for (const char* key : kUsbMessageKeys) {
      machine.p.profile.WriteString("C:\\Package\\language\\setup_EN.ini", "Message", key,
                                    std::string("<") + key + ">");
    }
    usbStep = &usbInstallation;
    job.portName = "ZNTUSB1";
  }

  // A present vendor device with this product ID and bcdDevice; vendor-driver products answer ZnUsbInt.dll.
  void AddDevice(uint16_t productId, uint16_t bcdDevice = 0) {
    bus.Add(kVendorUsbId, productId, bcdDevice, GroupOfProduct(productId) == UsbProductGroup::kVendorDriver);
  }
  void SetSwitch(const std::string& key, const std::string& value) {
    machine.p.profile.WriteString(kSetupIni, "DEVICENAME", key, value);
  }
  // The ShellExecuteW lines of the run.
  std::vector<std::string> Started() const { return machine.p.journal.CallsTo("ShellExecuteW"); }

  platform::FakeUsbBus bus;
  platform::FakePresentDevices devices{machine.p.journal, bus};
  platform::FakeUsbLibraries libraries{machine.p.journal, bus};
  platform::FakeFileVersions versions{machine.p.journal};
  UsbPrinters printers{devices, libraries, versions, kPackage, texts, ui};
  UsbInstallation usbInstallation{machine.Services(), config, texts, ui, printers};
};

}  // namespace mq::installer::testing
