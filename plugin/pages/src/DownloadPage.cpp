// The Download page: file download, the logo list with its settings, conversions, preview and the logo jobs.
#include "pages/DownloadPage.h"

#include <algorithm>
#include <new>

#include "imaging/BitmapReader.h"
#include "imaging/LogoConverter.h"
#include "imaging/LogoFiles.h"
#include "pages/InfoPages.h"
#include "pages/LogoPreview.h"
#include "platform/Text.h"
#include "platform/WinError.h"
#include "plugin/UiTexts.h"
#include "printer/RawJob.h"

namespace mq::plugin {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;
using platform::ui::SheetEvent;
using namespace download_page;

namespace {

constexpr const char* kSection = "DOWNLOAD";
constexpr const char* kMessages = "MessageBox";

constexpr ControlText kTexts[] = {
    {kFileGroup, {"RC_STATIC_FWDOWNLOAD", "File Download"}, kRoomShort},
    {kFileInfo,
     {"RC_STATIC_DOWN_INFO",
      "You can select various files to download to the printer, such as firmware files,font files"},
     kRoomLine},
    {kBrowse, {"RC_BROWSE_FIREWARE", "Browse"}, kRoomShort},
    {kDownloadFile, {"RC_DOWNLOAD_FIREWARE", "Download"}, kRoomShort},
    {kLogoGroup, {"RC_STATIC_LOGODOWNLOAD", "Logo Download"}, kRoomShort},
    {kPreviewGroup, {"RC_STATIC_PREVIEW", "Preview"}, kRoomShort},
    {kOriginal, {"RC_ORIGINAL", "Original"}, kRoomShort},
    {kTransformation, {"RC_MONO", "Transformation"}, kRoomShort},
    {kGray, {"RC_GRAY", "Gray"}, kRoomShort},
    {kHalftoneGroup, {"RC_STATIC_HALFTONE", "HalfTone"}, kRoomShort},
    {kHalftoneNone, {"RC_NONE", "None"}, kRoomShort},
    {kDitherM3, {"RC_DITHERM3", "Dither M3"}, kRoomShort},
    {kDitherM4, {"RC_DITHERM4", "Dither M4"}, kRoomShort},
    {kErrorDiffuse, {"RC_DIFFUSE", "Error Diffuse"}, kRoomShort},
    {kAdjustGroup, {"RC_STATIC_CONANDBRIGHT", "Contrast and Brightness"}, kRoomLabel},
    {kContrastLabel, {"RC_STATIC_CONTRA", "Contrast:"}, kRoomShort},
    {kBrightnessLabel, {"RC_STATIC_BRIGHT", "Brightness:"}, kRoomShort},
    {kAdd, {"RC_LOGO_ADD", "Add"}, kRoomShort},
    {kDelete, {"RC_LOGO_DELETE", "Delete"}, kRoomShort},
    {kDownloadAll, {"RC_LOGO_DOWNLOAD", "Download all"}, kRoomShort},
    {kClearAll, {"RC_LOGO_CLEARALLLOGOS", "Clear All Logos"}, kRoomShort},
    {kNotice,
     {"RC_STATIC_DOWNOWNLOAD_NOTICE", "Notice: Select the type of the logos before downloading."},
     kRoomLine},
};

struct Column {
  TextKey text;
  int width;
};
constexpr Column kColumns[] = {
    {{"RC_LOGOID", "ID"}, 40},
    {{"RC_LOGONAME", "Name"}, 150},
    {{"RC_LOGOPATH", "Path"}, 300},
};

constexpr TextKey kBrowseTitle = {"RC_BROWSEBOX", "Open"};

constexpr HelpText kHelpTexts[] = {
    {kFilePath, {"CTEXT_EDIT_FIREWARE", "Select the path of file that needs to be downloaded to printer."}},
    {kBrowse, {"CTEXT_BROWSE_FIREWARE", "Select the path of file that needs to be downloaded to printer."}},
    {kDownloadFile, {"CTEXT_DOWNLOAD_FIREWARE", "Download the selected file to printer."}},
    {kLogoList,
     {"CTEXT_LIST_LOGO",
      "List displays the Logo that will be downloaded to printer. Select one of the Logo, and the function "
      "in "
      "image edit area will be enabled, then you can edit the Logo according to different demands. "
      "Attention: "
      "the Logo should be edit in the same format, if you edit one of the Logo, then the format of other "
      "Logos "
      "in the list will also be edited."}},
    {kOriginal,
     {"CTEXT_ORIGINAL",
      "Provide preview of original logo image. Printer can receive Mono or gray scale logo, please select "
      "your "
      "needed image format before downloading."}},
    {kTransformation,
     {"CTEXT_MONO",
      "Transform the Logo image type to be Mono image. If the original logo is chromatic, you can adjust the "
      "half-tone, contrast and brightness."}},
    {kGray,
     {"CTEXT_GRAY",
      "Transform the Logo image type to be gray scale image. After selecting the gray scale image type, you "
      "can "
      "adjust the contrast and brightness."}},
    {kHalftoneNone,
     {"CTEXT_NONE",
      "Specify the dithering algorithm to be \u203Bno dithering\u00A7. Image will display different dot "
      "matrix "
      "effect according to different dithering algorithm selected."}},
    {kDitherM3,
     {"CTEXT_DITHERM3",
      "Specify the dithering algorithm to be \u203Bdithering M3\u00A7. Image will display different dot "
      "matrix "
      "effect according to different dithering algorithm selected."}},
    {kDitherM4,
     {"CTEXT_DITHERM4",
      "Specify the dithering algorithm to be \u203Bdithering M4\u00A7. Image will display different dot "
      "matrix "
      "effect according to different dithering algorithm selected."}},
    {kErrorDiffuse,
     {"CTEXT_DIFFUSE",
      "Specify the dithering algorithm to be \u203Berror diffusion\u00A7. Image will display different dot "
      "matrix effect according to different dithering algorithm selected."}},
    {kContrast,
     {"CTEXT_SLIDER_CONTRAST",
      "Set the image contrast. You can change the image contrast via dragging this slider, contrast is "
      "reduced "
      "if drag this slider to left and contrast is increased if drag this slider to right."}},
    {kBrightness,
     {"CTEXT_SLIDER_BRIGHTNESS",
      "Set the image brightness. You can change the image brightness via dragging this slider, brightness is "
      "dimming if drag this slider to left and brightness is brightened if drag this slider to right."}},
    {kAdd, {"CTEXT_LOGO_ADD", "Add one Logo to the list."}},
    {kDelete, {"CTEXT_LOGO_DELETE", "Delete one Logo from the list."}},
    {kDownloadAll,
     {"CTEXT_LOGO_DOWNLOAD",
      "Download the Logo in the list to printer. All Logos in the printer will be cleared before downloading "
      "this Logo, and all the Logo in the list will be downloaded to the printer in sequence. These Logos "
      "will "
      "not be cleared after printer is reset or powered off."}},
    {kClearAll, {"CTEXT_LOGO_CLEARALLLOGOS", "Clear all the Logos in printer."}},
};

constexpr int kModeRadios[] = {kOriginal, kTransformation, kGray};
constexpr int kHalftoneRadios[] = {kHalftoneNone, kDitherM3, kDitherM4, kErrorDiffuse};
constexpr int kAdjustmentRange = 100;
constexpr int kSliderPageStep = 20;

constexpr LogoSettings kMonoDefaults = {1, 0, 0};  // Dither M3
constexpr LogoSettings kPlainSettings = {0, 0, 0};

bool IsConvertibleDepth(int bits) {
  return bits == 24 || bits == 8;
}
bool IsGrayableDepth(int bits) {
  return bits == 24 || bits == 8 || bits == 1;
}

int DepthOf(std::span<const uint8_t> file) {
  std::optional<BitmapHeader> header = ReadBitmapHeader(file);
  return header && header->signature ? header->bitsPerPixel : 0;
}

std::string FileNameOf(const std::string& path) {
  const size_t at = path.find_last_of("\\/");
  return at == std::string::npos ? path : path.substr(at + 1);
}

}  // namespace

std::vector<platform::ui::FileType> DownloadPage::FileDownloadTypes(std::string_view languageFile) {
  struct Kind {
    const char* pattern;
    const char* english;
    const char* simplified;
    const char* traditional;
  };
  static constexpr Kind kKinds[] = {
      {"*.JK", "Firmware", "固件", "韌體"},    {"*.DAT", "Data", "数据", "資料"},
      {"*.FNT", "Font", "字体", "字型"},       {"*.ZK", "Font", "字库", "字庫"},
      {"*.EEP", "EEPROM", "EEPROM", "EEPROM"},
  };
  const bool simplified = text::EqualsNoCase(languageFile, kSimplifiedChineseFile);
  const bool traditional = text::EqualsNoCase(languageFile, kTraditionalChineseFile);
  std::vector<platform::ui::FileType> types;
  for (const Kind& k : kKinds) {
    const char* name = simplified ? k.simplified : traditional ? k.traditional : k.english;
    types.push_back({std::string(k.pattern) + "(" + name + ")", k.pattern});
  }
  return types;
}

void DownloadPage::OnInit(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  for (const Column& column : kColumns)
    controls.ListViewAddColumn(
        kLogoList, texts_.Read(kSection, column.text.key, column.text.fallback, kRoomShort), column.width);
  for (int slider : {kContrast, kBrightness}) {
    controls.SetRange(slider, -kAdjustmentRange, kAdjustmentRange);
    controls.SetTrackSteps(slider, 1, kSliderPageStep);
  }
  for (const HelpText& help : kHelpTexts)
    controls.SetToolTip(help.id, texts_.Read(kSection, help.text.key, help.text.fallback, kRoomHelp));
  SetTexts(controls);
  controls.Enable(kDownloadFile, false);
  controls.Enable(kDownloadAll, false);
  for (int radio : kModeRadios) controls.SetChecked(radio, radio == kOriginal);
  ShowSettings(controls, kPlainSettings);
  EnableAdjustments(controls, false, false);
  RefreshModeRadios(controls);
}

void DownloadPage::OnPaint(DialogControls& controls) {
  SetTexts(controls);
  ShowPreview(controls);
}

void DownloadPage::SetTexts(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  for (const ControlText& t : kTexts)
    controls.SetText(t.id, texts_.Read(kSection, t.text.key, t.text.fallback, t.room));
}

void DownloadPage::ShowError(DialogControls& controls, const char* key, const char* fallback) {
  texts_.ResolveCurrentLanguage();
  controls.ShowMessage(WithLineBreaks(texts_.Read(kMessages, key, fallback, kRoomHelp)),
                       texts_.Read(kMessages, "MB_ERROR", "Error", kRoomHelp), MessageIcon::kNone,
                       MessageButtons::kOk);
}

bool DownloadPage::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  if (id == kLogoList) {
    if (event != ControlEvent::kSelectionChanged) return false;
    RowSelected(controls);
    return true;
  }
  if (id == kContrast || id == kBrightness) {
    if (event != ControlEvent::kScrolled && event != ControlEvent::kScrollEnded) return false;
    SlidersMoved(controls, event == ControlEvent::kScrollEnded);
    return true;
  }
  if (event != ControlEvent::kClicked) return false;
  switch (id) {
    case kBrowse:
      Browse(controls);
      return true;
    case kDownloadFile:
      DownloadFile(controls);
      return true;
    case kAdd:
      AddLogo(controls);
      return true;
    case kDelete:
      DeleteLogo(controls);
      return true;
    case kOriginal:
      ChooseMode(controls, LogoMode::kOriginal);
      return true;
    case kTransformation:
      ChooseMode(controls, LogoMode::kTransformation);
      return true;
    case kGray:
      ChooseMode(controls, LogoMode::kGray);
      return true;
    case kHalftoneNone:
    case kDitherM3:
    case kDitherM4:
    case kErrorDiffuse:
      ChooseHalftone(controls,
                     static_cast<int>(std::find(std::begin(kHalftoneRadios), std::end(kHalftoneRadios), id) -
                                      std::begin(kHalftoneRadios)));
      return true;
    case kDownloadAll:
      DownloadAll(controls);
      return true;
    case kClearAll:
      ClearAllLogos();
      return true;
    default:
      return false;
  }
}

