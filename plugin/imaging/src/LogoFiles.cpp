// File access of the logo routines.
#include "imaging/LogoFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "imaging/BitmapReader.h"
#include "imaging/LogoRecord.h"
#include "platform/HostFile.h"

namespace mq::imaging {
namespace {

namespace fs = std::filesystem;

fs::path Utf8Path(const std::string& path) {
  return fs::path(std::u8string(path.begin(), path.end()));
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

int GrayCode(Status status) {
  switch (status) {
    case Status::kOk:
      return kConversionOk;
    case Status::kCannotOpen:
    case Status::kCannotRead:
    case Status::kCannotWrite:
    case Status::kTruncated:
      return kConversionFailed;
    case Status::kBadSetting:
    case Status::kBadPath:
      return kConversionBadSetting;
    default:
      return kConversionNotSupported;
  }
}

int MonoCode(Status status) {
  switch (status) {
    case Status::kOk:
      return kConversionOk;
    case Status::kBadSetting:
    case Status::kBadPath:
      return kConversionBadSetting;
    default:
      return kConversionFailed;
  }
}

ConversionResult Finish(Status status, int (*code)(Status), std::string path = {}) {
  ConversionResult result;
  result.status = status;
  result.code = code(status);
  if (status == Status::kOk) result.path = std::move(path);
  return result;
}

template <typename Conversion>
ConversionResult ConvertBytes(const std::string& sourcePath, std::span<const uint8_t> source,
                              int (*code)(Status), Conversion convert) {
  std::optional<std::string> target = IntermediatePath(sourcePath);
  if (!target) return Finish(Status::kBadPath, code);
  std::vector<uint8_t> output;
  if (Status status = convert(source, &output); status != Status::kOk) return Finish(status, code);
  if (Status status = WriteFileWhole(*target, output); status != Status::kOk) return Finish(status, code);
  return Finish(Status::kOk, code, *target);
}

// Reads the source of a path-based conversion; on failure, the conversion's result.
std::optional<ConversionResult> ReadForConversion(const std::string& sourcePath, int (*code)(Status),
                                                  std::vector<uint8_t>* source) {
  if (!IntermediatePath(sourcePath)) return Finish(Status::kBadPath, code);
  if (Status status = ReadSourceFile(sourcePath, source); status != Status::kOk) return Finish(status, code);
  return std::nullopt;
}

Status EncodeFile(const std::string& path, Status (*encode)(std::span<const uint8_t>, std::vector<uint8_t>*),
                  std::vector<uint8_t>* record) {
  std::vector<uint8_t> bytes;
  if (Status status = ReadSourceFile(path, &bytes); status != Status::kOk) return status;
  return encode(bytes, record);
}

}  // namespace

std::optional<std::string> IntermediatePath(const std::string& sourcePath) {
  // Count four characters back from the end; a UTF-8 character's continuation bytes are 10xxxxxx.
  size_t cut = sourcePath.size();
  for (int characters = 0; characters < 4; ++characters) {
    if (cut == 0) return std::nullopt;
    do {
      --cut;
    } while (cut > 0 && (static_cast<uint8_t>(sourcePath[cut]) & 0xC0) == 0x80);
    if (IsSeparator(sourcePath[cut])) return std::nullopt;
  }
  return sourcePath.substr(0, cut) + "Temp.bmp";
}

Status ReadSourceFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::error_code ec;
  fs::path native = Utf8Path(path);
  if (fs::is_directory(native, ec)) return Status::kCannotOpen;
  std::ifstream in(native, std::ios::binary | std::ios::ate);
  if (!in) return Status::kCannotOpen;
  std::streamoff size = in.tellg();
  in.seekg(0);
  if (size < 0 || !in) return Status::kCannotRead;
  bytes->resize(std::min(static_cast<size_t>(size), kLargestBitmapFile));
  in.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
  if (in.bad()) return Status::kCannotRead;
  bytes->resize(static_cast<size_t>(in.gcount()));  // the file may have shrunk meanwhile
  return Status::kOk;
}

Status WriteFileWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
  return platform::WriteHostFile(Utf8Path(path), bytes).empty() ? Status::kOk : Status::kCannotWrite;
}

ConversionResult MakeGrayImage(const std::string& sourcePath, std::span<const uint8_t> sourceBytes,
                               int contrast, int brightness) {
  return ConvertBytes(sourcePath, sourceBytes, GrayCode,
                      [&](std::span<const uint8_t> source, std::vector<uint8_t>* out) {
                        return MakeGrayBitmap(source, contrast, brightness, out);
                      });
}

ConversionResult MakeMonoImage(const std::string& sourcePath, std::span<const uint8_t> sourceBytes,
                               Halftone halftone, int contrast, int brightness) {
  return ConvertBytes(sourcePath, sourceBytes, MonoCode,
                      [&](std::span<const uint8_t> source, std::vector<uint8_t>* out) {
                        return MakeMonoBitmap(source, halftone, contrast, brightness, out);
                      });
}

ConversionResult MakeGrayImage(const std::string& sourcePath, int contrast, int brightness) {
  std::vector<uint8_t> source;
  if (auto failed = ReadForConversion(sourcePath, GrayCode, &source)) return *failed;
  return MakeGrayImage(sourcePath, source, contrast, brightness);
}

ConversionResult MakeMonoImage(const std::string& sourcePath, Halftone halftone, int contrast,
                               int brightness) {
  std::vector<uint8_t> source;
  if (auto failed = ReadForConversion(sourcePath, MonoCode, &source)) return *failed;
  return MakeMonoImage(sourcePath, source, halftone, contrast, brightness);
}

Status EncodeMonoLogoFile(const std::string& bitmapPath, std::vector<uint8_t>* record) {
  return EncodeFile(bitmapPath, EncodeMonoLogo, record);
}

Status EncodeGrayLogoFile(const std::string& bitmapPath, std::vector<uint8_t>* record) {
  return EncodeFile(bitmapPath, EncodeGrayLogo, record);
}

}  // namespace mq::imaging
