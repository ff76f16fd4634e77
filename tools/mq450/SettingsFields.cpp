// The settings record's named fields and the reading of values typed for them.
#include "SettingsFields.h"

#include <charconv>
#include <limits>

#include "HexBytes.h"
#include "platform/Text.h"
#include "plugin/PrivateSettings.h"

namespace mq::tool {
namespace {

namespace settings = plugin::settings;

constexpr int64_t kWhole = std::numeric_limits<int64_t>::min();  // marks "the field's width is the range"

template <typename T>
NamedField Number(std::string name, plugin::Field<T> f, int64_t min = kWhole, int64_t max = kWhole) {
  FieldKind kind = std::is_signed_v<T> ? FieldKind::kSigned : FieldKind::kUnsigned;
  if (min == kWhole) {
    min = static_cast<int64_t>(std::numeric_limits<T>::min());
    max = static_cast<int64_t>(std::numeric_limits<T>::max());
  }
  return {std::move(name), kind, f.offset, sizeof(T), min, max};
}

NamedField Text(std::string name, plugin::TextField f) {
  return {std::move(name), FieldKind::kText, f.offset, f.units, 0, 0};
}

std::vector<NamedField> BuildTable() {
  std::vector<NamedField> t;
  t.push_back(Number("dwSize", settings::kSize));
  t.push_back({"dwSignature", FieldKind::kSignature, settings::kSignature.offset, 4, 0, 0xFFFFFFFF});
  t.push_back(Number("dwVersion", settings::kVersion));
  t.push_back(Number("reservedValue", settings::kReservedValue));
  static constexpr const char* kSlotNames[] = {"startDoc", "startPage", "endDoc", "endPage"};
  for (size_t s = 0; s < plugin::kSlots.size(); ++s) {
    const plugin::OperationSlotFields& f = plugin::kSlots[s];
    std::string p = std::string(kSlotNames[s]) + ".";
    t.push_back(Number(p + "sendCommand", f.sendCommand, 0, 1));
    t.push_back(Number(p + "feedToCut", f.feedToCut, 0, 1));
    t.push_back({p + "command", FieldKind::kCommand, f.command.offset, f.commandLength.offset, 0, 0});
    t.push_back(Number(p + "commandLength", f.commandLength, 0, plugin::kCommandCapacity));
    t.push_back(Number(p + "drawerPulse", f.drawerPulse, 0, 12));
    t.push_back(Number(p + "cutType", f.cutType, 0, 2));
    t.push_back(Number(p + "feedMm", f.feedMm, 0, 100));
    t.push_back(Number(p + "buzzerVolume", f.buzzerVolume));
    t.push_back(Number(p + "heraldState", f.heraldState, 0, 1));
    t.push_back(Number(p + "drawerOrHerald", f.drawerOrHerald, 0, 1));
    t.push_back(Number(p + "buzzerBeeps", f.buzzerBeeps, 0, 5));
    t.push_back(Number(p + "logoNumber", f.logoNumber, 0, 9));
    t.push_back(Number(p + "logoAlign", f.logoAlign, 0, 2));
    t.push_back(Number(p + "logoPosition", f.logoPosition, 0, 1));
  }
  for (uint32_t i = 0; i < plugin::kBarcode1DCount; ++i) {
    plugin::Barcode1DFields e = plugin::Barcode1D(i);
    std::string p = "barcode1D[" + std::to_string(i) + "].";
    t.push_back(Number(p + "type", e.type, 0, 12));
    t.push_back(Number(p + "elementWidth", e.elementWidth, 2, 6));
    t.push_back(Number(p + "elementHeight", e.elementHeight, 1, 255));
    t.push_back(Number(p + "hriPosition", e.hriPosition, 0, 3));
    t.push_back(Number(p + "hriFont", e.hriFont, 0, 1));
    t.push_back(Number(p + "elementWidthX8", e.elementWidthX8));
    t.push_back(Number(p + "symbolHeight", e.symbolHeight));
    t.push_back(Number(p + "gs1ElementWidth", e.gs1ElementWidth, 1, 6));
    t.push_back(Number(p + "gs1RowHeight", e.gs1RowHeight, 2, 250));
    t.push_back(Number(p + "gs1CompositeRowHeight", e.gs1CompositeRowHeight, 1, 10));
    t.push_back(Number(p + "gs1SeparatorHeight", e.gs1SeparatorHeight, 1, 10));
    t.push_back(Number(p + "gs1Hri", e.gs1Hri, 1, 4));
    t.push_back(Number(p + "gs1Ai", e.gs1Ai, 0, 1));
  }
  for (uint32_t i = 0; i < plugin::kBarcode2DCount; ++i) {
    plugin::Barcode2DFields e = plugin::Barcode2D(i);
    std::string p = "barcode2D[" + std::to_string(i) + "].";
    t.push_back(Number(p + "type", e.type, 0, 5));
    t.push_back(Number(p + "pdfElementWidth", e.pdfElementWidth));
    t.push_back(Number(p + "pdfElementHeight", e.pdfElementHeight));
    t.push_back(Number(p + "pdfColumns", e.pdfColumns));
    t.push_back(Number(p + "pdfRows", e.pdfRows));
    t.push_back(Number(p + "pdfErrorLevel", e.pdfErrorLevel));
    t.push_back(Number(p + "gs1ElementWidth", e.gs1ElementWidth));
    t.push_back(Number(p + "gs1RowHeight", e.gs1RowHeight));
    t.push_back(Number(p + "gs1CompositeRowHeight", e.gs1CompositeRowHeight));
    t.push_back(Number(p + "gs1SeparatorHeight", e.gs1SeparatorHeight));
    t.push_back(Number(p + "gs1SegmentNumber", e.gs1SegmentNumber));
    t.push_back(Number(p + "gs1Hri", e.gs1Hri));
    t.push_back(Number(p + "gs1Ai", e.gs1Ai));
    t.push_back(Number(p + "qrElementWidth", e.qrElementWidth));
    t.push_back(Number(p + "qrLanguageMode", e.qrLanguageMode));
    t.push_back(Number(p + "qrModel", e.qrModel));
    t.push_back(Number(p + "qrErrorLevel", e.qrErrorLevel));
  }
  t.push_back(Number("printAsGraphics", settings::kPrintAsGraphics, 0, 1));
  t.push_back(Text("watermarkBitmapPath", settings::kWatermarkBitmapPath));
  t.push_back(Number("watermarkMode", settings::kWatermarkMode, 0, 2));
  t.push_back(Text("watermarkText", settings::kWatermarkText));
  t.push_back(Text("watermarkFontFace", settings::kWatermarkFontFace));
  t.push_back(Number("watermarkFontSize", settings::kWatermarkFontSize, 8, 72));
  t.push_back(Number("watermarkFontStyle", settings::kWatermarkFontStyle, 0, 3));
  t.push_back(Number("watermarkAngle", settings::kWatermarkAngle, 0, 360));
  t.push_back(Number("watermarkPosition", settings::kWatermarkPosition, 0, 9));
  t.push_back(Number("watermarkSize", settings::kWatermarkSize, 0, 100));
  t.push_back(Number("watermarkBrightness", settings::kWatermarkBrightness));
  t.push_back(Number("scalePercent", settings::kScalePercent, 10, 100));
  t.push_back(Number("rotate180", settings::kRotate180, 0, 1));
  t.push_back(Text("formName", settings::kFormName));
  t.push_back(Number("zoomEnabled", settings::kZoomEnabled, 0, 1));
  t.push_back(Number("logEnabled", settings::kLogEnabled, 0, 1));
  t.push_back(Text("logFolder", settings::kLogFolder));
  return t;
}

// Decimal with an optional minus sign, or 0x followed by hexadecimal digits; the whole text must be the
// number.
bool ParseNumber(std::string_view text, int64_t* value) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty() || text[0] == '+' || (base == 16 && text[0] == '-')) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value, base);
  return ec == std::errc() && end == text.data() + text.size();
}

