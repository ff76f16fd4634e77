// Operation slots read from and written to the settings record through the record's field tables.
#include "pages/RecordBindings.h"

#include <algorithm>
#include <cstring>

namespace mq::plugin {

SlotId SlotOf(OperationMoment moment) {
  switch (moment) {
    case OperationMoment::kStartDoc:
      return SlotId::kStartDoc;
    case OperationMoment::kStartPage:
      return SlotId::kStartPage;
    case OperationMoment::kEndPage:
      return SlotId::kEndPage;
    case OperationMoment::kEndDoc:
      return SlotId::kEndDoc;
  }
  return SlotId::kStartDoc;
}

OperationSlotData RecordSlotStore::Load(OperationMoment moment) {
  const OperationSlotFields& f = Slot(SlotOf(moment));
  OperationSlotData slot;
  slot.sendCommand = f.sendCommand.Get(record_);
  slot.feedToCut = f.feedToCut.Get(record_);
  std::memcpy(slot.command.data(), record_ + f.command.offset, kMaxCommandBytes);
  // A stored length past the area (a damaged record) shows only what the area holds.
  slot.commandLength = std::min<uint8_t>(f.commandLength.Get(record_), kMaxCommandBytes);
  slot.drawerPulse = f.drawerPulse.Get(record_);
  slot.cutType = f.cutType.Get(record_);
  slot.feedMm = f.feedMm.Get(record_);
  slot.heraldState = f.heraldState.Get(record_);
  slot.drawerOrHerald = f.drawerOrHerald.Get(record_);
  slot.buzzerVolume = f.buzzerVolume.Get(record_);
  slot.buzzerBeeps = f.buzzerBeeps.Get(record_);
  slot.logoNumber = f.logoNumber.Get(record_);
  slot.logoAlign = f.logoAlign.Get(record_);
  slot.logoPosition = f.logoPosition.Get(record_);
  return slot;
}

void RecordSlotStore::Store(OperationMoment moment, const OperationSlotData& slot) {
  const OperationSlotFields& f = Slot(SlotOf(moment));
  const size_t length = std::min<size_t>(slot.commandLength, kMaxCommandBytes);
  f.sendCommand.Set(record_, slot.sendCommand);
  f.feedToCut.Set(record_, slot.feedToCut);
  std::memset(record_ + f.command.offset, 0, kMaxCommandBytes);
  std::memcpy(record_ + f.command.offset, slot.command.data(), length);
  f.commandLength.Set(record_, static_cast<uint8_t>(length));
  f.drawerPulse.Set(record_, slot.drawerPulse);
  f.cutType.Set(record_, slot.cutType);
  f.feedMm.Set(record_, slot.feedMm);
  f.heraldState.Set(record_, slot.heraldState);
  f.drawerOrHerald.Set(record_, slot.drawerOrHerald);
  f.buzzerVolume.Set(record_, slot.buzzerVolume);
  f.buzzerBeeps.Set(record_, slot.buzzerBeeps);
  f.logoNumber.Set(record_, slot.logoNumber);
  f.logoAlign.Set(record_, slot.logoAlign);
  f.logoPosition.Set(record_, slot.logoPosition);
}

}  // namespace mq::plugin
