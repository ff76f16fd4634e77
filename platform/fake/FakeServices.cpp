// Small in-memory fakes of the installer's roles.
#include "platform/fake/FakeServices.h"
#include "platform/fake/FakeSystem.h"

#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::platform {

uint32_t FakeServiceControl::Stop(std::string_view service) {
  if (uint32_t e = journal_.Enter("ControlService", {{"service", std::string(service)}, {"control", "stop"}}))
    return e;
  auto it = states.find(service);
  if (it == states.end()) return err::kServiceDoesNotExist;
  if (it->second == kServiceStopped) return err::kServiceNotActive;
  it->second = kServiceStopped;
  return 0;
}

uint32_t FakeServiceControl::Start(std::string_view service) {
  if (uint32_t e = journal_.Enter("StartServiceW", {{"service", std::string(service)}})) return e;
  auto it = states.find(service);
  if (it == states.end()) return err::kServiceDoesNotExist;
  if (it->second == kServiceRunning) return err::kServiceAlreadyRunning;
  it->second = kServiceRunning;
  return 0;
}

uint32_t FakeServiceControl::QueryState(std::string_view service, uint32_t* state) {
  if (uint32_t e = journal_.Enter("QueryServiceStatus", {{"service", std::string(service)}})) return e;
  auto it = states.find(service);
  if (it == states.end()) return err::kServiceDoesNotExist;
  if (!scriptedStates.empty()) {
    *state = scriptedStates.front();
    scriptedStates.pop_front();
  } else {
    *state = it->second;
  }
  return 0;
}

uint32_t FakeCabinet::Extract(std::string_view cabinet, std::string_view folder,
                              const std::function<bool(std::string_view name)>& wanted) {
  if (uint32_t e = journal_.Enter("SetupIterateCabinetW",
                                  {{"cabinet", std::string(cabinet)}, {"folder", std::string(folder)}})) {
    return e;
  }
  for (const auto& [path, members] : cabinets) {
    if (!text::EqualsNoCase(path, cabinet)) continue;
    CallJournal::Quiet quiet(&journal_);
    for (const auto& [name, contents] : members) {
      if (!wanted(name)) continue;
      std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(contents.data()), contents.size());
      if (uint32_t e = files_.WriteAll(text::JoinPath(folder, name), bytes)) return e;
    }
    return 0;
  }
  return err::kFileNotFound;
}

uint32_t FakeFsRedirection::Disable(uintptr_t* cookie) {
  if (uint32_t e = journal_.Enter("Wow64DisableWow64FsRedirection", {})) return e;
  *cookie = static_cast<uintptr_t>(++depth);
  return 0;
}

uint32_t FakeFsRedirection::Revert(uintptr_t cookie) {
  if (uint32_t e = journal_.Enter("Wow64RevertWow64FsRedirection", {{"cookie", std::to_string(cookie)}}))
    return e;
  --depth;
  return 0;
}

int FakeUsbDevices::ClassifyUsbDevices() {
  if (journal_.Enter("SetupDiGetClassDevsW", {{"flags", "DIGCF_ALLCLASSES|DIGCF_PRESENT"}}) != 0)
    return kUsbNoDevice;
  return classification;
}

int FakeUsbDevices::ReadPrinterId() {
  if (journal_.Enter("GetDescriptor", {}) != 0) return kUsbNoAnswer;
  return printerId;
}

bool FakeUsbDevices::WritePrinterId(int id) {
  if (id < 1 || id > 8) return false;
  if (journal_.Enter("uWrite", {{"id", std::to_string(id)}}) != 0) return false;
  if (printerId < 0) return false;
  printerId = id - 1;
  return true;
}

std::string FakeUsbDevices::FileVersion(std::string_view path) {
  if (journal_.Enter("GetFileVersionInfoW", {{"path", std::string(path)}}) != 0) return "0.0.0.0";
  auto it = fileVersions.find(std::string(path));
  return it == fileVersions.end() ? "0.0.0.0" : it->second;
}

}  // namespace mq::platform

namespace mq::platform {

std::string FakeSystemInfo::ToAnsiCodePage(std::string_view utf8) {
  if (ansiCodePage == 1252) return text::Utf8ToCp1252(utf8);
  const std::u16string wide = text::Utf8ToUtf16(utf8);
  std::string ansi;
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
    if (c < 0x80) {
      ansi += static_cast<char>(c);
      continue;
    }
    auto it = ansiCharacters.find(c);
    ansi += it != ansiCharacters.end() ? it->second : std::string("?");
  }
  return ansi;
}

}  // namespace mq::platform