void StoreLittleEndian(uint8_t* at, uint32_t width, int64_t value) {
  auto bits = static_cast<uint64_t>(value);
  for (uint32_t i = 0; i < width; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace

const std::vector<NamedField>& SettingsFieldTable() {
  static const std::vector<NamedField> table = BuildTable();
  return table;
}

const NamedField* FindSettingsField(std::string_view name) {
  for (const NamedField& f : SettingsFieldTable())
    if (f.name == name) return &f;
  return nullptr;
}

bool SetSettingsField(const NamedField& field, std::string_view value, bool anyWidthValue, uint8_t* record,
                      std::string* error) {
  switch (field.kind) {
    case FieldKind::kText: {
      std::u16string text = text::Utf8ToUtf16(value);
      if (text.size() > field.width - 1) {
        *error = field.name + " holds at most " + std::to_string(field.width - 1) + " UTF-16 units; \"" +
                 std::string(value) + "\" has " + std::to_string(text.size());
        return false;
      }
      plugin::TextField{field.offset, field.width}.Set(record, text);
      return true;
    }
    case FieldKind::kCommand: {
      std::vector<uint8_t> bytes;
      std::string why;
      if (!ParseHexBytes(value, plugin::kCommandCapacity, &bytes, &why)) {
        *error = field.name + ": " + why;
        return false;
      }
      std::fill(record + field.offset, record + field.offset + plugin::kCommandCapacity, 0);
      std::copy(bytes.begin(), bytes.end(), record + field.offset);
      record[field.width] = static_cast<uint8_t>(bytes.size());
      return true;
    }
    default:
      break;
  }
  int64_t number = 0;
  if (!ParseNumber(value, &number)) {
    *error = field.name + ": \"" + std::string(value) +
             "\" is not a number (decimal, or 0x and hexadecimal digits)";
    return false;
  }
  int64_t min = field.min;
  int64_t max = field.max;
  if (anyWidthValue) {
    bool isSigned = field.kind == FieldKind::kSigned;
    int64_t span = int64_t{1} << (8 * field.width - (isSigned ? 1 : 0));
    min = isSigned ? -span : 0;
    max = span - 1;
  }
  if (number < min || number > max) {
    *error = field.name + " takes " + std::to_string(min) + ".." + std::to_string(max) + ", not " +
             std::string(value);
    return false;
  }
  StoreLittleEndian(record + field.offset, field.width, number);
  return true;
}

}  // namespace mq::tool