intptr_t DownloadPage::OnSheetEvent(DialogControls& controls, SheetEvent event) {
  if (event == SheetEvent::kApply) {
    DeleteIntermediates();
    controls.SheetSetResult(1);  // CPSUI_OK
    return 1;
  }
  if (event == SheetEvent::kQueryCancel) DeleteIntermediates();
  return 0;
}

// --- File download ---

void DownloadPage::Browse(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  std::optional<std::string> path = services_.dialogs.ChooseFileToOpen(
      texts_.Read(kSection, kBrowseTitle.key, kBrowseTitle.fallback, kRoomShort),
      FileDownloadTypes(texts_.CurrentLanguageFile()));
  if (!path) return;
  controls.SetText(kFilePath, *path);
  controls.Enable(kDownloadFile, true);
}

void DownloadPage::DownloadFile(DialogControls& controls) {
  const std::string path = controls.GetText(kFilePath);
  if (path.empty()) return;
  std::vector<platform::FileFindData> found;
  const uint32_t sizeError = services_.files.FindFiles(path, &found);
  if (sizeError == err::kFileNotFound || sizeError == err::kPathNotFound)
    return ShowError(controls, "MB_DOWNLOAD_ERROR1", "Fail to open the selected file!");
  if (sizeError != 0 || found.size() != 1 || (found[0].attributes & platform::kFileAttributeDirectory) != 0)
    return ShowError(controls, "MB_DOWNLOAD_ERROR8", "Failed to get the size of the selected file!");
  const uint64_t size = found[0].size;
  // One block of WritePrinter carries at most 4 GiB - 1 bytes.
  if (size > 0xFFFFFFFFu)
    return ShowError(controls, "MB_DOWNLOAD_ERROR9", "Failed to Alloc the required memory!");
  std::vector<uint8_t> bytes;
  uint32_t readError = 0;
  try {
    readError = services_.files.ReadAll(path, &bytes);
  } catch (const std::bad_alloc&) {
    return ShowError(controls, "MB_DOWNLOAD_ERROR9", "Failed to Alloc the required memory!");
  }
  if (readError == err::kFileNotFound || readError == err::kPathNotFound || readError == err::kAccessDenied ||
      readError == err::kSharingViolation)
    return ShowError(controls, "MB_DOWNLOAD_ERROR1", "Fail to open the selected file!");
  // A file that changed size since it was measured is not what the user chose to send: nothing of it goes.
  if (readError != 0 || bytes.size() != size)
    return ShowError(controls, "MB_DOWNLOAD_ERROR2", "Failed to get data from the file!");
  const std::vector<std::vector<uint8_t>> blocks = {std::move(bytes)};
  SendRawJob(services_.spooler, services_.printer, job_name::kFileDownload, blocks);
}

