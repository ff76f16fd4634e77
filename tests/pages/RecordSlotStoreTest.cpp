// The operation slots in the real settings record: each editor moment lands in its own slot's bytes.
#include <gtest/gtest.h>

#include <vector>

#include "pages/RecordBindings.h"

namespace mq::plugin {
namespace {

TEST(RecordSlotStore, EachMomentReadsAndWritesItsOwnSlotOfTheRecord) {
  std::vector<uint8_t> record(kPrivateSettingsSize, 0);
  WriteDefaults(record.data(), "C:\\Windows\\system32");
  RecordSlotStore store(record.data());

  // The record's defaults: only the end of the document feeds to the cutter and cuts partially.
  for (auto moment : {OperationMoment::kStartDoc, OperationMoment::kStartPage, OperationMoment::kEndPage}) {
    EXPECT_EQ(store.Load(moment), OperationSlotData{}) << static_cast<int>(moment);
  }
  EXPECT_EQ(store.Load(OperationMoment::kEndDoc).feedToCut, 1);
  EXPECT_EQ(store.Load(OperationMoment::kEndDoc).cutType, 1);

  const std::vector<uint8_t> before = record;
  OperationSlotData slot;
  slot.sendCommand = 1;
  slot.command[0] = 0x1B;
  slot.command[1] = 0x40;
  slot.commandLength = 2;
  slot.drawerOrHerald = 1;
  slot.buzzerVolume = 255;
  slot.logoPosition = 1;
  store.Store(OperationMoment::kEndPage, slot);

  const OperationSlotFields& endPage = Slot(SlotId::kEndPage);
  EXPECT_EQ(record[endPage.command.offset], 0x1B);
  EXPECT_EQ(record[endPage.command.offset + 1], 0x40);
  EXPECT_EQ(endPage.commandLength.Get(record.data()), 2);
  EXPECT_EQ(endPage.drawerOrHerald.Get(record.data()), 1u);
  EXPECT_EQ(endPage.buzzerVolume.Get(record.data()), 255);
  EXPECT_EQ(store.Load(OperationMoment::kEndPage), slot);
  // Nothing outside the end-of-page slot changed.
  size_t changed = 0;
  for (size_t i = 0; i < record.size(); ++i) {
    if (record[i] == before[i]) continue;
    ++changed;
    EXPECT_GE(i, endPage.sendCommand.offset) << i;
    EXPECT_LE(i, endPage.logoPosition.offset) << i;
  }
  EXPECT_GT(changed, 0u);
}

TEST(RecordSlotStore, DamagedCommandLengthShowsNoMoreThanTheCommandArea) {
  std::vector<uint8_t> record(kPrivateSettingsSize, 0);
  Slot(SlotId::kStartDoc).commandLength.Set(record.data(), 200);
  RecordSlotStore store(record.data());
  EXPECT_EQ(store.Load(OperationMoment::kStartDoc).commandLength, kMaxCommandBytes);
}

}  // namespace
}  // namespace mq::plugin
