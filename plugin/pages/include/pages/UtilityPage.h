// The Utility page of the device sheet (template 114): the printer's self-test page, the user-defined paper
// sizes ("Custom Paper-" forms of the printer's spooler, with the base form "Custom Paper-MQ450"), and the
// button that opens the control-font translation table.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "MQ450UIResources.h"
#include "pages/PageTexts.h"
#include "platform/Spooler.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int kUtilityPageTemplate = IDD_UTILITY_PAGE;

namespace utility_page {
inline constexpr int kSelfTest = IDC_UTILITY_SELFTEST;
inline constexpr int kSelfTestLabel = IDC_UTILITY_SELFTEST_LABEL;
inline constexpr int kCheckCommLabel = IDC_UTILITY_CHECKCOMM_LABEL;
inline constexpr int kFormsGroup = IDC_UTILITY_FORMS_GROUP;
inline constexpr int kFormList = IDC_UTILITY_FORM_LIST;
inline constexpr int kDelete = IDC_UTILITY_DELETE;
inline constexpr int kNameLabel = IDC_UTILITY_NAME_LABEL;
inline constexpr int kName = IDC_UTILITY_NAME;
inline constexpr int kSave = IDC_UTILITY_SAVE;
inline constexpr int kWidthLabel = IDC_UTILITY_WIDTH_LABEL;
inline constexpr int kWidth = IDC_UTILITY_WIDTH;
inline constexpr int kWidthUpDown = IDC_UTILITY_WIDTH_UPDOWN;
inline constexpr int kWidthRange = IDC_UTILITY_WIDTH_RANGE;
inline constexpr int kHeightLabel = IDC_UTILITY_HEIGHT_LABEL;
inline constexpr int kHeight = IDC_UTILITY_HEIGHT;
inline constexpr int kHeightUpDown = IDC_UTILITY_HEIGHT_UPDOWN;
inline constexpr int kHeightRange = IDC_UTILITY_HEIGHT_RANGE;
inline constexpr int kControlFont = IDC_UTILITY_CONTROL_FONT;
inline constexpr int kControlFontLabel = IDC_UTILITY_CONTROL_FONT_LABEL;
inline constexpr int kControlFontInfo = IDC_UTILITY_CONTROL_FONT_INFO;
}  // namespace utility_page

// Every user form of the page is named this prefix followed by the user's name (at most 18 characters).
inline constexpr std::string_view kUserFormPrefix = "Custom Paper-";
inline constexpr std::string_view kBaseFormName = "Custom Paper-MQ450";
inline constexpr int kFormNameChars = 18;
// Sizes as the page shows and takes them, in tenths of a millimetre; the spooler keeps thousandths.
inline constexpr int kFormWidthMin = 410;
inline constexpr int kFormWidthMax = 720;
inline constexpr int kFormHeightMin = 254;
inline constexpr int kFormHeightMax = 32760;
inline constexpr int32_t kBaseFormWidth = 72000;    // 72 mm
inline constexpr int32_t kBaseFormHeight = 297000;  // 297 mm

// The self-test job's command between the brackets: GS ( A with two parameter bytes, n = 0, m = 2.
inline constexpr std::array<uint8_t, 7> kSelfTestCommand = {0x1D, 0x28, 0x41, 0x02, 0x00, 0x00, 0x02};

// EnumFormsW level 1 with its size probe: asked once with no buffer, then with the size the spooler named
// (again while the list grows between the calls). False when the spooler fails.
bool EnumerateForms(platform::Spooler& spooler, platform::PrinterHandle printer,
                    std::vector<platform::FormInfo1>* forms);

struct UtilityServices {
  platform::Spooler& spooler;
  platform::PrinterHandle printer;  // the sheet's printer handle, from the host
  // Opens the control-font translation table editor (a modal dialog owned by the page).
  std::function<void(platform::ui::DialogControls&)> openControlFont;
};

class UtilityPage : public platform::ui::DialogLogic {
 public:
  UtilityPage(PageTexts& texts, UtilityServices services) : texts_(texts), services_(std::move(services)) {}

  void OnInit(platform::ui::DialogControls& controls) override;
  void OnPaint(platform::ui::DialogControls& controls) override { SetTexts(controls); }
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  intptr_t OnSheetEvent(platform::ui::DialogControls& controls, platform::ui::SheetEvent event) override;

  // The forms listed, in list order (full names and sizes as the spooler last reported them).
  const std::vector<platform::FormInfo1>& Listed() const { return listed_; }

 private:
  void SetTexts(platform::ui::DialogControls& controls);
  void ShowEntry(platform::ui::DialogControls& controls, int index);
  void Save(platform::ui::DialogControls& controls);
  void Delete(platform::ui::DialogControls& controls);
  void SelfTest();
  void ShowFailure(platform::ui::DialogControls& controls);
  int ReadClamped(platform::ui::DialogControls& controls, int id, int minimum, int maximum);

  PageTexts& texts_;
  UtilityServices services_;
  std::vector<platform::FormInfo1> listed_;
};

}  // namespace mq::plugin
