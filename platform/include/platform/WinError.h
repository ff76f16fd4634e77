// Windows system error codes used by the portable code. Interfaces return these values (0 = success) where
// the Windows function they stand for would set the thread's last error.
#pragma once

#include <cstdint>

namespace mq::err {

inline constexpr uint32_t kSuccess = 0;
inline constexpr uint32_t kInvalidFunction = 1;
inline constexpr uint32_t kFileNotFound = 2;
inline constexpr uint32_t kPathNotFound = 3;
inline constexpr uint32_t kAccessDenied = 5;
inline constexpr uint32_t kInvalidHandle = 6;
inline constexpr uint32_t kNotEnoughMemory = 8;
inline constexpr uint32_t kInvalidData = 13;
inline constexpr uint32_t kOutOfMemory = 14;
inline constexpr uint32_t kNoMoreFiles = 18;
inline constexpr uint32_t kWriteFault = 29;
inline constexpr uint32_t kReadFault = 30;
inline constexpr uint32_t kSharingViolation = 32;
inline constexpr uint32_t kHandleEof = 38;
inline constexpr uint32_t kNotSupported = 50;
inline constexpr uint32_t kFileExists = 80;
inline constexpr uint32_t kInvalidParameter = 87;
inline constexpr uint32_t kInsufficientBuffer = 122;
inline constexpr uint32_t kInvalidName = 123;
inline constexpr uint32_t kModNotFound = 126;
inline constexpr uint32_t kProcNotFound = 127;
inline constexpr uint32_t kDirNotEmpty = 145;
inline constexpr uint32_t kAlreadyExists = 183;
inline constexpr uint32_t kFileTooLarge = 223;
inline constexpr uint32_t kMoreData = 234;
inline constexpr uint32_t kNoMoreItems = 259;
inline constexpr uint32_t kDirectory = 267;
inline constexpr uint32_t kCanNotComplete = 1003;
inline constexpr uint32_t kServiceRequestTimeout = 1053;
inline constexpr uint32_t kServiceAlreadyRunning = 1056;
inline constexpr uint32_t kServiceDisabled = 1058;
inline constexpr uint32_t kServiceDoesNotExist = 1060;
inline constexpr uint32_t kServiceNotActive = 1062;
inline constexpr uint32_t kInvalidPrinterName = 1801;
inline constexpr uint32_t kPrinterAlreadyExists = 1802;
inline constexpr uint32_t kInvalidPrinterCommand = 1803;
inline constexpr uint32_t kUnknownPrinterDriver = 1797;
inline constexpr uint32_t kUnknownPort = 1796;
inline constexpr uint32_t kUnknownPrintProcessor = 1798;
inline constexpr uint32_t kUnknownPrintMonitor = 3000;
inline constexpr uint32_t kPrinterDriverInUse = 3001;
inline constexpr uint32_t kPrintMonitorInUse = 3008;
inline constexpr uint32_t kPrintMonitorAlreadyInstalled = 3006;
inline constexpr uint32_t kPrintProcessorAlreadyInstalled = 3005;

}  // namespace mq::err
