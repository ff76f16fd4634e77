// The plug-in's private DEVMODE record: 1976 bytes, little-endian, stored by the spooler with printer
// defaults and by applications inside their documents. Every offset below is a stored format; the gaps are
// part of it. Fields are described by offset tables and read or written without alignment, so the record can
// sit anywhere in the host's buffer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/ThreadError.h"
#include "plugin/ComTypes.h"
#include "plugin/HostTypes.h"

namespace mq::plugin {

inline constexpr uint32_t kPrivateSettingsSize = 1976;
// 'ZNT' as a multi-character constant: stored as the bytes 'T', 'N', 'Z', 0.
inline constexpr uint32_t kPrivateSettingsSignature = 0x005A4E54;
inline constexpr uint32_t kPrivateSettingsVersion = 1;

// A little-endian integer field at a fixed offset.
template <typename T>
struct Field {
  uint32_t offset;

  T Get(const uint8_t* record) const {
    using U = std::make_unsigned_t<T>;
    U value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
      value |= static_cast<U>(static_cast<U>(record[offset + i]) << (8 * i));
    return static_cast<T>(value);
  }
  void Set(uint8_t* record, T value) const {
    using U = std::make_unsigned_t<T>;
    auto bits = static_cast<U>(value);
    for (size_t i = 0; i < sizeof(T); ++i) record[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
  }
  static constexpr uint32_t kWidth = sizeof(T);
};

// A UTF-16LE text field of a fixed number of code units; zero-terminated when shorter, rest zero.
struct TextField {
  uint32_t offset;
  uint32_t units;