// --- The logo list ---

int DownloadPage::SelectedRow(DialogControls& controls) const {
  const int row = controls.ListViewSelection(kLogoList);
  return row >= 0 && static_cast<size_t>(row) < paths_.size() ? row : -1;
}

void DownloadPage::RefreshModeRadios(DialogControls& controls) {
  const bool enabled = !paths_.empty() && SelectedRow(controls) >= 0;
  for (int radio : kModeRadios) controls.Enable(radio, enabled);
}

void DownloadPage::ShowSettings(DialogControls& controls, const LogoSettings& settings) {
  controls.SetPosition(kContrast, settings.contrast);
  controls.SetPosition(kBrightness, settings.brightness);
  controls.SetText(kContrastValue, std::to_string(settings.contrast));
  controls.SetText(kBrightnessValue, std::to_string(settings.brightness));
  for (int k = 0; k < 4; ++k) controls.SetChecked(kHalftoneRadios[k], k == settings.halftone);
}

void DownloadPage::EnableAdjustments(DialogControls& controls, bool halftones, bool sliders) {
  for (int radio : kHalftoneRadios) controls.Enable(radio, halftones);
  controls.Enable(kContrast, sliders);
  controls.Enable(kBrightness, sliders);
}

void DownloadPage::AddLogo(DialogControls& controls) {
  if (paths_.size() >= kMaxLogos) {
    texts_.ResolveCurrentLanguage();
    controls.ShowMessage(WithLineBreaks(texts_.Read(
                             kMessages, "MB_DOWNLOAD_ERROR4",
                             "The total counts of the logos is 9,\nplease delete some logos before selecting "
                             "another logo!",
                             kRoomHelp)),
                         texts_.Read(kMessages, "MB_INFORMATION", "Information", kRoomHelp),
                         MessageIcon::kInformation, MessageButtons::kOk);
    return;
  }
  texts_.ResolveCurrentLanguage();
  std::optional<std::string> path = services_.dialogs.ChooseFileToOpen(
      texts_.Read(kSection, kBrowseTitle.key, kBrowseTitle.fallback, kRoomShort), {{"*.bmp", "*.bmp"}});
  if (!path) return;
  std::optional<std::vector<uint8_t>> source = ReadFile(*path);
  if (!source) return ShowError(controls, "MB_DOWNLOAD_ERROR1", "Fail to open the selected file!");
  std::optional<BitmapHeader> header = ReadBitmapHeader(*source);
  if (!header) return ShowError(controls, "MB_DOWNLOAD_ERROR2", "Failed to get data from the file!");
  if (header->width > imaging::kMaxWidth || header->height > imaging::kMaxHeight)
    return ShowError(
        controls, "MB_DOWNLOAD_ERROR3",
        "The image is too big to be selected.\nthe width must be less than 1024 Byte,and the height "
        "must be less than 768 Byte!");
  // A bitmap of a usable depth whose header promises more pixels than the file holds could never become a
  // logo: refused now rather than when the printer is half-way through the definition.
  imaging::Bitmap bitmap;
  if (IsGrayableDepth(header->bitsPerPixel) &&
      imaging::ReadBitmap(*source, &bitmap) == imaging::Status::kTruncated)
    return ShowError(controls, "MB_DOWNLOAD_ERROR2", "Failed to get data from the file!");
  if (mode_ != LogoMode::kOriginal && !header->signature) return;

  const size_t row = paths_.size();
  paths_.push_back(*path);
  const LogoSettings settings = mode_ == LogoMode::kTransformation ? kMonoDefaults : kPlainSettings;
  bool keep = true;
  switch (mode_) {
    case LogoMode::kTransformation:
      if (IsConvertibleDepth(header->bitsPerPixel)) MakeIntermediate(row, *source, false, settings);
      break;
    case LogoMode::kGray:
      keep =
          IsGrayableDepth(header->bitsPerPixel) && MakeIntermediate(row, *source, true, settings).has_value();
      break;
    case LogoMode::kOriginal:
      if (IsConvertibleDepth(header->bitsPerPixel)) MakeIntermediate(row, *source, false, kPlainSettings);
      break;
  }
  if (!keep) {
    paths_.pop_back();
    return;
  }
  settings_[row] = settings;
  controls.ListViewAddRow(kLogoList, {std::to_string(row + 1), FileNameOf(*path), *path});
  controls.Focus(kLogoList);
  RefreshModeRadios(controls);
}

