// The "settings" command group: default, convert and merge settings records as a print host does, and show
// their fields.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "ToolSupport.h"
#include "platform/Text.h"
#include "platform/fake/FakeSystem.h"
#include "plugin/PrivateSettings.h"

namespace mq::tool {
namespace {

using plugin::kPrivateSettingsSize;
namespace settings = plugin::settings;

constexpr std::string_view kDefaultSystemDir = "C:\\Windows\\system32";
// The largest foreign record we read as a source; the host hands over at most a DEVMODE's private part.
constexpr size_t kMaxSourceSize = 65535;

struct Options {
  std::vector<std::string> positional;
  std::string output;
  std::string systemDir{kDefaultSystemDir};
};

bool ParseOptions(const Args& args, size_t from, Options* options, std::string* error) {
  for (size_t i = from; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" || a == "--output" || a == "--system-dir") {
      if (i + 1 >= args.size()) {
        *error = "missing value after " + a;
        return false;
      }
      (a == "--system-dir" ? options->systemDir : options->output) = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      *error = "unknown option " + a;
      return false;
    } else {
      options->positional.push_back(a);
    }
  }
  return true;
}

std::string Hex(const uint8_t* bytes, size_t count) {
  std::string out;
  char buffer[4];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(buffer, sizeof buffer, "%02X ", bytes[i]);
    out += buffer;
  }
  if (!out.empty()) out.pop_back();
  return out;
}

std::string Quoted(const std::u16string& text) {
  return "\"" + text::Utf16ToUtf8(text) + "\"";
}

