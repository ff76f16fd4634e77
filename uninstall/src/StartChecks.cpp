// The uninstaller's start-up checks and the USB driver's availability.
#include "uninstall/StartChecks.h"

#include <algorithm>

#include "platform/Text.h"

namespace mq::uninstall {

namespace {

constexpr int kDeviceIndices = 8;  // OpenDeviceX indices 0..7
// The probe's descriptor buffer; the library fills the 18-byte device descriptor at its start.
constexpr size_t kDescriptorBuffer = 20;

// ZnUsbInt.dll loaded for one probe, unloaded when it goes out of scope.
class LoadedLibrary {
 public:
  LoadedLibrary(platform::UsbLibraries& libraries, const std::string& path) : libraries_(libraries) {
    loaded_ = libraries.Load(path, &handle_) == 0;
  }
  ~LoadedLibrary() {
    if (loaded_) libraries_.Unload(handle_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  bool loaded() const { return loaded_; }
  platform::LibraryHandle handle() const { return handle_; }

 private:
  platform::UsbLibraries& libraries_;
  platform::LibraryHandle handle_ = 0;
  bool loaded_ = false;
};

}  // namespace

std::vector<std::string> InstallerWindowTitles(platform::Profile& profile, std::string_view programFolder) {
  std::vector<std::string> titles = {std::string(kInstallerWindowTitle)};
  for (std::string_view tag : {"EN", "CN", "TCN"}) {
    std::string file = std::string(programFolder) + "\\language\\setup_" + std::string(tag) + ".ini";
    std::string caption = profile.GetString(file, "Setup", "Caption", "", 1024);
    if (!caption.empty() && std::find(titles.begin(), titles.end(), caption) == titles.end())
      titles.push_back(caption);
  }
  return titles;
}

StartVerdict CheckStart(bool mutexExisted, platform::WindowLookup& windows, platform::Profile& profile,
                        std::string_view programFolder, const UninstallTexts& texts) {
  if (mutexExisted) {
    // The running copy's caption is its language file's title; the Chinese title is the fixed one.
    if (!windows.BringToFront(kUninstallWindowTitle)) windows.BringToFront(texts.Text("Uninstall", "Title"));
    return StartVerdict::kAlreadyRunning;
  }
  for (const std::string& title : InstallerWindowTitles(profile, programFolder)) {
    if (windows.Exists(title)) return StartVerdict::kInstallerRunning;
  }
  return StartVerdict::kRun;
}

int ProbeUsbDevices(platform::UsbLibraries& libraries, std::string_view programFolder,
                    const std::function<void(std::string_view)>& show) {
  LoadedLibrary library(libraries, text::JoinPath(programFolder, "ZnUsbInt.dll"));
  if (!library.loaded()) {
    show("Can not load ZnUsbInt.dll");
    return kUsbProbeNone;
  }
  for (std::string_view entry : {platform::kOpenDeviceX, platform::kGetDescriptor, platform::kCloseDevice}) {
    if (!libraries.HasEntry(library.handle(), entry)) {
      show("open function error");
      return kUsbProbeNone;
    }
  }
  int answering = 0;
  for (int index = 0; index < kDeviceIndices; ++index) {
    platform::UsbDeviceHandle device = libraries.OpenDeviceX(library.handle(), index);
    libraries.CloseDevice(library.handle(), device);
    if (platform::UsbDeviceOpened(device) && ++answering > 1) return kUsbProbeSeveral;
  }
  platform::UsbDeviceHandle device = platform::kNoUsbDevice;
  for (int index = 0; index < kDeviceIndices && !platform::UsbDeviceOpened(device); ++index) {
    device = libraries.OpenDeviceX(library.handle(), index);
    // A handle that is no device goes back at once.
    if (!platform::UsbDeviceOpened(device)) libraries.CloseDevice(library.handle(), device);
  }
  if (!platform::UsbDeviceOpened(device)) return kUsbProbeNone;
  uint8_t descriptor[kDescriptorBuffer] = {};
  int32_t read = libraries.GetDescriptor(library.handle(), device, descriptor);
  libraries.CloseDevice(library.handle(), device);
  if (read == 0) {
    show("Get Device ID error");
    return kUsbProbeNone;
  }
  return descriptor[12] | (descriptor[13] << 8);  // bcdDevice, little-endian
}

bool UsbDriverRemovable(const UsbDriverServices& s, bool is64BitWindows, std::string_view programFolder,
                        const std::function<void(std::string_view)>& show) {
  std::string drivers = s.system.WindowsDirectory() + "\\System32\\drivers\\";
  uintptr_t cookie = 0;
  if (is64BitWindows && s.redirection.Disable(&cookie) != 0) return true;
  uint32_t attributes = 0;
  bool installed = s.files.GetAttributes(drivers + "ZNUSB.sys", &attributes) == 0 ||
                   s.files.GetAttributes(drivers + "BULKUSB.sys", &attributes) == 0;
  if (is64BitWindows) s.redirection.Revert(cookie);
  if (!installed) return false;
  return ProbeUsbDevices(s.libraries, programFolder, show) != kUsbProbeNone;
}

}  // namespace mq::uninstall
