// Defaults, conversion and merge of the private settings record.
#include "plugin/PrivateSettings.h"

#include <algorithm>
#include <cstring>

#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::plugin {

std::u16string TextField::Get(const uint8_t* record) const {
  std::u16string out;
  for (uint32_t i = 0; i < units; ++i) {
    auto unit = static_cast<char16_t>(record[offset + 2 * i] | (record[offset + 2 * i + 1] << 8));
    if (unit == 0) break;
    out += unit;
  }
  return out;
}

void TextField::Set(uint8_t* record, std::u16string_view text) const {
  Clear(record);
  size_t count = std::min<size_t>(text.size(), units - 1);
  for (size_t i = 0; i < count; ++i) {
    record[offset + 2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
    record[offset + 2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
}

void TextField::Clear(uint8_t* record) const {
  std::memset(record + offset, 0, units * 2u);
}

std::u16string DefaultLogFolder(std::string_view systemDirectory) {
  std::u16string system = text::Utf8ToUtf16(systemDirectory);
  return system.substr(0, 3) + u"ZNTDriverlog\\MQ-450\\";
}

namespace {

// The body defaults; the header is written by the callers that own it.
void WriteBodyDefaults(uint8_t* r, std::string_view systemDirectory) {
  using namespace settings;
  kReservedValue.Set(r, 0);
  for (size_t s = 0; s < kSlots.size(); ++s) {
    const OperationSlotFields& slot = kSlots[s];
    bool endDoc = s == static_cast<size_t>(SlotId::kEndDoc);
    slot.sendCommand.Set(r, 0);
    slot.feedToCut.Set(r, endDoc ? 1 : 0);
    std::memset(r + slot.command.offset, 0, slot.command.size);
    slot.commandLength.Set(r, 0);
    slot.drawerPulse.Set(r, 0);
    slot.cutType.Set(r, endDoc ? 1 : 0);
    slot.feedMm.Set(r, 0);
    slot.buzzerVolume.Set(r, 0);
    slot.heraldState.Set(r, 0);
    slot.buzzerBeeps.Set(r, 0);
    slot.logoNumber.Set(r, 0);
    slot.logoAlign.Set(r, 0);
    // drawerOrHerald and logoPosition keep what the buffer holds.
  }
  static constexpr uint8_t kDefaultTypes[kBarcode1DCount] = {0, 1, 3, 4, 5, 6, 7, 8};
  for (uint32_t i = 0; i < kBarcode1DCount; ++i) {
    Barcode1DFields e = Barcode1D(i);
    e.type.Set(r, kDefaultTypes[i]);
    e.elementWidth.Set(r, 3);
    e.elementHeight.Set(r, 163);
    e.hriPosition.Set(r, 0);
    e.hriFont.Set(r, 0);
    e.elementWidthX8.Set(r, 24);
    e.symbolHeight.Set(r, 163);
    e.gs1ElementWidth.Set(r, 2);
    e.gs1RowHeight.Set(r, 100);
    e.gs1CompositeRowHeight.Set(r, 2);
    e.gs1SeparatorHeight.Set(r, 1);
    e.gs1Hri.Set(r, 1);
    e.gs1Ai.Set(r, 1);
  }
  for (uint32_t i = 0; i < kBarcode2DCount; ++i) {
    Barcode2DFields e = Barcode2D(i);
    e.type.Set(r, 0);
    e.pdfElementWidth.Set(r, 3);
    e.pdfElementHeight.Set(r, 3);
    e.pdfColumns.Set(r, 3);
    e.pdfRows.Set(r, 3);
    e.pdfErrorLevel.Set(r, 5);
    e.gs1ElementWidth.Set(r, 2);
    e.gs1RowHeight.Set(r, 100);
    e.gs1CompositeRowHeight.Set(r, 2);
    e.gs1SeparatorHeight.Set(r, 2);
    e.gs1SegmentNumber.Set(r, 4);
    e.gs1Hri.Set(r, 1);
    e.gs1Ai.Set(r, 1);
    e.qrElementWidth.Set(r, 3);
    e.qrLanguageMode.Set(r, 0);
    e.qrModel.Set(r, 1);
    e.qrErrorLevel.Set(r, 1);
  }
  std::memset(r + kReserved.offset, 0, kReserved.size);
  kPrintAsGraphics.Set(r, 0);
  kWatermarkBitmapPath.Clear(r);
  kWatermarkMode.Set(r, 0);
  kWatermarkText.Clear(r);
  kWatermarkFontFace.Clear(r);
  kWatermarkFontSize.Set(r, 50);
  kWatermarkFontStyle.Set(r, 0);
  kWatermarkAngle.Set(r, 45);
  kWatermarkPosition.Set(r, 4);
  kWatermarkSize.Set(r, 100);
  kWatermarkBrightness.Set(r, 50);
  kScalePercent.Set(r, 100);
  kRotate180.Set(r, 0);
  kFormName.Clear(r);
  kZoomEnabled.Set(r, 0);
  kLogEnabled.Set(r, 0);
  kLogFolder.Set(r, DefaultLogFolder(systemDirectory));
}

void WriteHeader(uint8_t* r) {
  settings::kSize.Set(r, kPrivateSettingsSize);
  settings::kSignature.Set(r, kPrivateSettingsSignature);
  settings::kVersion.Set(r, kPrivateSettingsVersion);
}

}  // namespace

void WriteDefaults(uint8_t* record, std::string_view systemDirectory) {
  WriteHeader(record);
  WriteBodyDefaults(record, systemDirectory);
}

void ConvertSettings(const uint8_t* source, uint8_t* target, std::string_view systemDirectory) {
  if (source == nullptr || target == nullptr) return;
  if (settings::kSignature.Get(source) != settings::kSignature.Get(target)) {
    WriteDefaults(target, systemDirectory);
    return;
  }
  WriteBodyDefaults(target, systemDirectory);
  // A shorter record of an earlier layout keeps its own values for what it has. A size claim beyond the
  // target is cut to the target's own size, and the target's size is never taken beyond the record we know,
  // so a damaged header cannot make the copy run past either buffer.
  uint32_t count = std::min({settings::kSize.Get(source), settings::kSize.Get(target), kPrivateSettingsSize});
  if (source != target) std::memmove(target, source, count);
  settings::kSize.Set(target, kPrivateSettingsSize);
  settings::kVersion.Set(target, kPrivateSettingsVersion);
}

com::HResult DevMode(uint32_t mode, host::OemDmParam* param, std::string_view systemDirectory,
                     platform::ThreadError& lastError) {
  if (param == nullptr || mode < host::kOemDmSize || mode > host::kOemDmMerge) {
    lastError.Set(err::kInvalidParameter);
    return com::kFail;
  }
  auto* in = static_cast<const uint8_t*>(param->pOEMDMIn);
  auto* out = static_cast<uint8_t*>(param->pOEMDMOut);
  switch (mode) {
    case host::kOemDmSize:
      param->cbBufSize = kPrivateSettingsSize;
      break;
    case host::kOemDmDefault:
      if (out != nullptr) WriteDefaults(out, systemDirectory);
      break;
    case host::kOemDmConvert:
      ConvertSettings(in, out, systemDirectory);
      break;
    case host::kOemDmMerge:
      ConvertSettings(in, out, systemDirectory);
      if (out != nullptr) {
        settings::kSize.Set(out, kPrivateSettingsSize);
        settings::kSignature.Set(out, kPrivateSettingsSignature);
        settings::kVersion.Set(out, kPrivateSettingsVersion);
        if (settings::kReservedValue.Get(out) > 100) settings::kReservedValue.Set(out, 0);
      }
      break;
  }
  return com::kOk;
}

}  // namespace mq::plugin