void DownloadPage::DeleteLogo(DialogControls& controls) {
  const int selected = SelectedRow(controls);
  if (selected < 0) return;
  const size_t row = static_cast<size_t>(selected);
  DeleteIntermediate(row);
  paths_.erase(paths_.begin() + selected);
  std::move(settings_.begin() + selected + 1, settings_.end(), settings_.begin() + selected);
  settings_.back() = LogoSettings{};
  // The list is rebuilt with the IDs renumbered 1..n; the deleted row took the selection with it.
  controls.ListViewClear(kLogoList);
  for (size_t i = 0; i < paths_.size(); ++i)
    controls.ListViewAddRow(kLogoList, {std::to_string(i + 1), FileNameOf(paths_[i]), paths_[i]});
  RefreshModeRadios(controls);
  ShowPreview(controls);
}

void DownloadPage::RowSelected(DialogControls& controls) {
  const int row = SelectedRow(controls);
  RefreshModeRadios(controls);
  if (row >= 0) ShowSettings(controls, settings_[static_cast<size_t>(row)]);
  ShowPreview(controls);
}

void DownloadPage::ChooseMode(DialogControls& controls, LogoMode mode) {
  for (int k = 0; k < 3; ++k) controls.SetChecked(kModeRadios[k], k == static_cast<int>(mode));
  if (mode == LogoMode::kOriginal) {
    mode_ = mode;
    controls.Enable(kDownloadAll, false);
    settings_.fill(kPlainSettings);
    ShowSettings(controls, kPlainSettings);
    ShowPreview(controls);
    return;
  }
  DeleteIntermediates();
  mode_ = mode;
  if (!paths_.empty()) controls.Enable(kDownloadAll, true);
  const bool gray = mode == LogoMode::kGray;
  const LogoSettings settings = gray ? kPlainSettings : kMonoDefaults;
  for (size_t row = 0; row < paths_.size(); ++row) {
    settings_[row] = settings;
    MakeIntermediate(row, gray, settings);
  }
  ShowSettings(controls, settings);
  ShowPreview(controls);
}

