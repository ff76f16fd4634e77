// The logo jobs' bytes.
#include "pages/LogoJob.h"

#include "imaging/LogoRecord.h"
#include "printer/RawJob.h"

namespace mq::plugin {

std::optional<BitmapHeader> ReadBitmapHeader(std::span<const uint8_t> file) {
  if (file.size() < kBitmapHeaderBytes) return std::nullopt;
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(file[at]) | static_cast<uint32_t>(file[at + 1]) << 8 |
           static_cast<uint32_t>(file[at + 2]) << 16 | static_cast<uint32_t>(file[at + 3]) << 24;
  };
  BitmapHeader header;
  header.signature = file[0] == 'B' && file[1] == 'M';
  header.width = static_cast<int32_t>(u32(18));
  header.height = static_cast<int32_t>(u32(22));
  header.bitsPerPixel = file[28] | file[29] << 8;
  return header;
}

LogoJobBlocks BuildLogoDefinition(LogoMode mode, size_t rowCount, const RecordSource& source) {
  LogoJobBlocks job;
  const bool gray = mode == LogoMode::kGray;
  job.blocks.push_back(Block(kBracketOpen));
  std::vector<uint8_t> define(gray ? std::begin(kDefineGrayLogos) : std::begin(kDefineMonoLogos),
                              gray ? std::end(kDefineGrayLogos) : std::end(kDefineMonoLogos));
  define.push_back(static_cast<uint8_t>(rowCount));
  job.blocks.push_back(std::move(define));
  for (size_t row = 0; row < rowCount; ++row) {
    std::optional<std::vector<uint8_t>> file = source(row);
    std::vector<uint8_t> record;
    imaging::Status status = imaging::Status::kCannotOpen;
    if (file)
      status = gray ? imaging::EncodeGrayLogo(*file, &record) : imaging::EncodeMonoLogo(*file, &record);
    if (status != imaging::Status::kOk) {
      job.failedRow = static_cast<int>(row);
      job.failure = status;
      return job;
    }
    job.blocks.push_back(std::move(record));
  }
  job.blocks.push_back(Block(kBracketClose));
  return job;
}

std::vector<std::vector<uint8_t>> ClearLogosBlocks() {
  return {Block(kBracketOpen), Block(kClearAllLogos), Block(kBracketClose)};
}

}  // namespace mq::plugin
