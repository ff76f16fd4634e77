// The pages' views of the plug-in core: the operation slots of the host's settings record, and the language
// texts of the loaded library.
#pragma once

#include "pages/OperationSlotData.h"
#include "pages/PageTexts.h"
#include "plugin/PrivateSettings.h"
#include "plugin/UiTexts.h"

namespace mq::plugin {

// The record position of each editor moment (the record keeps the end of the document before the end of
// page).
SlotId SlotOf(OperationMoment moment);

// The four slots of a 1976-byte settings record owned by the host.
class RecordSlotStore : public OperationSlotStore {
 public:
  explicit RecordSlotStore(uint8_t* record) : record_(record) {}
  OperationSlotData Load(OperationMoment moment) override;
  // Clears the command area to 128 zero bytes before writing the command.
  void Store(OperationMoment moment, const OperationSlotData& slot) override;

 private:
  uint8_t* record_;
};

class UiPageTexts : public PageTexts {
 public:
  explicit UiPageTexts(UiTexts& texts) : texts_(texts) {}
  void ResolveCurrentLanguage() override { texts_.ResolveCurrentLanguage(); }
  std::string Read(std::string_view section, std::string_view key, std::string_view fallback,
                   size_t capacity) override {
    return texts_.ReadUiText(section, key, fallback, static_cast<uint32_t>(capacity));
  }
  std::string CurrentLanguageFile() override { return texts_.CurrentResFile(); }

 private:
  UiTexts& texts_;
};

}  // namespace mq::plugin