void DownloadPage::ChooseHalftone(DialogControls& controls, int halftone) {
  const int row = SelectedRow(controls);
  if (row < 0) return;
  settings_[static_cast<size_t>(row)].halftone = halftone;
  for (int k = 0; k < 4; ++k) controls.SetChecked(kHalftoneRadios[k], k == halftone);
  ShowPreview(controls);
}

void DownloadPage::SlidersMoved(DialogControls& controls, bool released) {
  const int contrast = controls.Position(kContrast);
  const int brightness = controls.Position(kBrightness);
  controls.SetText(kContrastValue, std::to_string(contrast));
  controls.SetText(kBrightnessValue, std::to_string(brightness));
  const int row = SelectedRow(controls);
  if (row >= 0) {
    settings_[static_cast<size_t>(row)].contrast = contrast;
    settings_[static_cast<size_t>(row)].brightness = brightness;
    ShowPreview(controls);
  }
  if (released) controls.SheetChanged();
}

void DownloadPage::ShowPreview(DialogControls& controls) {
  const int selected = SelectedRow(controls);
  platform::ui::Picture picture;
  if (selected >= 0) {
    const size_t row = static_cast<size_t>(selected);
    std::optional<std::vector<uint8_t>> source = ReadFile(paths_[row]);
    const int depth = source ? DepthOf(*source) : 0;
    std::optional<std::vector<uint8_t>> shown;
    switch (mode_) {
      case LogoMode::kTransformation:
        if (source && IsConvertibleDepth(depth)) {
          EnableAdjustments(controls, true, true);
          shown = MakeIntermediate(row, *source, false, settings_[row]);
        } else {
          EnableAdjustments(controls, false, false);
          shown = std::move(source);
        }
        break;
      case LogoMode::kGray:
        EnableAdjustments(controls, false, true);
        if (source && IsGrayableDepth(depth)) shown = MakeIntermediate(row, *source, true, settings_[row]);
        break;
      case LogoMode::kOriginal:
        EnableAdjustments(controls, false, false);
        shown = std::move(source);
        break;
    }
    if (shown) picture = BitmapPicture(*shown);
  }
  if (picture == shown_) return;
  shown_ = picture;
  controls.SetPicture(kPreview, shown_);
}

