// Small in-memory fakes of the installer's roles: the service control manager, the cabinet iterator, WOW64
// redirection and the USB devices. Their answers are plain fields that a test sets; each call is journaled
// under the Win32 function it stands for and can be failed.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/Cabinet.h"
#include "platform/FileSystem.h"
#include "platform/FsRedirection.h"
#include "platform/ServiceControl.h"
#include "platform/UsbDevices.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

class FakeServiceControl : public ServiceControl {
 public:
  explicit FakeServiceControl(CallJournal& journal) : journal_(journal) {}
  uint32_t Stop(std::string_view service) override;
  uint32_t Start(std::string_view service) override;
  uint32_t QueryState(std::string_view service, uint32_t* state) override;

  // Current state per service name; unknown services answer ERROR_SERVICE_DOES_NOT_EXIST.
  std::map<std::string, uint32_t, std::less<>> states = {{"Spooler", kServiceRunning}};
  // When not empty, each QueryState answers the next of these instead of the current state.
  std::deque<uint32_t> scriptedStates;

 private:
  CallJournal& journal_;
};

class FakeCabinet : public Cabinet {
 public:
  FakeCabinet(CallJournal& journal, FileSystem& files) : journal_(journal), files_(files) {}
  uint32_t Extract(std::string_view cabinet, std::string_view folder,
                   const std::function<bool(std::string_view name)>& wanted) override;

  // Cabinet contents by cabinet path (case-blind): member name -> bytes. A cabinet not listed here fails with
  // ERROR_FILE_NOT_FOUND as a missing or unreadable file would.
  std::map<std::string, std::map<std::string, std::string>> cabinets;

 private:
  CallJournal& journal_;
  FileSystem& files_;
};

class FakeFsRedirection : public FsRedirection {
 public:
  explicit FakeFsRedirection(CallJournal& journal) : journal_(journal) {}
  uint32_t Disable(uintptr_t* cookie) override;
  uint32_t Revert(uintptr_t cookie) override;
  int depth = 0;  // how many Disable calls are not reverted yet

 private:
  CallJournal& journal_;
};

class FakeUsbDevices : public UsbDevices {
 public:
  explicit FakeUsbDevices(CallJournal& journal) : journal_(journal) {}
  int ClassifyUsbDevices() override;
  int ReadPrinterId() override;
  bool WritePrinterId(int id) override;
  std::string FileVersion(std::string_view path) override;

  int classification = kUsbNoDevice;
  int printerId = kUsbNoAnswer;
  std::map<std::string, std::string> fileVersions;  // by path, exactly as asked

 private:
  CallJournal& journal_;
};

}  // namespace mq::platform
