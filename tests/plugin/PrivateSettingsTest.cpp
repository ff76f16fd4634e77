// The settings record: layout, defaults, conversion, merge and the DevMode failure rules.
#include "plugin/PrivateSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <vector>

#include "platform/Text.h"
#include "platform/WinError.h"
#include "platform/fake/FakeSystem.h"

namespace mq::plugin {
namespace {

constexpr std::string_view kSystemDir = "D:\\WINNT\\system32";

// Every byte the layout gives to a field, collected from the field tables; overlaps are reported.
struct Coverage {
  std::array<int, kPrivateSettingsSize> owner{};
  std::vector<std::string> overlaps;
  int next = 1;
  void Add(uint32_t offset, uint32_t width, const char* what) {
    ASSERT_LE(offset + width, kPrivateSettingsSize) << what;
    for (uint32_t i = 0; i < width; ++i) {
      if (owner[offset + i] != 0) overlaps.push_back(std::string(what) + " at " + std::to_string(offset + i));
      owner[offset + i] = next;
    }
    ++next;
  }
};

TEST(PrivateSettingsLayout, FieldsTileTheRecordExceptTheUnsetBytes) {
  Coverage c;
  using namespace settings;
  c.Add(kSize.offset, 4, "dwSize");
  c.Add(kSignature.offset, 4, "dwSignature");
  c.Add(kVersion.offset, 4, "dwVersion");
  c.Add(kReservedValue.offset, 4, "reservedValue");
  for (const OperationSlotFields& s : kSlots) {
    for (auto f : {s.sendCommand, s.feedToCut, s.commandLength, s.drawerPulse, s.cutType, s.feedMm,
                   s.buzzerVolume, s.heraldState, s.buzzerBeeps, s.logoNumber, s.logoAlign, s.logoPosition}) {
      c.Add(f.offset, 1, "slot byte");
    }
    c.Add(s.command.offset, s.command.size, "command");
    c.Add(s.drawerOrHerald.offset, 4, "drawerOrHerald");
  }
  for (uint32_t i = 0; i < kBarcode1DCount; ++i) {
    Barcode1DFields e = Barcode1D(i);
    for (auto f : {e.type, e.elementWidth, e.hriPosition, e.hriFont, e.gs1ElementWidth, e.gs1SeparatorHeight,
                   e.gs1Hri, e.gs1Ai}) {
      c.Add(f.offset, 1, "1D byte");
    }
    for (auto f :
         {e.elementHeight, e.elementWidthX8, e.symbolHeight, e.gs1RowHeight, e.gs1CompositeRowHeight}) {
      c.Add(f.offset, 4, "1D dword");
    }
  }
  for (uint32_t i = 0; i < kBarcode2DCount; ++i) {
    Barcode2DFields e = Barcode2D(i);
    for (auto f : {e.type, e.pdfElementWidth, e.pdfElementHeight, e.pdfColumns, e.pdfRows, e.pdfErrorLevel,
                   e.gs1ElementWidth, e.gs1SeparatorHeight, e.gs1SegmentNumber, e.gs1Hri, e.gs1Ai,
                   e.qrElementWidth, e.qrLanguageMode, e.qrModel, e.qrErrorLevel}) {
      c.Add(f.offset, 1, "2D byte");
    }
    c.Add(e.gs1RowHeight.offset, 4, "2D dword");
    c.Add(e.gs1CompositeRowHeight.offset, 4, "2D dword");
  }
  c.Add(kReserved.offset, kReserved.size, "reserved");
  for (auto f :
       {kPrintAsGraphics, kWatermarkMode, kWatermarkFontSize, kWatermarkFontStyle, kWatermarkPosition,
        kWatermarkSize, kWatermarkBrightness, kScalePercent, kRotate180, kZoomEnabled, kLogEnabled}) {
    c.Add(f.offset, 1, "byte field");
  }
  c.Add(kWatermarkAngle.offset, 4, "watermarkAngle");
  for (auto t : {kWatermarkBitmapPath, kWatermarkText, kWatermarkFontFace, kFormName, kLogFolder}) {
    c.Add(t.offset, t.units * 2, "text");
  }
  EXPECT_TRUE(c.overlaps.empty()) << c.overlaps.front();

  // The bytes no field owns are exactly the spare and padding bytes of the layout.
  std::set<uint32_t> expected = {151, 297, 298, 299, 1251, 1386, 1387, 1397};
  for (uint32_t i = 0; i < kBarcode1DCount; ++i) {
    for (uint32_t rel : {2u, 3u, 10u, 11u, 21u, 22u, 23u, 35u})
      expected.insert(kBarcode1DBase + i * 36 + rel);
  }
  for (uint32_t i = 0; i < kBarcode2DCount; ++i) expected.insert(kBarcode2DBase + i * 24 + 7);
  std::set<uint32_t> unowned;
  for (uint32_t i = 0; i < kPrivateSettingsSize; ++i) {
    if (c.owner[i] == 0) unowned.insert(i);
  }
  EXPECT_EQ(unowned, expected);
}

std::vector<uint8_t> Defaults(uint8_t fill) {
  std::vector<uint8_t> record(kPrivateSettingsSize, fill);
  WriteDefaults(record.data(), kSystemDir);
  return record;
}

TEST(PrivateSettingsDefaults, MatchTheDocumentedValues) {
  std::vector<uint8_t> r = Defaults(0);
  const uint8_t* p = r.data();
  // Header bytes in storage order: size, then 'T' 'N' 'Z' 0, then version.
  const uint8_t header[12] = {0xB8, 0x07, 0, 0, 'T', 'N', 'Z', 0, 1, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(p, header, 12));
  for (SlotId id : {SlotId::kStartDoc, SlotId::kStartPage, SlotId::kEndPage}) {
    EXPECT_EQ(Slot(id).feedToCut.Get(p), 0);
    EXPECT_EQ(Slot(id).cutType.Get(p), 0);
  }
  EXPECT_EQ(Slot(SlotId::kEndDoc).feedToCut.Get(p), 1);
  EXPECT_EQ(Slot(SlotId::kEndDoc).cutType.Get(p), 1);
  const uint8_t types[8] = {0, 1, 3, 4, 5, 6, 7, 8};
  for (uint32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(Barcode1D(i).type.Get(p), types[i]) << i;
    EXPECT_EQ(Barcode1D(i).elementHeight.Get(p), 163u);
    EXPECT_EQ(Barcode1D(i).elementWidthX8.Get(p), 24u);
    EXPECT_EQ(Barcode1D(i).gs1RowHeight.Get(p), 100u);
  }
  for (uint32_t i = 0; i < 2; ++i) {
    EXPECT_EQ(Barcode2D(i).type.Get(p), 0);
    EXPECT_EQ(Barcode2D(i).pdfErrorLevel.Get(p), 5);
    EXPECT_EQ(Barcode2D(i).gs1SeparatorHeight.Get(p), 2);
    EXPECT_EQ(Barcode2D(i).gs1SegmentNumber.Get(p), 4);
  }
  using namespace settings;
  EXPECT_EQ(kWatermarkFontSize.Get(p), 50);
  EXPECT_EQ(kWatermarkAngle.Get(p), 45);
  EXPECT_EQ(kWatermarkPosition.Get(p), 4);
  EXPECT_EQ(kWatermarkSize.Get(p), 100);
  EXPECT_EQ(kWatermarkBrightness.Get(p), 50);
  EXPECT_EQ(kScalePercent.Get(p), 100);
  EXPECT_EQ(kLogFolder.Get(p), u"D:\\ZNTDriverlog\\MQ-450\\");
  // The folder text is zero-filled to its full 256 units.
  for (uint32_t i = kLogFolder.offset + 2 * 23; i < kLogFolder.offset + 512; ++i) ASSERT_EQ(p[i], 0) << i;
}

TEST(PrivateSettingsDefaults, LeaveUnsetBytesAsTheBufferHoldsThem) {
  std::vector<uint8_t> r = Defaults(0xAA);
  for (uint32_t offset : {151u, 297u, 1251u, 1386u, 1397u, kBarcode1DBase + 35, kBarcode2DBase + 7}) {
    EXPECT_EQ(r[offset], 0xAA) << offset;
  }
  for (const OperationSlotFields& s : kSlots) {
    EXPECT_EQ(s.drawerOrHerald.Get(r.data()), 0xAAAAAAAAu);
    EXPECT_EQ(s.logoPosition.Get(r.data()), 0xAA);
    EXPECT_EQ(s.logoNumber.Get(r.data()), 0);
  }
  // Text fields and the reserved area are cleared over their whole width.
  EXPECT_EQ(r[settings::kReserved.offset + 66], 0);
  EXPECT_EQ(r[settings::kFormName.offset + 63], 0);
  EXPECT_EQ(r[kSlots[3].command.offset + 127], 0);
}

struct DevModeFixture : ::testing::Test {
  platform::FakeThreadError lastError;
  std::vector<uint8_t> source = std::vector<uint8_t>(kPrivateSettingsSize, 0);
  std::vector<uint8_t> target = std::vector<uint8_t>(kPrivateSettingsSize, 0);
  host::OemDmParam param{};