std::string ShowRecord(const uint8_t* r) {
  std::ostringstream out;
  auto line = [&out](const std::string& name, const auto& value) { out << name << " = " << value << '\n'; };
  char signature[16];
  std::snprintf(signature, sizeof signature, "0x%08X", settings::kSignature.Get(r));
  line("dwSize", settings::kSize.Get(r));
  line("dwSignature", signature);
  line("dwVersion", settings::kVersion.Get(r));
  line("reservedValue", settings::kReservedValue.Get(r));
  static constexpr const char* kSlotNames[] = {"startDoc", "startPage", "endDoc", "endPage"};
  for (size_t s = 0; s < plugin::kSlots.size(); ++s) {
    const plugin::OperationSlotFields& f = plugin::kSlots[s];
    std::string p = std::string(kSlotNames[s]) + ".";
    unsigned length = f.commandLength.Get(r);
    line(p + "sendCommand", +f.sendCommand.Get(r));
    line(p + "feedToCut", +f.feedToCut.Get(r));
    line(p + "command", Hex(r + f.command.offset, std::min<unsigned>(length, plugin::kCommandCapacity)));
    line(p + "commandLength", length);
    line(p + "drawerPulse", +f.drawerPulse.Get(r));
    line(p + "cutType", +f.cutType.Get(r));
    line(p + "feedMm", +f.feedMm.Get(r));
    line(p + "buzzerVolume", +f.buzzerVolume.Get(r));
    line(p + "heraldState", +f.heraldState.Get(r));
    line(p + "drawerOrHerald", f.drawerOrHerald.Get(r));
    line(p + "buzzerBeeps", +f.buzzerBeeps.Get(r));
    line(p + "logoNumber", +f.logoNumber.Get(r));
    line(p + "logoAlign", +f.logoAlign.Get(r));
    line(p + "logoPosition", +f.logoPosition.Get(r));
  }
  for (uint32_t i = 0; i < plugin::kBarcode1DCount; ++i) {
    plugin::Barcode1DFields e = plugin::Barcode1D(i);
    std::string p = "barcode1D[" + std::to_string(i) + "].";
    line(p + "type", +e.type.Get(r));
    line(p + "elementWidth", +e.elementWidth.Get(r));
    line(p + "elementHeight", e.elementHeight.Get(r));
    line(p + "hriPosition", +e.hriPosition.Get(r));
    line(p + "hriFont", +e.hriFont.Get(r));
    line(p + "elementWidthX8", e.elementWidthX8.Get(r));
    line(p + "symbolHeight", e.symbolHeight.Get(r));
    line(p + "gs1ElementWidth", +e.gs1ElementWidth.Get(r));
    line(p + "gs1RowHeight", e.gs1RowHeight.Get(r));
    line(p + "gs1CompositeRowHeight", e.gs1CompositeRowHeight.Get(r));
    line(p + "gs1SeparatorHeight", +e.gs1SeparatorHeight.Get(r));
    line(p + "gs1Hri", +e.gs1Hri.Get(r));
    line(p + "gs1Ai", +e.gs1Ai.Get(r));
  }
  for (uint32_t i = 0; i < plugin::kBarcode2DCount; ++i) {
    plugin::Barcode2DFields e = plugin::Barcode2D(i);
    std::string p = "barcode2D[" + std::to_string(i) + "].";
    line(p + "type", +e.type.Get(r));
    line(p + "pdfElementWidth", +e.pdfElementWidth.Get(r));
    line(p + "pdfElementHeight", +e.pdfElementHeight.Get(r));
    line(p + "pdfColumns", +e.pdfColumns.Get(r));
    line(p + "pdfRows", +e.pdfRows.Get(r));
    line(p + "pdfErrorLevel", +e.pdfErrorLevel.Get(r));
    line(p + "gs1ElementWidth", +e.gs1ElementWidth.Get(r));
    line(p + "gs1RowHeight", e.gs1RowHeight.Get(r));
    line(p + "gs1CompositeRowHeight", e.gs1CompositeRowHeight.Get(r));
    line(p + "gs1SeparatorHeight", +e.gs1SeparatorHeight.Get(r));
    line(p + "gs1SegmentNumber", +e.gs1SegmentNumber.Get(r));
    line(p + "gs1Hri", +e.gs1Hri.Get(r));
    line(p + "gs1Ai", +e.gs1Ai.Get(r));
    line(p + "qrElementWidth", +e.qrElementWidth.Get(r));
    line(p + "qrLanguageMode", +e.qrLanguageMode.Get(r));
    line(p + "qrModel", +e.qrModel.Get(r));
    line(p + "qrErrorLevel", +e.qrErrorLevel.Get(r));
  }
  line("printAsGraphics", +settings::kPrintAsGraphics.Get(r));
  line("watermarkBitmapPath", Quoted(settings::kWatermarkBitmapPath.Get(r)));
  line("watermarkMode", +settings::kWatermarkMode.Get(r));
  line("watermarkText", Quoted(settings::kWatermarkText.Get(r)));
  line("watermarkFontFace", Quoted(settings::kWatermarkFontFace.Get(r)));
  line("watermarkFontSize", +settings::kWatermarkFontSize.Get(r));
  line("watermarkFontStyle", +settings::kWatermarkFontStyle.Get(r));
  line("watermarkAngle", settings::kWatermarkAngle.Get(r));
  line("watermarkPosition", +settings::kWatermarkPosition.Get(r));
  line("watermarkSize", +settings::kWatermarkSize.Get(r));
  line("watermarkBrightness", +settings::kWatermarkBrightness.Get(r));
  line("scalePercent", +settings::kScalePercent.Get(r));
  line("rotate180", +settings::kRotate180.Get(r));
  line("formName", Quoted(settings::kFormName.Get(r)));
  line("zoomEnabled", +settings::kZoomEnabled.Get(r));
  line("logEnabled", +settings::kLogEnabled.Get(r));
  line("logFolder", Quoted(settings::kLogFolder.Get(r)));
  return out.str();
}

// Runs DevMode on the host's behalf; returns the failure text, empty on success.
std::string RunDevMode(uint32_t mode, const uint8_t* source, uint8_t* target, const std::string& systemDir) {
  platform::FakeThreadError lastError;
  host::OemDmParam param{};
  param.cbSize = sizeof param;
  param.pOEMDMIn = const_cast<uint8_t*>(source);
  param.pOEMDMOut = target;
  if (plugin::DevMode(mode, &param, systemDir, lastError) != com::kOk) {
    return "settings operation failed with error " + std::to_string(lastError.value);
  }
  return {};
}

