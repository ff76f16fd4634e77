// The "logo" command group of the tool: the Download page's logo conversions and records on the command line,
// and a PNG preview of any bitmap the logo routines accept.

#include <algorithm>
#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "PngWriter.h"
#include "LogoArguments.h"
#include "ToolSupport.h"
#include "imaging/BitmapReader.h"
#include "imaging/LevelTransfer.h"
#include "imaging/LogoFiles.h"

namespace mq::tool {
namespace {

namespace img = mq::imaging;

constexpr const char* kLogoUsage =
    "usage: mq450 logo gray SRC [--contrast C] [--brightness B]\n"
    "       mq450 logo mono SRC --halftone none|m3|m4|diffuse [--contrast C] [--brightness B]\n"
    "       mq450 logo encode-mono FILE -o OUT\n"
    "       mq450 logo encode-gray FILE -o OUT\n"
    "       mq450 logo preview FILE -o OUT.png\n"
    "       mq450 logo job mono|gray|clear ... -o OUT   (see mq450 logo job --help)\n"
    "C and B run from -100 to 100 (default 0). gray and mono write SRC's intermediate file beside it\n"
    "(SRC without its last four characters, plus \"Temp.bmp\") and print its path; encode-mono and\n"
    "encode-gray turn such a file into the printer's logo record, preview draws it as a PNG picture.\n"
    "examples:\n"
    "  mq450 logo mono shop.bmp --halftone m4 --contrast 20     (writes shopTemp.bmp)\n"
    "  mq450 logo encode-mono shopTemp.bmp -o shop.rec\n"
    "  mq450 logo preview shopTemp.bmp -o shop.png\n";

int Usage(const std::string& message) {
  std::cerr << kLogoUsage;
  return Fail(kExitUsage, message);
}

// One positional file and the options a command allows; every option takes a value.
struct Parsed {
  std::string file;
  std::optional<std::string> contrast, brightness, halftone, output;
};

std::optional<std::string> ParseArgs(const Args& args, const std::vector<std::string>& allowed, Parsed* out) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 1 && arg[0] == '-') {
      bool known = false;
      for (const std::string& option : allowed) known = known || option == arg;
      if (!known) return "unknown option for logo " + args[0] + ": " + arg;
      if (i + 1 >= args.size()) return "option " + arg + " needs a value";
      const std::string& value = args[++i];
      if (arg == "--contrast") out->contrast = value;
      if (arg == "--brightness") out->brightness = value;
      if (arg == "--halftone") out->halftone = value;
      if (arg == "-o") out->output = value;
    } else if (out->file.empty()) {
      out->file = arg;
    } else {
      return "unexpected argument: " + arg;
    }
  }
  if (out->file.empty()) return "logo " + args[0] + " needs a file";
  return std::nullopt;
}

int ConversionFailure(const std::string& file, const img::ConversionResult& result) {
  return Fail(kExitFailed,
              file + ": " + img::Describe(result.status) + " (result " + std::to_string(result.code) + ")");
}

int RunConvert(const Args& args) {
  bool mono = args[0] == "mono";
  Parsed parsed;
  std::vector<std::string> allowed = {"--contrast", "--brightness"};
  if (mono) allowed.push_back("--halftone");
  if (auto error = ParseArgs(args, allowed, &parsed)) return Usage(*error);
  std::optional<int> contrast = ParseAdjustment(parsed.contrast);
  if (!contrast)
    return Fail(kExitUsage, "contrast must be a whole number from -100 to 100, not " + *parsed.contrast);
  std::optional<int> brightness = ParseAdjustment(parsed.brightness);
  if (!brightness) {
    return Fail(kExitUsage, "brightness must be a whole number from -100 to 100, not " + *parsed.brightness);
  }

  // The source is read, not mapped: another program may shrink the file while it is converted.
  img::ConversionResult result;
  if (mono) {
    if (!parsed.halftone) return Usage("logo mono needs --halftone none|m3|m4|diffuse");
    const std::optional<img::Halftone> halftone = ParseHalftone(*parsed.halftone);
    if (!halftone)
      return Fail(kExitUsage, "unknown halftone " + *parsed.halftone + " (none, m3, m4 or diffuse)");
    result = img::MakeMonoImage(parsed.file, *halftone, *contrast, *brightness);
  } else {
    result = img::MakeGrayImage(parsed.file, *contrast, *brightness);
  }
  if (!result.ok()) return ConversionFailure(parsed.file, result);
  std::cout << result.path << '\n';
  return kExitOk;
}

