// The "watermark" command group: the watermark picture file the Water Mark page writes for a bitmap, and the
// page's preview of a picture watermark as a PNG picture.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "PngWriter.h"
#include "ToolSupport.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "plugin/PrivateSettings.h"
#include "watermark/WatermarkPicture.h"
#include "watermark/WatermarkPlacement.h"

namespace mq::tool {
namespace {

namespace field = plugin::settings;

constexpr const char* kWatermarkUsage =
    "usage: mq450 watermark image SRC -o OUT\n"
    "       mq450 watermark preview SETTINGS [--picture FILE] --box WxH -o OUT.png\n"
    "image writes the watermark picture file the Water Mark page makes of a bitmap: a 1-bit or 8-bit file\n"
    "with each pixel replaced by its palette colour, a 24-bit file unchanged; any other file (4 or 32 bits,\n"
    "compressed, top-down, or a header its data contradict) and pictures with more than 10485760 bytes of\n"
    "24-bit data are refused with the page's message, exit 1, and nothing is written.\n"
    "preview draws the page's preview box of WxH pixels (1..4096 each) for a picture watermark: the picture\n"
    "(FILE, or else the settings record's bitmap path) at the record's position, size (at least 20 when\n"
    "tiled) and brightness, on white.\n"
    "example: mq450 watermark image logo8.bmp -o MQ-4501.bmp\n"
    "example: mq450 watermark preview settings.bin --picture logo8.bmp --box 129x214 -o preview.png\n";

int Usage(const std::string& message) {
  std::cerr << kWatermarkUsage;
  return Fail(kExitUsage, message);
}

struct Options {
  std::vector<std::string> positional;
  std::optional<std::string> output, picture, box;
};

bool Parse(const Args& args, Options* o, std::string* error) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" || a == "--picture" || a == "--box") {
      if (i + 1 >= args.size()) {
        *error = "option " + a + " needs a value";
        return false;
      }
      (a == "-o" ? o->output : a == "--picture" ? o->picture : o->box) = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      *error = "unknown option for watermark " + args[0] + ": " + a;
      return false;
    } else {
      o->positional.push_back(a);
    }
  }
  return true;
}

// The bitmap normalised, or the page's message for it (kExitFailed already reported).
std::optional<watermark::Normalised> Normalise(const std::string& path) {
  std::vector<uint8_t> source;
  std::string error;
  if (!ReadWholeFile(path, platform::kMaxReadAllBytes, &source, &error)) {
    Fail(kExitFailed, error);
    return std::nullopt;
  }
  watermark::Normalised out = watermark::NormaliseBitmap(source);
  if (out.status == watermark::NormaliseStatus::kRefused) {
    Fail(kExitFailed, path +
                          ": Make sure the specified bitmap is 1/8/24/ bits! (not a 1-, 8- or 24-bit "
                          "uncompressed bottom-up bitmap whose header fits its data)");
    return std::nullopt;
  }
  if (out.status == watermark::NormaliseStatus::kTooBig) {
    Fail(kExitFailed,
         path + ": The bitmap you selected is too big! (more than 10485760 bytes of 24-bit data)");
    return std::nullopt;
  }
  return out;
}

int RunImage(const Args& args) {
  Options o;
  std::string error;
  if (!Parse(args, &o, &error)) return Usage(error);
  if (o.positional.size() != 1) return Usage("watermark image needs one SRC bitmap");
  if (!o.output) return Usage("watermark image needs -o OUT");
  if (o.picture || o.box) return Usage("watermark image takes no --picture or --box");
  const std::optional<watermark::Normalised> picture = Normalise(o.positional[0]);
  if (!picture) return kExitFailed;
  if (!WriteOutputFile(*o.output, picture->file, &error)) return Fail(kExitFailed, error);
  std::cout << (picture->copied ? "24-bit bitmap copied unchanged: " : "normalised to 24 bits: ")
            << picture->file.size() << " bytes written to " << *o.output << '\n';
  return kExitOk;
}

