// What the 1D and 2D barcode pages have in common: edits with an up-down control whose typed value is clamped
// and written back, groups of controls shown or hidden together and moved onto a shared area, lists filled
// from language texts, and the test print of the data field on the sheet's printer.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "barcode/BarcodeSymbols.h"
#include "pages/PageTexts.h"
#include "platform/Spooler.h"
#include "platform/SystemInfo.h"
#include "platform/ui/DialogControls.h"

namespace mq::plugin {

// What a barcode page reaches outside itself: the printer of the sheet for its test print, and the system's
// ANSI code page that the printer data is converted to.
struct BarcodePageServices {
  platform::Spooler& spooler;
  platform::PrinterHandle printer;
  platform::SystemInfo& system;
};

// An edit with its up-down control and the range its value is clamped to.
struct SpinEdit {
  int edit;
  int upDown;
  int minimum;
  int maximum;
  int characters;  // the most the user may type
  // Whether a negative text (only a paste gets one past ES_NUMBER) counts as too large rather than too small.
  bool negativeIsTooLarge = false;
};

// Sets the typing limit and the up-down range.
void PrepareSpinEdit(platform::ui::DialogControls& controls, const SpinEdit& spin);
// Shows a value in the edit and its up-down control (the edit's text only when it differs).
void ShowSpinValue(platform::ui::DialogControls& controls, const SpinEdit& spin, int value);
// The edit's value clamped to the range (an empty or unreadable text reads as 0), shown again in the edit and
// its up-down control.
int ReadSpinEdit(platform::ui::DialogControls& controls, const SpinEdit& spin);

// A control placed at a pixel position of the page.
struct ControlPlace {
  int id;
  int x;
  int y;
};
void MoveControls(platform::ui::DialogControls& controls, std::span<const ControlPlace> places);
void ShowControls(platform::ui::DialogControls& controls, std::span<const int> ids, bool visible);
void EnableControls(platform::ui::DialogControls& controls, std::span<const int> ids, bool enabled);

// Fills a list with the texts, keeping the selected index; a list that already holds these texts is left
// alone, so that a repaint does not make the list paint again.
void FillList(platform::ui::DialogControls& controls, int id, const std::vector<std::string>& texts);

// The data field changed: Print is offered only while there is data.
void DataFieldChanged(platform::ui::DialogControls& controls, int dataField, int printButton);
// The apply answer: the page wrote its entries as they changed, so it reports success and is unchanged.
intptr_t ReportApplied(platform::ui::DialogControls& controls);

// The texts of the keys in the section, each read with the room.
std::vector<std::string> ReadTexts(PageTexts& texts, std::string_view section, std::span<const TextKey> keys,
                                   size_t room);

// Sets a flag for as long as it lives: a page raises it while it writes its own controls, so that the edits'
// change notices this causes are not taken for the user's typing.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = was_; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
  bool was_;
};

// The data field's text as the printer gets it: at most 399 characters, in the system's ANSI code page.
std::vector<uint8_t> TestPrintData(platform::ui::DialogControls& controls, int dataField,
                                   platform::SystemInfo& system);

// Sends a test print that is ready; one whose data the check refused shows the page's data error instead.
void SendOrRefuse(platform::ui::DialogControls& controls, PageTexts& texts,
                  const BarcodePageServices& services, const TestPrint& print, const TextKey& dataError);

}  // namespace mq::plugin