// --- The logo jobs ---

void DownloadPage::DownloadAll(DialogControls& controls) {
  if (paths_.empty()) return ShowError(controls, "MB_DOWNLOAD_ERROR5", "Please select logos first!");
  if (mode_ == LogoMode::kOriginal) return;
  const bool gray = mode_ == LogoMode::kGray;
  // Rows whose intermediate is gone (deleted when the sheet was applied) get it made again with their own
  // settings, so that what is measured and sent is what the rows say.
  std::vector<int> depths(paths_.size(), 0);
  for (size_t row = 0; row < paths_.size(); ++row) {
    std::optional<std::vector<uint8_t>> source = ReadFile(paths_[row]);
    depths[row] = source ? DepthOf(*source) : 0;
    const bool needsIntermediate = gray ? IsGrayableDepth(depths[row]) : IsConvertibleDepth(depths[row]);
    const std::optional<std::string> intermediate = imaging::IntermediatePath(paths_[row]);
    if (source && needsIntermediate && intermediate && !FileSize(*intermediate))
      MakeIntermediate(row, *source, gray, settings_[row]);
  }
  uint64_t total = 0;
  for (size_t row = 0; row < paths_.size(); ++row) {
    const std::optional<std::string> intermediate = imaging::IntermediatePath(paths_[row]);
    std::optional<uint64_t> size = intermediate ? FileSize(*intermediate) : std::nullopt;
    if (!size) size = FileSize(paths_[row]);
    if (!size) return ShowError(controls, "MB_DOWNLOAD_ERROR6", "Failed to get the size of logo!");
    total += *size;
  }
  if (total >= kLogoBytesLimit)
    return ShowError(controls, "MB_DOWNLOAD_ERROR7", "The total sizes of all the logos is greater 96K!");

  const LogoJobBlocks job = BuildLogoDefinition(mode_, paths_.size(), [&](size_t row) {
    const std::string& source = paths_[row];
    if (!gray && depths[row] == 1) return ReadFile(source);
    const std::optional<std::string> intermediate = imaging::IntermediatePath(source);
    return intermediate ? ReadFile(*intermediate) : std::nullopt;
  });
  SendRawJob(services_.spooler, services_.printer, job_name::kLogo, job.blocks);
}