  std::u16string Get(const uint8_t* record) const;
  // Stores at most units - 1 code units so that the text always ends with a zero; clears the rest.
  void Set(uint8_t* record, std::u16string_view text) const;
  void Clear(uint8_t* record) const;
};

// A plain byte area.
struct ByteArea {
  uint32_t offset;
  uint32_t size;
};

// The fields of one OperationSlot. The four slots differ in where the buzzer volume, the herald byte and the
// 32-bit drawer/herald field sit, so each slot has its own table.
struct OperationSlotFields {
  Field<uint8_t> sendCommand;
  Field<uint8_t> feedToCut;
  ByteArea command;  // 128 bytes of raw printer command
  Field<uint8_t> commandLength;
  Field<uint8_t> drawerPulse;
  Field<uint8_t> cutType;
  Field<uint8_t> feedMm;
  Field<uint8_t> buzzerVolume;
  Field<uint8_t> heraldState;
  Field<uint32_t> drawerOrHerald;
  Field<uint8_t> buzzerBeeps;
  Field<uint8_t> logoNumber;
  Field<uint8_t> logoAlign;
  Field<uint8_t> logoPosition;
};

enum class SlotId { kStartDoc = 0, kStartPage = 1, kEndDoc = 2, kEndPage = 3 };
inline constexpr uint32_t kCommandCapacity = 128;

inline constexpr std::array<OperationSlotFields, 4> kSlots = {{
    {{16}, {17}, {18, 128}, {146}, {147}, {148}, {149}, {156}, {150}, {152}, {157}, {158}, {159}, {160}},
    {{161}, {162}, {163, 128}, {291}, {292}, {293}, {294}, {295}, {296}, {300}, {304}, {305}, {306}, {307}},
    {{308}, {309}, {310, 128}, {438}, {439}, {440}, {441}, {442}, {443}, {444}, {448}, {449}, {450}, {451}},
    {{452}, {453}, {454, 128}, {582}, {583}, {584}, {585}, {586}, {587}, {588}, {592}, {593}, {594}, {595}},
}};

inline const OperationSlotFields& Slot(SlotId id) {
  return kSlots[static_cast<size_t>(id)];
}

// One of the eight 1D barcode entries (36 bytes each from offset 596).
struct Barcode1DFields {
  Field<uint8_t> type;
  Field<uint8_t> elementWidth;
  Field<uint32_t> elementHeight;
  Field<uint8_t> hriPosition;
  Field<uint8_t> hriFont;
  Field<uint32_t> elementWidthX8;
  Field<uint32_t> symbolHeight;
  Field<uint8_t> gs1ElementWidth;
  Field<uint32_t> gs1RowHeight;
  Field<uint32_t> gs1CompositeRowHeight;
  Field<uint8_t> gs1SeparatorHeight;
  Field<uint8_t> gs1Hri;
  Field<uint8_t> gs1Ai;
};
inline constexpr uint32_t kBarcode1DBase = 596;
inline constexpr uint32_t kBarcode1DSize = 36;
inline constexpr uint32_t kBarcode1DCount = 8;
constexpr Barcode1DFields Barcode1D(uint32_t index) {
  uint32_t b = kBarcode1DBase + index * kBarcode1DSize;
  return {{b + 0},  {b + 1},  {b + 4},  {b + 8},  {b + 9},  {b + 12}, {b + 16},
          {b + 20}, {b + 24}, {b + 28}, {b + 32}, {b + 33}, {b + 34}};
}

// One of the two 2D barcode entries (24 bytes each from offset 884).
struct Barcode2DFields {
  Field<uint8_t> type;
  Field<uint8_t> pdfElementWidth;
  Field<uint8_t> pdfElementHeight;
  Field<uint8_t> pdfColumns;
  Field<uint8_t> pdfRows;
  Field<uint8_t> pdfErrorLevel;
  Field<uint8_t> gs1ElementWidth;
  Field<uint32_t> gs1RowHeight;
  Field<uint32_t> gs1CompositeRowHeight;
  Field<uint8_t> gs1SeparatorHeight;
  Field<uint8_t> gs1SegmentNumber;
  Field<uint8_t> gs1Hri;
  Field<uint8_t> gs1Ai;
  Field<uint8_t> qrElementWidth;
  Field<uint8_t> qrLanguageMode;
  Field<uint8_t> qrModel;
  Field<uint8_t> qrErrorLevel;
};
inline constexpr uint32_t kBarcode2DBase = 884;
inline constexpr uint32_t kBarcode2DSize = 24;
inline constexpr uint32_t kBarcode2DCount = 2;
constexpr Barcode2DFields Barcode2D(uint32_t index) {
  uint32_t b = kBarcode2DBase + index * kBarcode2DSize;
  return {{b + 0},  {b + 1},  {b + 2},  {b + 3},  {b + 4},  {b + 5},  {b + 6},  {b + 8}, {b + 12},
          {b + 16}, {b + 17}, {b + 18}, {b + 19}, {b + 20}, {b + 21}, {b + 22}, {b + 23}};
}

// Header and the remaining body fields.
namespace settings {
inline constexpr Field<uint32_t> kSize{0};
inline constexpr Field<uint32_t> kSignature{4};
inline constexpr Field<uint32_t> kVersion{8};
inline constexpr Field<int32_t> kReservedValue{12};
inline constexpr ByteArea kReserved{932, 67};
inline constexpr Field<uint8_t> kPrintAsGraphics{999};
inline constexpr TextField kWatermarkBitmapPath{1000, 125};
inline constexpr Field<uint8_t> kWatermarkMode{1250};
inline constexpr TextField kWatermarkText{1252, 16};
inline constexpr TextField kWatermarkFontFace{1284, 50};
inline constexpr Field<uint8_t> kWatermarkFontSize{1384};
inline constexpr Field<uint8_t> kWatermarkFontStyle{1385};
inline constexpr Field<int32_t> kWatermarkAngle{1388};
inline constexpr Field<uint8_t> kWatermarkPosition{1392};
inline constexpr Field<uint8_t> kWatermarkSize{1393};
inline constexpr Field<uint8_t> kWatermarkBrightness{1394};
inline constexpr Field<uint8_t> kScalePercent{1395};
inline constexpr Field<uint8_t> kRotate180{1396};
inline constexpr TextField kFormName{1398, 32};
inline constexpr Field<uint8_t> kZoomEnabled{1462};
inline constexpr Field<uint8_t> kLogEnabled{1463};
inline constexpr TextField kLogFolder{1464, 256};
}  // namespace settings

// The default log folder: the drive root of the system directory ("C:\") followed by "ZNTDriverlog\MQ-450\".
std::u16string DefaultLogFolder(std::string_view systemDirectory);

// The default step: header and every default; bytes the layout leaves unset keep the buffer's content.
void WriteDefaults(uint8_t* record, std::string_view systemDirectory);

// The conversion of a stored copy into a target record (both 1976-byte buffers owned by the host); nothing
// happens when either is null.
void ConvertSettings(const uint8_t* source, uint8_t* target, std::string_view systemDirectory);

// IPrintOemUI::DevMode: size, default, convert and merge. S_OK for modes 1 to 4; a null param or another mode
// sets ERROR_INVALID_PARAMETER and fails with E_FAIL, writing nothing.
com::HResult DevMode(uint32_t mode, host::OemDmParam* param, std::string_view systemDirectory,
                     platform::ThreadError& lastError);

}  // namespace mq::plugin
