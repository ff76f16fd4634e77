// The uninstaller's machine of UninstallFixture.h with what its dialogs add: the desktop's windows, the USB
// helper library and its devices, and a worker that either runs at once or is held until the test lets it go.
#pragma once

#include <functional>
#include <optional>

#include "UninstallFixture.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakeUsb.h"
#include "platform/fake/FakeWindowLookup.h"
#include "uninstall/UninstallDialog.h"

namespace mq::uninstall::testing {

class HeldWorker : public WorkerStarter {
 public:
  bool Start(std::function<void()> work) override {
    if (!hold) {
      work();
    } else {
      held = std::move(work);
    }
    return true;
  }
  void Release() {
    auto work = std::move(*held);
    held.reset();
    work();
  }
  bool hold = false;
  std::optional<std::function<void()>> held;
};

class DialogMachine : public UninstallMachine {
 public:
  explicit DialogMachine(bool is64 = false) : UninstallMachine(is64) {
    facts.programFolder = kProgram;
    if (is64) p.system.wow64 = true;
  }

  DialogServices Services() { return DialogServices{UninstallMachine::Services(), windows, usb}; }

  // The vendor's USB driver file in the system's driver folder, and count devices answering through the
  // library, the first with bcdDevice.
  void AddUsbDriver(int devices, uint16_t bcdDevice = 0x0100) {
    p.files.Put("C:\\Windows\\System32\\drivers\\ZNUSB.sys", "driver");
    for (int i = 0; i < devices; ++i) bus.Add(0x1D3B, 0x1001, i == 0 ? bcdDevice : 0, true);
  }

  // Opens the main dialog on the controls fake.
  UninstallDialog& Open() {
    dialog.emplace(Services(), worker, facts);
    controls.Start(*dialog);
    return *dialog;
  }

  platform::FakeWindowLookup windows{p.journal};
  platform::FakeUsbBus bus;
  platform::FakeUsbLibraries usb{p.journal, bus};
  HeldWorker worker;
  StartFacts facts;
  platform::ui::FakeDialogControls controls{p.journal};
  std::optional<UninstallDialog> dialog;
};

}  // namespace mq::uninstall::testing