  com::HResult Call(uint32_t mode) {
    param.pOEMDMIn = source.data();
    param.pOEMDMOut = target.data();
    return DevMode(mode, &param, kSystemDir, lastError);
  }
};

TEST_F(DevModeFixture, SizeAndDefault) {
  EXPECT_EQ(Call(host::kOemDmSize), com::kOk);
  EXPECT_EQ(param.cbBufSize, 1976u);
  EXPECT_EQ(Call(host::kOemDmDefault), com::kOk);
  EXPECT_EQ(target, Defaults(0));
  EXPECT_EQ(lastError.value, 0xDEADBEEF) << "success must not touch the last error";
}

TEST_F(DevModeFixture, ConvertKeepsWhatAShorterRecordHas) {
  WriteDefaults(target.data(), kSystemDir);
  for (size_t i = 12; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 7 + 1);
  settings::kSize.Set(source.data(), 1464);
  settings::kSignature.Set(source.data(), kPrivateSettingsSignature);
  settings::kVersion.Set(source.data(), 0);
  ASSERT_EQ(Call(host::kOemDmConvert), com::kOk);
  EXPECT_EQ(0, std::memcmp(target.data() + 12, source.data() + 12, 1464 - 12));
  EXPECT_EQ(settings::kSize.Get(target.data()), 1976u);
  EXPECT_EQ(settings::kVersion.Get(target.data()), 1u);
  EXPECT_EQ(settings::kLogFolder.Get(target.data()), u"D:\\ZNTDriverlog\\MQ-450\\");
}

TEST_F(DevModeFixture, ConvertReplacesAForeignRecordByDefaults) {
  WriteDefaults(target.data(), kSystemDir);
  std::memset(source.data(), 0x5C, source.size());
  ASSERT_EQ(Call(host::kOemDmConvert), com::kOk);
  EXPECT_EQ(target, Defaults(0));
}

TEST_F(DevModeFixture, ConvertNeverCopiesBeyondTheRecord) {
  // Both headers claim far more than the host allocated; only 1976 bytes may be touched.
  std::vector<uint8_t> bigTarget(kPrivateSettingsSize + 64, 0xEE);
  WriteDefaults(bigTarget.data(), kSystemDir);
  settings::kSize.Set(bigTarget.data(), 60000);
  std::vector<uint8_t> bigSource(4000, 0x11);
  settings::kSignature.Set(bigSource.data(), kPrivateSettingsSignature);
  settings::kSize.Set(bigSource.data(), 60000);
  param.pOEMDMIn = bigSource.data();
  param.pOEMDMOut = bigTarget.data();
  ASSERT_EQ(DevMode(host::kOemDmMerge, &param, kSystemDir, lastError), com::kOk);
  for (size_t i = kPrivateSettingsSize; i < bigTarget.size(); ++i) ASSERT_EQ(bigTarget[i], 0xEE) << i;
  EXPECT_EQ(settings::kSize.Get(bigTarget.data()), 1976u);
}

TEST_F(DevModeFixture, MergeBoundsTheReservedValue) {
  struct Case {
    int32_t stored;
    int32_t expected;
  };
  for (Case c : {Case{101, 0}, Case{100, 100}, Case{-5, -5}, Case{0x7FFFFFFF, 0}}) {
    WriteDefaults(source.data(), kSystemDir);
    WriteDefaults(target.data(), kSystemDir);
    settings::kReservedValue.Set(source.data(), c.stored);
    ASSERT_EQ(Call(host::kOemDmMerge), com::kOk);
    EXPECT_EQ(settings::kReservedValue.Get(target.data()), c.expected) << c.stored;
  }
}

TEST_F(DevModeFixture, FailureRules) {
  for (uint32_t mode : {0u, 5u, 0xFFFFFFFFu}) {
    lastError.value = 0;
    std::vector<uint8_t> before = target;
    EXPECT_EQ(Call(mode), com::kFail) << mode;
    EXPECT_EQ(lastError.value, err::kInvalidParameter);
    EXPECT_EQ(target, before);
  }
  lastError.value = 0;
  EXPECT_EQ(DevMode(host::kOemDmSize, nullptr, kSystemDir, lastError), com::kFail);
  EXPECT_EQ(lastError.value, err::kInvalidParameter);

  // Null records: nothing written, still S_OK.
  host::OemDmParam empty{};
  EXPECT_EQ(DevMode(host::kOemDmDefault, &empty, kSystemDir, lastError), com::kOk);
  std::vector<uint8_t> before = target;
  param.pOEMDMIn = nullptr;
  param.pOEMDMOut = target.data();
  EXPECT_EQ(DevMode(host::kOemDmConvert, &param, kSystemDir, lastError), com::kOk);
  EXPECT_EQ(target, before);
  // Merge without a source converts nothing but still stamps the target's header.
  EXPECT_EQ(DevMode(host::kOemDmMerge, &param, kSystemDir, lastError), com::kOk);
  EXPECT_EQ(settings::kSignature.Get(target.data()), kPrivateSettingsSignature);
  EXPECT_EQ(settings::kSize.Get(target.data()), 1976u);
  EXPECT_TRUE(std::equal(target.begin() + 12, target.end(), before.begin() + 12));
}

TEST(PrivateSettingsText, StoresAtMostOneUnitLessThanTheField) {
  std::vector<uint8_t> r(kPrivateSettingsSize, 0x77);
  settings::kWatermarkText.Set(r.data(), u"0123456789ABCDEFGHIJ");
  EXPECT_EQ(settings::kWatermarkText.Get(r.data()), u"0123456789ABCDE");
  EXPECT_EQ(r[settings::kWatermarkText.offset + 30], 0);
  EXPECT_EQ(r[settings::kWatermarkText.offset + 32], 0x77) << "the next field is untouched";
}

}  // namespace
}  // namespace mq::plugin