int WriteRecord(const std::string& path, const std::vector<uint8_t>& record) {
  std::string error;
  if (!WriteFileAtomically(path, record, &error)) return Fail(kExitFailed, error);
  return kExitOk;
}

int Default(const Options& o) {
  if (o.output.empty()) return Fail(kExitUsage, "settings default needs -o FILE");
  if (!o.positional.empty()) return Fail(kExitUsage, "settings default takes no input file");
  std::vector<uint8_t> record(kPrivateSettingsSize, 0);
  if (std::string failure = RunDevMode(host::kOemDmDefault, nullptr, record.data(), o.systemDir);
      !failure.empty()) {
    return Fail(kExitFailed, failure);
  }
  return WriteRecord(o.output, record);
}

int ConvertOrMerge(uint32_t mode, const Options& o) {
  const char* name = mode == host::kOemDmConvert ? "convert" : "merge";
  if (o.positional.size() != 1)
    return Fail(kExitUsage, std::string("settings ") + name + " needs one input file");
  if (o.output.empty()) return Fail(kExitUsage, std::string("settings ") + name + " needs -o FILE");
  std::vector<uint8_t> source;
  std::string error;
  if (!ReadWholeFile(o.positional[0], &source, &error)) return Fail(kExitFailed, error);
  if (source.size() < 12 || source.size() > kMaxSourceSize) {
    return Fail(kExitFailed, o.positional[0] + ": not a settings record (" + std::to_string(source.size()) +
                                 " bytes; a record has a 12-byte header and at most " +
                                 std::to_string(kMaxSourceSize) + " bytes)");
  }
  uint32_t claimed = settings::kSize.Get(source.data());
  if (settings::kSignature.Get(source.data()) == plugin::kPrivateSettingsSignature &&
      claimed > source.size()) {
    return Fail(kExitFailed, o.positional[0] + ": the record claims " + std::to_string(claimed) +
                                 " bytes but the file holds " + std::to_string(source.size()));
  }
  source.resize(std::max<size_t>(source.size(), kPrivateSettingsSize), 0);
  std::vector<uint8_t> target(kPrivateSettingsSize, 0);
  std::string failure = RunDevMode(host::kOemDmDefault, nullptr, target.data(), o.systemDir);
  if (failure.empty()) failure = RunDevMode(mode, source.data(), target.data(), o.systemDir);
  if (!failure.empty()) return Fail(kExitFailed, failure);
  return WriteRecord(o.output, target);
}

int Show(const Options& o) {
  if (o.positional.size() != 1) return Fail(kExitUsage, "settings show needs one file");
  std::vector<uint8_t> record;
  std::string error;
  if (!ReadWholeFile(o.positional[0], &record, &error)) return Fail(kExitFailed, error);
  if (record.size() != kPrivateSettingsSize) {
    return Fail(kExitFailed, o.positional[0] + ": not a settings record (" + std::to_string(record.size()) +
                                 " bytes, expected " + std::to_string(kPrivateSettingsSize) + ")");
  }
  std::cout << ShowRecord(record.data());
  return kExitOk;
}

}  // namespace

int RunSettings(const Args& args) {
  if (args.empty()) return Fail(kExitUsage, "settings needs a command: default, convert, merge or show");
  Options options;
  std::string error;
  if (!ParseOptions(args, 1, &options, &error)) return Fail(kExitUsage, error);
  const std::string& command = args[0];
  if (command == "default") return Default(options);
  if (command == "convert") return ConvertOrMerge(host::kOemDmConvert, options);
  if (command == "merge") return ConvertOrMerge(host::kOemDmMerge, options);
  if (command == "show") return Show(options);
  return Fail(kExitUsage, "unknown settings command: " + command);
}

}  // namespace mq::tool
