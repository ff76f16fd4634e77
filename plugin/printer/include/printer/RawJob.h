// The one way the plug-in sends bytes to its printer: a one-page spooler document of data type "RAW" on the
// printer handle of the open sheet (the job neither opens nor closes the printer), the caller's blocks
// written in order. Failures end the job without a message: a failed StartDocPrinter ends everything; a
// failed StartPagePrinter is followed by EndDocPrinter; a failed or short WritePrinter stops the writing and
// is followed by EndPagePrinter and EndDocPrinter; EndDocPrinter follows even a failed EndPagePrinter. So a
// job that started is always ended, never abandoned, and holds the bytes written up to the failure.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Spooler.h"

namespace mq::plugin {

// The document names of the plug-in's jobs, as the printer's queue shows them.
namespace job_name {
inline constexpr std::string_view kBarcode = "Barcode";
inline constexpr std::string_view k2DCode = "2Dcode";
inline constexpr std::string_view kSelfTest = "SELFTEST";
inline constexpr std::string_view kClearLogos = "SELFTEST";
inline constexpr std::string_view kLogo = "LOGO";
inline constexpr std::string_view kFileDownload = "FIRMWARE";
}  // namespace job_name

inline constexpr std::string_view kRawDataType = "RAW";

// The printer commands that bracket the plug-in's own command blocks, each written as a block of its own.
inline constexpr std::array<uint8_t, 4> kBracketOpen = {0x1B, 0x63, 0x3B, 0x01};
inline constexpr std::array<uint8_t, 4> kBracketClose = {0x1B, 0x63, 0x3B, 0x00};

struct RawJobResult {
  bool started = false;       // StartDocPrinter worked, so the job was also ended (or its end tried)
  bool ok = false;            // every call worked and the spooler took every block whole
  uint64_t bytesWritten = 0;  // what the spooler reported taking, over all blocks
  uint32_t error = 0;         // the first failing call's Windows error, 0 when ok
};

// Sends the blocks as one raw job. An empty block is written as it is (the spooler is told of no bytes).
RawJobResult SendRawJob(platform::Spooler& spooler, platform::PrinterHandle printer,
                        std::string_view documentName, std::span<const std::vector<uint8_t>> blocks);

// A block holding the given bytes, for building block lists.
inline std::vector<uint8_t> Block(std::span<const uint8_t> bytes) {
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace mq::plugin