bool ParseBox(const std::string& text, int* width, int* height) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  const std::optional<int> w = ParseWholeNumber(text.substr(0, x), 1, 4096);
  const std::optional<int> h = ParseWholeNumber(text.substr(x + 1), 1, 4096);
  if (!w || !h || text[0] == '+' || text[0] == '-' || text[x + 1] == '+' || text[x + 1] == '-') return false;
  *width = *w;
  *height = *h;
  return true;
}

int RunPreview(const Args& args) {
  Options o;
  std::string error;
  if (!Parse(args, &o, &error)) return Usage(error);
  if (o.positional.size() != 1) return Usage("watermark preview needs one SETTINGS file");
  if (!o.box) return Usage("watermark preview needs --box WxH");
  if (!o.output) return Usage("watermark preview needs -o OUT.png");
  int width = 0, height = 0;
  if (!ParseBox(*o.box, &width, &height)) return Usage("--box is WxH with each 1..4096, not " + *o.box);

  std::vector<uint8_t> record;
  if (!ReadWholeFile(o.positional[0], plugin::kPrivateSettingsSize, &record, &error))
    return Fail(kExitFailed,
                error + " (a settings record is " + std::to_string(plugin::kPrivateSettingsSize) + " bytes)");
  if (record.size() != plugin::kPrivateSettingsSize)
    return Fail(kExitFailed, o.positional[0] + ": not a settings record (" + std::to_string(record.size()) +
                                 " bytes, expected " + std::to_string(plugin::kPrivateSettingsSize) + ")");
  const std::string path =
      o.picture ? *o.picture : text::Utf16ToUtf8(field::kWatermarkBitmapPath.Get(record.data()));
  if (path.empty()) return Fail(kExitFailed, "the settings record names no picture; give --picture FILE");
  const std::optional<watermark::Normalised> normalised = Normalise(path);
  if (!normalised) return kExitFailed;
  const std::optional<platform::ui::Picture> picture = watermark::ReadPicture24(normalised->file);
  if (!picture) return Fail(kExitFailed, path + ": the normalised picture cannot be read back");

  const int position = field::kWatermarkPosition.Get(record.data());
  if (position >= watermark::kPositionCount)
    return Fail(kExitFailed, "the settings record holds position " + std::to_string(position) +
                                 ", which the position list does not offer");
  const int size = field::kWatermarkSize.Get(record.data());
  const int brightness = field::kWatermarkBrightness.Get(record.data());
  platform::ui::Picture box = watermark::PaintPreview(width, height, *picture, size, position);
  watermark::Brighten(box, brightness);
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const platform::ui::Rgb c = box.At(x, y);
      rgb.push_back(static_cast<uint8_t>(c >> 16));
      rgb.push_back(static_cast<uint8_t>(c >> 8));
      rgb.push_back(static_cast<uint8_t>(c));
    }
  }
  std::vector<uint8_t> png;
  if (!EncodePng(width, height, rgb, &png)) return Fail(kExitFailed, "the PNG picture could not be encoded");
  if (!WriteOutputFile(*o.output, png, &error)) return Fail(kExitFailed, error);
  const watermark::Placement p =
      watermark::Place(width, height, picture->Width(), picture->Height(), size, position);
  std::cout << "preview " << width << "x" << height << ", position " << position << ", size "
            << watermark::EffectiveSize(size, position) << ", brightness " << brightness << ": "
            << p.targetWidth << "x" << p.targetHeight
            << (p.tiled ? " tiles" : " at " + std::to_string(p.x) + "," + std::to_string(p.y))
            << ", written to " << *o.output << '\n';
  return kExitOk;
}

}  // namespace

int RunWatermark(const Args& args) {
  if (args.empty()) return Usage("watermark needs image or preview");
  for (const std::string& a : args) {
    if (a == "-h" || a == "--help") {
      std::cout << kWatermarkUsage;
      return kExitOk;
    }
  }
  if (args[0] == "image") return RunImage(args);
  if (args[0] == "preview") return RunPreview(args);
  return Usage("unknown watermark command: " + args[0]);
}

}  // namespace mq::tool
