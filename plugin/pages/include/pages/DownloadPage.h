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

#include "pages/LogoJob.h"
#include "pages/PageTexts.h"
#include "platform/FileSystem.h"
#include "platform/Spooler.h"
#include "platform/ui/DialogLogic.h"
#include "platform/ui/FileDialogs.h"

namespace mq::plugin {

inline constexpr int kDownloadPageTemplate = 113;

namespace download_page {
inline constexpr int kFileGroup = 1163;
inline constexpr int kFileInfo = 1146;
inline constexpr int kFilePath = 1039;
inline constexpr int kBrowse = 1040;
inline constexpr int kDownloadFile = 1036;
inline constexpr int kLogoGroup = 1164;
inline constexpr int kLogoList = 1041;
inline constexpr int kPreview = 1046;
inline constexpr int kPreviewGroup = 1165;
inline constexpr int kOriginal = 1087;
inline constexpr int kTransformation = 1061;
inline constexpr int kGray = 1088;
inline constexpr int kHalftoneGroup = 1166;
inline constexpr int kHalftoneNone = 1089;
inline constexpr int kDitherM3 = 1090;
inline constexpr int kDitherM4 = 1091;
inline constexpr int kErrorDiffuse = 1092;
inline constexpr int kAdjustGroup = 1167;
inline constexpr int kContrastLabel = 1147;
inline constexpr int kContrast = 1095;
inline constexpr int kContrastValue = 1096;
inline constexpr int kBrightnessLabel = 1148;
inline constexpr int kBrightness = 1083;
inline constexpr int kBrightnessValue = 1086;
inline constexpr int kAdd = 1042;
inline constexpr int kDelete = 1043;
inline constexpr int kDownloadAll = 1044;
inline constexpr int kClearAll = 1045;
inline constexpr int kNotice = 1149;
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
