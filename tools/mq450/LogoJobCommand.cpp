// "mq450 logo job": the printer data of the Download page's Download all and Clear All Logos, written to a
// file. The listed bitmaps are the rows in order, all with the same settings; the page's refusals apply, and
// nothing is written when one of them is met.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "LogoArguments.h"
#include "ToolSupport.h"
#include "imaging/BitmapReader.h"
#include "imaging/LevelTransfer.h"
#include "imaging/LogoConverter.h"
#include "pages/LogoJob.h"

namespace mq::tool {
namespace {

namespace img = mq::imaging;
using plugin::LogoMode;

constexpr const char* kJobUsage =
    "usage: mq450 logo job mono SRC... [--halftone none|m3|m4|diffuse] [--contrast C] [--brightness B] -o "
    "OUT\n"
    "       mq450 logo job gray SRC... [--contrast C] [--brightness B] -o OUT\n"
    "       mq450 logo job clear -o OUT\n"
    "Writes the bytes the Download page sends to the printer: for mono and gray, Download all with the "
    "files\n"
    "as the list's rows in order (1 to 9), each with the given settings (halftone m3, contrast and "
    "brightness\n"
    "0 unless given); for clear, Clear All Logos. A one-bit source goes as it is in mono mode; other "
    "pictures\n"
    "are converted in memory, and no intermediate file is left beside them. The page's refusals apply: more\n"
    "than 9 files, a picture over 1024 x 768, 98304 bytes or more in all, a file that cannot be used.\n"
    "example: mq450 logo job mono shop.bmp sale.bmp --halftone diffuse --contrast 20 -o logos.prn\n";

int Usage(const std::string& message) {
  std::cerr << kJobUsage;
  return Fail(kExitUsage, message);
}

bool IsConvertible(int bits) {
  return bits == 24 || bits == 8;
}

// One row: the bytes its record is made from and what the page counts for it.
struct Row {
  std::string path;
  std::vector<uint8_t> recordSource;
  uint64_t countedBytes = 0;
};

}  // namespace

int RunLogoJob(const Args& args) {
  // args[0] is "job".
  if (args.size() >= 2 && (args[1] == "-h" || args[1] == "--help")) {
    std::cout << kJobUsage;
    return kExitOk;
  }
  if (args.size() < 2) return Usage("logo job needs mono, gray or clear");
  const std::string& modeName = args[1];
  if (modeName != "mono" && modeName != "gray" && modeName != "clear")
    return Usage("logo job makes mono, gray or clear jobs, not " + modeName);
  std::vector<std::string> sources;
  std::optional<std::string> contrastText, brightnessText, halftoneText, output;
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 1 && arg[0] == '-') {
      if (arg != "--contrast" && arg != "--brightness" && arg != "--halftone" && arg != "-o")
        return Usage("unknown option for logo job: " + arg);
      if (i + 1 >= args.size()) return Usage("option " + arg + " needs a value");
      const std::string& value = args[++i];
      (arg == "--contrast"     ? contrastText
       : arg == "--brightness" ? brightnessText
       : arg == "--halftone"   ? halftoneText
                               : output) = value;
    } else {
      sources.push_back(arg);
    }
  }
  if (!output) return Usage("logo job needs -o OUT");
  std::string error;
  if (modeName == "clear") {
    if (!sources.empty() || contrastText || brightnessText || halftoneText)
      return Usage("logo job clear takes no files or settings");
    std::vector<uint8_t> bytes;
    for (const std::vector<uint8_t>& block : plugin::ClearLogosBlocks())
      bytes.insert(bytes.end(), block.begin(), block.end());
    if (!WriteOutputFile(*output, bytes, &error)) return Fail(kExitFailed, error);
    std::cout << "Clear All Logos: " << bytes.size() << " bytes written to " << *output << '\n';
    return kExitOk;
  }

  const bool gray = modeName == "gray";
  if (gray && halftoneText) return Usage("gray logos take no halftone");
  const std::optional<int> contrast = ParseAdjustment(contrastText);
  const std::optional<int> brightness = ParseAdjustment(brightnessText);
  if (!contrast) return Usage("contrast must be a whole number from -100 to 100");
  if (!brightness) return Usage("brightness must be a whole number from -100 to 100");
  const std::optional<img::Halftone> halftone = ParseHalftone(halftoneText.value_or("m3"));
  if (!halftone) return Usage("halftone must be none, m3, m4 or diffuse");
  if (sources.empty()) return Usage("logo job " + modeName + " needs at least one bitmap");
  if (sources.size() > plugin::kMaxLogos)
    return Fail(kExitFailed,
                std::to_string(sources.size()) + " files given: the printer keeps at most 9 logos");

  std::vector<Row> rows;
  uint64_t total = 0;
  for (const std::string& path : sources) {
    Row row{path, {}, 0};
    std::vector<uint8_t> source;
    // At most the largest bitmap a logo can come from.
    if (!ReadWholeFile(path, img::kLargestBitmapFile, &source, &error)) return Fail(kExitFailed, error);
    const std::optional<plugin::BitmapHeader> header = plugin::ReadBitmapHeader(source);
    if (!header) return Fail(kExitFailed, path + ": fewer than 62 bytes, not a bitmap");
    if (header->width > img::kMaxWidth || header->height > img::kMaxHeight)
      return Fail(kExitFailed, path + ": " + std::to_string(header->width) + " x " +
                                   std::to_string(header->height) + " is larger than 1024 x 768");
    img::Status status = img::Status::kOk;
    if (!gray && header->signature && header->bitsPerPixel == 1) {
      img::Bitmap bitmap;
      status = img::ReadBitmap(source, &bitmap);
      row.countedBytes = source.size();
      row.recordSource = std::move(source);
    } else if (!gray && !IsConvertible(header->bitsPerPixel)) {
      return Fail(kExitFailed, path + ": a " + std::to_string(header->bitsPerPixel) +
                                   "-bit picture cannot become a mono logo (1, 8 and 24 bits can)");
    } else {
      status = gray ? img::MakeGrayBitmap(source, *contrast, *brightness, &row.recordSource)
                    : img::MakeMonoBitmap(source, *halftone, *contrast, *brightness, &row.recordSource);
      row.countedBytes = row.recordSource.size();
    }
    if (status != img::Status::kOk) return Fail(kExitFailed, path + ": " + img::Describe(status));
    total += row.countedBytes;
    rows.push_back(std::move(row));
  }
  if (total >= plugin::kLogoBytesLimit)
    return Fail(kExitFailed, "the logos come to " + std::to_string(total) +
                                 " bytes; the printer takes fewer than 98304 in one definition");

  const plugin::LogoJobBlocks job = plugin::BuildLogoDefinition(
      gray ? LogoMode::kGray : LogoMode::kTransformation, rows.size(),
      [&](size_t i) { return std::optional<std::vector<uint8_t>>(rows[i].recordSource); });
  if (!job.Complete())
    return Fail(kExitFailed,
                rows[static_cast<size_t>(job.failedRow)].path + ": " + img::Describe(job.failure));
  std::vector<uint8_t> bytes;
  for (const std::vector<uint8_t>& block : job.blocks) bytes.insert(bytes.end(), block.begin(), block.end());
  if (!WriteOutputFile(*output, bytes, &error)) return Fail(kExitFailed, error);
  std::cout << rows.size() << (gray ? " gray" : " mono") << " logos (" << total
            << " bytes counted): " << bytes.size() << " bytes written to " << *output << '\n';
  return kExitOk;
}

}  // namespace mq::tool
