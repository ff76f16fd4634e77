// The raw print job and its failure rules.
#include "printer/RawJob.h"

#include "platform/WinError.h"

namespace mq::plugin {

RawJobResult SendRawJob(platform::Spooler& spooler, platform::PrinterHandle printer,
                        std::string_view documentName, std::span<const std::vector<uint8_t>> blocks) {
  RawJobResult result;
  auto note = [&result](uint32_t error) {
    if (error != 0 && result.error == 0) result.error = error;
    return error == 0;
  };
  uint32_t jobId = 0;
  if (!note(spooler.StartDocPrinter(printer, documentName, kRawDataType, &jobId))) return result;
  result.started = true;
  if (note(spooler.StartPagePrinter(printer))) {
    for (const std::vector<uint8_t>& block : blocks) {
      uint32_t written = 0;
      if (!note(spooler.WritePrinter(printer, block, &written))) break;
      result.bytesWritten += written;
      // A block the spooler took only in part leaves a gap in the command stream: nothing may follow it.
      if (written != block.size()) {
        note(err::kWriteFault);
        break;
      }
    }
    note(spooler.EndPagePrinter(printer));
  }
  note(spooler.EndDocPrinter(printer));
  result.ok = result.error == 0;
  return result;
}

}  // namespace mq::plugin
