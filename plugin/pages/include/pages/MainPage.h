// The Main page of the document sheet (template 128): the driver-log switch and viewer, print as graphics,
// zoom with its scale, the (hidden) rotation, the paper size pushed into the driver's form option item, and
// the language of every page, switched on apply across the printer's open sheets.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "MQ450UIResources.h"
#include "pages/PageTexts.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/ui/DialogLogic.h"
#include "plugin/PageContext.h"
#include "plugin/UiTexts.h"

namespace mq::plugin {

inline constexpr int kMainPageTemplate = IDD_MAIN_PAGE;
// DMPubID of the driver's paper-size option item (DMPUB_FORMNAME).
inline constexpr uint8_t kDmPubFormName = 9;
// The scale the up-down control offers and the scale the record keeps, in percent.
inline constexpr int kScaleShownMin = 10;
inline constexpr int kScaleShownMax = 200;
inline constexpr int kScaleStoredMax = 100;

namespace main_page {
inline constexpr int kLogGroup = IDC_MAIN_LOG_GROUP;
inline constexpr int kLogEnabled = IDC_MAIN_LOG_ENABLED;
inline constexpr int kLogFolder = IDC_MAIN_LOG_FOLDER;
inline constexpr int kLogBrowse = IDC_MAIN_LOG_BROWSE;
inline constexpr int kLogViewer = IDC_MAIN_LOG_VIEWER;
inline constexpr int kDocumentGroup = IDC_MAIN_DOCUMENT_GROUP;
inline constexpr int kGraphicsLabel = IDC_MAIN_GRAPHICS_LABEL;
inline constexpr int kGraphicsYes = IDC_MAIN_GRAPHICS_YES;
inline constexpr int kGraphicsNo = IDC_MAIN_GRAPHICS_NO;
inline constexpr int kZoom = IDC_MAIN_ZOOM;
inline constexpr int kScaleLabel = IDC_MAIN_SCALE_LABEL;
inline constexpr int kScale = IDC_MAIN_SCALE;
inline constexpr int kScaleUpDown = IDC_MAIN_SCALE_UPDOWN;
inline constexpr int kRotateGroup = IDC_MAIN_ROTATE_GROUP;
inline constexpr int kRotateNormal = IDC_MAIN_ROTATE_NORMAL;
inline constexpr int kRotate180 = IDC_MAIN_ROTATE_180;
inline constexpr int kPaperLabel = IDC_MAIN_PAPER_LABEL;
inline constexpr int kPaper = IDC_MAIN_PAPER;
inline constexpr int kLanguageLabel = IDC_MAIN_LANGUAGE_LABEL;
inline constexpr int kLanguage = IDC_MAIN_LANGUAGE;
inline constexpr int kUpdateLanguage = IDC_MAIN_UPDATE_LANGUAGE;
}  // namespace main_page

// The windows of the printer's open sheets, as a language change reaches them.
class SheetRetitler {
 public:
  virtual ~SheetRetitler() = default;
  // The six tabs of the plug-in's pages in the sheet that holds the Main page (tabs 2 to 7, behind the host's
  // two) get the six titles.
  virtual void RetitleOwnSheet(const std::vector<std::string>& titles) = 0;
  // Every other open property window whose title contains printerName gets the four titles on its last four
  // tabs; then the open Utility, Download, Font and both Version pages are asked to repaint.
  virtual void RetitleOtherSheets(std::string_view printerName, const std::vector<std::string>& titles) = 0;
};

// Set by the Water Mark page when the user switches the watermark off; the Main page's next activation then
// checks No and clears it. One per library, shared by the pages of all sheets.
struct WatermarkOffSignal {
  bool raised = false;
};

struct MainPageServices {
  UiTexts& language;  // the language list and the registry side of choosing a language
  platform::Shell& shell;
  platform::SystemInfo& system;
  SheetRetitler& sheets;
  WatermarkOffSignal& watermarkOff;
  // The print-density renaming, repeated whenever the page paints; may be empty.
  std::function<void()> renameDensity;
};

class MainPage : public platform::ui::DialogLogic {
 public:
  // record is the host's settings record (never null); context gives the printer name, the driver's option
  // items and the host's helper.
  MainPage(uint8_t* record, const DocumentPageContext& context, PageTexts& texts, MainPageServices services);

  void OnInit(platform::ui::DialogControls& controls) override;
  void OnPaint(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  intptr_t OnSheetEvent(platform::ui::DialogControls& controls, platform::ui::SheetEvent event) override;

  const std::string& PrinterName() const { return printerName_; }

 private:
  void SetTexts(platform::ui::DialogControls& controls, bool all);
  bool GraphicsAllowed() const;
  // Checks Yes, unchecks No and disables both; turning zoom or rotation on forces graphics with a notice.
  void ForceGraphics(platform::ui::DialogControls& controls);
  void EnableGraphicsRadios(platform::ui::DialogControls& controls, bool enabled);
  void StoreScale(platform::ui::DialogControls& controls);
  void UpdateFormItem(platform::ui::DialogControls& controls);
  void SelectCurrentForm(platform::ui::DialogControls& controls);
  void ChangeLanguage(platform::ui::DialogControls& controls);
  std::string Text(std::string_view key, std::string_view fallback, size_t room);
  host::OptItem* FormItem() const;

  uint8_t* record_;
  const DocumentPageContext& context_;
  PageTexts& texts_;
  MainPageServices services_;
  std::string printerName_;
};

}  // namespace mq::plugin
