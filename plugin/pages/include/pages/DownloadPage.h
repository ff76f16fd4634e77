// The Download page of the device sheet (template 113). File Download sends a firmware, data, font or EEPROM
// file to the printer unchanged; Logo Download keeps up to nine bitmaps with a settings record each, converts
// them (mono with a halftone, or 16-level gray, with contrast and brightness) into intermediate files beside
// their sources, previews the selected one, and defines all of them in the printer in one job; Clear All
// Logos erases the printer's logos. The intermediate files live only while the page is open.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "MQ450UIResources.h"
#include "pages/LogoJob.h"
#include "pages/PageTexts.h"
#include "platform/FileSystem.h"
#include "platform/Spooler.h"
#include "platform/ui/DialogLogic.h"
#include "platform/ui/FileDialogs.h"

namespace mq::plugin {

inline constexpr int kDownloadPageTemplate = IDD_DOWNLOAD_PAGE;

namespace download_page {
inline constexpr int kFileGroup = IDC_DOWNLOAD_FILE_GROUP;
inline constexpr int kFileInfo = IDC_DOWNLOAD_FILE_INFO;
inline constexpr int kFilePath = IDC_DOWNLOAD_FILE_PATH;
inline constexpr int kBrowse = IDC_DOWNLOAD_BROWSE;
inline constexpr int kDownloadFile = IDC_DOWNLOAD_DOWNLOAD_FILE;
inline constexpr int kLogoGroup = IDC_DOWNLOAD_LOGO_GROUP;
inline constexpr int kLogoList = IDC_DOWNLOAD_LOGO_LIST;
inline constexpr int kPreview = IDC_DOWNLOAD_PREVIEW;
inline constexpr int kPreviewGroup = IDC_DOWNLOAD_PREVIEW_GROUP;
inline constexpr int kOriginal = IDC_DOWNLOAD_ORIGINAL;
inline constexpr int kTransformation = IDC_DOWNLOAD_TRANSFORMATION;
inline constexpr int kGray = IDC_DOWNLOAD_GRAY;
inline constexpr int kHalftoneGroup = IDC_DOWNLOAD_HALFTONE_GROUP;
inline constexpr int kHalftoneNone = IDC_DOWNLOAD_HALFTONE_NONE;
inline constexpr int kDitherM3 = IDC_DOWNLOAD_DITHER_M3;
inline constexpr int kDitherM4 = IDC_DOWNLOAD_DITHER_M4;
inline constexpr int kErrorDiffuse = IDC_DOWNLOAD_ERROR_DIFFUSE;
inline constexpr int kAdjustGroup = IDC_DOWNLOAD_ADJUST_GROUP;
inline constexpr int kContrastLabel = IDC_DOWNLOAD_CONTRAST_LABEL;
inline constexpr int kContrast = IDC_DOWNLOAD_CONTRAST;
inline constexpr int kContrastValue = IDC_DOWNLOAD_CONTRAST_VALUE;
inline constexpr int kBrightnessLabel = IDC_DOWNLOAD_BRIGHTNESS_LABEL;
inline constexpr int kBrightness = IDC_DOWNLOAD_BRIGHTNESS;
inline constexpr int kBrightnessValue = IDC_DOWNLOAD_BRIGHTNESS_VALUE;
inline constexpr int kAdd = IDC_DOWNLOAD_ADD;
inline constexpr int kDelete = IDC_DOWNLOAD_DELETE;
inline constexpr int kDownloadAll = IDC_DOWNLOAD_DOWNLOAD_ALL;
inline constexpr int kClearAll = IDC_DOWNLOAD_CLEAR_ALL;
inline constexpr int kNotice = IDC_DOWNLOAD_NOTICE;
}  // namespace download_page

// What the page reaches outside itself: the files, the printer of the sheet, and the file chooser.
struct DownloadServices {
  platform::FileSystem& files;
  platform::Spooler& spooler;
  platform::PrinterHandle printer;
  platform::ui::FileDialogs& dialogs;
};

class DownloadPage : public platform::ui::DialogLogic {
 public:
  DownloadPage(PageTexts& texts, DownloadServices services) : texts_(texts), services_(services) {}

  void OnInit(platform::ui::DialogControls& controls) override;
  void OnPaint(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  // Apply reports success to the host; Apply and Cancel delete every logo's intermediate file.
  intptr_t OnSheetEvent(platform::ui::DialogControls& controls, platform::ui::SheetEvent event) override;

  LogoMode Mode() const { return mode_; }
  const std::vector<std::string>& LogoPaths() const { return paths_; }
  const LogoSettings& SettingsOf(size_t row) const { return settings_.at(row); }

  // The file types Browse offers with the given language file in force (Chinese descriptions for the
  // simplified and traditional Chinese files, English for every other).
  static std::vector<platform::ui::FileType> FileDownloadTypes(std::string_view languageFile);

 private:
  void SetTexts(platform::ui::DialogControls& controls);
  void ShowError(platform::ui::DialogControls& controls, const char* key, const char* fallback);

  void Browse(platform::ui::DialogControls& controls);
  void DownloadFile(platform::ui::DialogControls& controls);
  void AddLogo(platform::ui::DialogControls& controls);
  void DeleteLogo(platform::ui::DialogControls& controls);
  void RowSelected(platform::ui::DialogControls& controls);
  void ChooseMode(platform::ui::DialogControls& controls, LogoMode mode);
  void ChooseHalftone(platform::ui::DialogControls& controls, int halftone);
  void SlidersMoved(platform::ui::DialogControls& controls, bool released);
  void DownloadAll(platform::ui::DialogControls& controls);
  void ClearAllLogos();

  // The selected row, or -1.
  int SelectedRow(platform::ui::DialogControls& controls) const;
  void RefreshModeRadios(platform::ui::DialogControls& controls);
  void ShowSettings(platform::ui::DialogControls& controls, const LogoSettings& settings);
  void ShowPreview(platform::ui::DialogControls& controls);
  void EnableAdjustments(platform::ui::DialogControls& controls, bool halftones, bool sliders);

  // The row's source file, or nothing when it cannot be read.
  std::optional<std::vector<uint8_t>> ReadFile(const std::string& path);
  // Writes the row's intermediate of the given kind (mono with its halftone, or gray) from the source bytes;
  // returns the intermediate's bytes when it was written.
  std::optional<std::vector<uint8_t>> MakeIntermediate(size_t row, std::span<const uint8_t> source, bool gray,
                                                       const LogoSettings& settings);
  // The same, reading the row's source first; nothing when the source is unreadable or not convertible.
  std::optional<std::vector<uint8_t>> MakeIntermediate(size_t row, bool gray, const LogoSettings& settings);
  // The file's size, or nothing when it cannot be measured.
  std::optional<uint64_t> FileSize(const std::string& path);
  void DeleteIntermediate(size_t row);
  void DeleteIntermediates();

  PageTexts& texts_;
  DownloadServices services_;
  std::vector<std::string> paths_;  // the listed logos' source files, row order
  std::array<LogoSettings, kMaxLogos> settings_{};
  LogoMode mode_ = LogoMode::kOriginal;
  platform::ui::Picture shown_;  // what the preview box shows, so that an unchanged picture is not set again
};

}  // namespace mq::plugin
