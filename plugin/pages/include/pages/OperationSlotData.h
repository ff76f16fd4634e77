// The actions attached to one moment of a print job (start or end of the document or of each page), as the
// operation editor edits them; the settings record stores four of them. The store interface lets the
// Operation page read and write a slot of the record without knowing its layout.
#pragma once

#include <array>
#include <cstdint>

#include "pages/CommandText.h"

namespace mq::plugin {

// The editor's mode index, which is also the slot's position in the record.
enum class OperationMoment : int { kStartDoc = 0, kStartPage = 1, kEndPage = 2, kEndDoc = 3 };
inline constexpr int kOperationMoments = 4;

struct OperationSlotData {
  uint8_t sendCommand = 0;                          // 1: send command[0..commandLength)
  uint8_t feedToCut = 0;                            // 1: feed to the cut position before cutting
  std::array<uint8_t, kMaxCommandBytes> command{};  // bytes past commandLength are zero
  uint8_t commandLength = 0;                        // 0..128
  uint8_t drawerPulse = 0;                          // 0..12: drawer none/#1/#2/both, pulse 10/20/40/60 ms
  uint8_t cutType = 0;                              // 0 none, 1 partial, 2 full
  uint8_t feedMm = 0;                               // 0..100 mm
  uint8_t heraldState = 0;                          // 0 enable, 1 disable
  uint32_t drawerOrHerald = 0;                      // 0 cash drawer, 1 herald
  uint8_t buzzerVolume = 0;                         // 0..255
  uint8_t buzzerBeeps = 0;                          // 0..5: off, 1, 3, 5, 10, 20 beeps
  uint8_t logoNumber = 0;                           // 0 none, 1..9 a logo stored in the printer
  uint8_t logoAlign = 0;                            // 0 left, 1 centred, 2 right
  uint8_t logoPosition = 0;                         // 0 before the cut, 1 after

  bool operator==(const OperationSlotData&) const = default;
};

// Reads and writes the four slots of the settings record being edited.
class OperationSlotStore {
 public:
  virtual ~OperationSlotStore() = default;
  virtual OperationSlotData Load(OperationMoment moment) = 0;
  virtual void Store(OperationMoment moment, const OperationSlotData& slot) = 0;
};

}  // namespace mq::plugin