void DownloadPage::ClearAllLogos() {
  SendRawJob(services_.spooler, services_.printer, job_name::kClearLogos, ClearLogosBlocks());
}

// --- Files ---

std::optional<std::vector<uint8_t>> DownloadPage::ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (services_.files.ReadAll(path, &bytes) != 0) return std::nullopt;
  return bytes;
}

std::optional<std::vector<uint8_t>> DownloadPage::MakeIntermediate(size_t row,
                                                                   std::span<const uint8_t> source, bool gray,
                                                                   const LogoSettings& settings) {
  const std::optional<std::string> target = imaging::IntermediatePath(paths_[row]);
  if (!target || !imaging::IsValidHalftone(settings.halftone)) return std::nullopt;
  std::vector<uint8_t> output;
  const imaging::Status status =
      gray ? imaging::MakeGrayBitmap(source, settings.contrast, settings.brightness, &output)
           : imaging::MakeMonoBitmap(source, static_cast<imaging::Halftone>(settings.halftone),
                                     settings.contrast, settings.brightness, &output);
  if (status != imaging::Status::kOk) return std::nullopt;
  // Written beside the target and moved over it, so a failed write never leaves half a file.
  const std::string partial = *target + ".part";
  if (services_.files.WriteAll(partial, output) != 0) {
    services_.files.Delete(partial);
    return std::nullopt;
  }
  if (services_.files.Move(partial, *target, platform::kMoveFileReplaceExisting) != 0) {
    services_.files.Delete(partial);
    return std::nullopt;
  }
  return output;
}

std::optional<std::vector<uint8_t>> DownloadPage::MakeIntermediate(size_t row, bool gray,
                                                                   const LogoSettings& settings) {
  std::optional<std::vector<uint8_t>> source = ReadFile(paths_[row]);
  if (!source) return std::nullopt;
  const int depth = DepthOf(*source);
  if (gray ? !IsGrayableDepth(depth) : !IsConvertibleDepth(depth)) return std::nullopt;
  return MakeIntermediate(row, *source, gray, settings);
}

std::optional<uint64_t> DownloadPage::FileSize(const std::string& path) {
  std::vector<platform::FileFindData> found;
  if (services_.files.FindFiles(path, &found) != 0 || found.size() != 1 ||
      (found[0].attributes & platform::kFileAttributeDirectory) != 0)
    return std::nullopt;
  return found[0].size;
}

void DownloadPage::DeleteIntermediate(size_t row) {
  if (std::optional<std::string> intermediate = imaging::IntermediatePath(paths_[row]))
    services_.files.Delete(*intermediate);
}

void DownloadPage::DeleteIntermediates() {
  for (size_t row = 0; row < paths_.size(); ++row) DeleteIntermediate(row);
}

}  // namespace mq::plugin