int RunEncode(const Args& args) {
  Parsed parsed;
  if (auto error = ParseArgs(args, {"-o"}, &parsed)) return Usage(*error);
  if (!parsed.output) return Usage("logo " + args[0] + " needs -o OUT");
  bool mono = args[0] == "encode-mono";
  std::vector<uint8_t> record;
  img::Status status =
      mono ? img::EncodeMonoLogoFile(parsed.file, &record) : img::EncodeGrayLogoFile(parsed.file, &record);
  if (status == img::Status::kUnsupportedDepth) {
    return Fail(kExitFailed, parsed.file + ": " +
                                 (mono ? "a mono logo is made from a 1-bit bitmap"
                                       : "a gray logo is made from an 8-bit gray bitmap"));
  }
  if (status != img::Status::kOk) return Fail(kExitFailed, parsed.file + ": " + img::Describe(status));
  std::string error;
  if (!WriteOutputFile(*parsed.output, record, &error)) return Fail(kExitFailed, error);
  return kExitOk;
}

// RGB rows, top to bottom, of an accepted bitmap; 8-bit pixels through the file's own palette, as the page
// shows a source file.
std::vector<uint8_t> RgbRows(const img::Bitmap& bitmap, const std::vector<uint8_t>& file) {
  std::vector<uint8_t> rgb(static_cast<size_t>(bitmap.width) * bitmap.height * 3);
  const uint8_t* palette = file.data() + img::kFileHeaderSize + img::kInfoHeaderSize;
  uint8_t* out = rgb.data();
  for (int top = 0; top < bitmap.height; ++top) {
    const uint8_t* row = bitmap.Row(bitmap.height - 1 - top);
    for (int x = 0; x < bitmap.width; ++x, out += 3) {
      const uint8_t* bgr;
      if (bitmap.bitsPerPixel == 24) {
        bgr = row + 3 * x;
      } else if (bitmap.bitsPerPixel == 8) {
        bgr = palette + 4 * row[x];
      } else {
        bgr = palette + 4 * ((row[x >> 3] >> (7 - (x & 7))) & 1);
      }
      out[0] = bgr[2];
      out[1] = bgr[1];
      out[2] = bgr[0];
    }
  }
  return rgb;
}

int RunPreview(const Args& args) {
  Parsed parsed;
  if (auto error = ParseArgs(args, {"-o"}, &parsed)) return Usage(*error);
  if (!parsed.output) return Usage("logo preview needs -o OUT.png");
  std::vector<uint8_t> file;
  img::Status status = img::ReadSourceFile(parsed.file, &file);
  img::Bitmap bitmap;
  if (status == img::Status::kOk) status = img::ReadBitmap(file, &bitmap);
  if (status != img::Status::kOk) return Fail(kExitFailed, parsed.file + ": " + img::Describe(status));
  std::vector<uint8_t> png;
  if (!EncodePng(bitmap.width, bitmap.height, RgbRows(bitmap, file), &png)) {
    return Fail(kExitFailed, "cannot encode the PNG picture");
  }
  std::string error;
  if (!WriteOutputFile(*parsed.output, png, &error)) return Fail(kExitFailed, error);
  return kExitOk;
}

}  // namespace

int RunLogo(const Args& args) {
  if (args.empty()) return Usage("logo needs a command");
  const std::string& command = args[0];
  bool help = args.size() == 2 && (args[1] == "-h" || args[1] == "--help") && command != "job";
  if (command == "-h" || command == "--help" || help) {
    std::cout << kLogoUsage;
    return kExitOk;
  }
  if (command == "gray" || command == "mono") return RunConvert(args);
  if (command == "encode-mono" || command == "encode-gray") return RunEncode(args);
  if (command == "preview") return RunPreview(args);
  if (command == "job") return RunLogoJob(args);
  return Usage("unknown logo command: " + command);
}

}  // namespace mq::tool
