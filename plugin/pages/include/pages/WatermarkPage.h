// The Water Mark page of the document sheet (template 131): no watermark, a picture watermark (the user's
// bitmap, normalised into the watermark picture file when it is chosen) or a text watermark (text, TrueType
// font, style, size and angle, rendered into that file on apply), with the position, size and brightness of
// both kinds and a live preview. Choosing a watermark turns print-as-graphics on; switching it off turns it
// off and tells the Main page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "MQ450UIResources.h"
#include "pages/MainPage.h"
#include "pages/PageTexts.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "platform/ui/DialogLogic.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Picture.h"

namespace mq::plugin {

inline constexpr int kWatermarkPageTemplate = IDD_WATERMARK_PAGE;

namespace watermark_page {
inline constexpr int kNone = IDC_WATERMARK_NONE;
inline constexpr int kPicture = IDC_WATERMARK_PICTURE;
inline constexpr int kBitmapLabel = IDC_WATERMARK_BITMAP_LABEL;
inline constexpr int kPath = IDC_WATERMARK_PATH;
inline constexpr int kBrowse = IDC_WATERMARK_BROWSE;
inline constexpr int kTextKind = IDC_WATERMARK_TEXT_KIND;
inline constexpr int kTextLabel = IDC_WATERMARK_TEXT_LABEL;
inline constexpr int kText = IDC_WATERMARK_TEXT;
inline constexpr int kFontLabel = IDC_WATERMARK_FONT_LABEL;
inline constexpr int kFont = IDC_WATERMARK_FONT;
inline constexpr int kStyleLabel = IDC_WATERMARK_STYLE_LABEL;
inline constexpr int kStyle = IDC_WATERMARK_STYLE;
inline constexpr int kFontSizeLabel = IDC_WATERMARK_FONT_SIZE_LABEL;
inline constexpr int kFontSize = IDC_WATERMARK_FONT_SIZE;
inline constexpr int kFontSizeUpDown = IDC_WATERMARK_FONT_SIZE_UPDOWN;
inline constexpr int kAngleLabel = IDC_WATERMARK_ANGLE_LABEL;
inline constexpr int kAngle = IDC_WATERMARK_ANGLE;
inline constexpr int kAngleValue = IDC_WATERMARK_ANGLE_VALUE;
inline constexpr int kPositionLabel = IDC_WATERMARK_POSITION_LABEL;
inline constexpr int kPosition = IDC_WATERMARK_POSITION;
inline constexpr int kSizeLabel = IDC_WATERMARK_SIZE_LABEL;
inline constexpr int kSize = IDC_WATERMARK_SIZE;
inline constexpr int kSizeValue = IDC_WATERMARK_SIZE_VALUE;
inline constexpr int kBrightnessLabel = IDC_WATERMARK_BRIGHTNESS_LABEL;
inline constexpr int kBrightness = IDC_WATERMARK_BRIGHTNESS;
inline constexpr int kBrightnessValue = IDC_WATERMARK_BRIGHTNESS_VALUE;
inline constexpr int kPreview = IDC_WATERMARK_PREVIEW;

// The preview box in pixels at the template's 86 x 132 dialog units with its 8-point font; the picture is
// stretched to the control's real size.
inline constexpr int kPreviewWidth = 129;
inline constexpr int kPreviewHeight = 214;
// Font sizes in points, and the most characters the text box takes: the record keeps 16 UTF-16 units with a
// terminating zero.
inline constexpr int kFontSizeMin = 8;
inline constexpr int kFontSizeMax = 72;
inline constexpr int kTextMaxCharacters = 15;
}  // namespace watermark_page

// The texts of the fixed text list, in order (not translated).
inline constexpr const char* kWatermarkTexts[] = {"CONFIDENTIAL", "DO NOT COPY", "TOP SECRET", "DRAFT",
                                                  "PROOF",        "FINAL",       "COPY",       "FILE COPY"};

// What the pages of all sheets share while the library is loaded: the picture loaded for the preview (read
// again once the path changes or a sheet was cancelled) and whether the missing-picture message was shown.
struct WatermarkShared {
  bool reload = true;
  bool missingShown = false;
  std::string loadedPath;
  std::optional<platform::ui::Picture> picture;  // the normalised picture, before brightness
};

struct WatermarkServices {
  platform::FileSystem& files;
  platform::SystemInfo& system;
  platform::ui::FileDialogs& dialogs;
  platform::ui::FontCatalog& fonts;
  platform::ui::TextPainter& painter;
  WatermarkOffSignal& watermarkOff;
  WatermarkShared& shared;
};

class WatermarkPage : public platform::ui::DialogLogic {
 public:
  // record is the host's settings record (never null); printerName names the picture file.
  WatermarkPage(uint8_t* record, std::string printerName, PageTexts& texts, WatermarkServices services);

  void OnInit(platform::ui::DialogControls& controls) override;
  void OnPaint(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  intptr_t OnSheetEvent(platform::ui::DialogControls& controls, platform::ui::SheetEvent event) override;

  // The watermark picture file: the temporary folder, the printer's name and "1.bmp".
  static std::string PictureFilePath(std::string_view tempFolder, std::string_view printerName);
  const platform::ui::Picture& Preview() const { return preview_; }

 private:
  void SetTexts(platform::ui::DialogControls& controls);
  // Fills a list with the texts of its entries and selects one.
  template <size_t N>
  void FillList(platform::ui::DialogControls& controls, int id, const TextKey (&entries)[N], int selection);
  void ShowError(platform::ui::DialogControls& controls, const char* key, const char* fallback);
  void EnableForMode(platform::ui::DialogControls& controls, int mode);
  void ChooseMode(platform::ui::DialogControls& controls, int mode);
  void Browse(platform::ui::DialogControls& controls);
  // Normalises the picture at path into the picture file; shows the message of a failure. Returns whether
  // the file was written.
  bool WritePictureFile(platform::ui::DialogControls& controls, const std::string& path);
  bool WriteTextFile(platform::ui::DialogControls& controls);
  // The text and the face the page shows, and the text square drawn with them and the record's settings.
  std::string ShownText(platform::ui::DialogControls& controls);
  std::string ShownFace(platform::ui::DialogControls& controls);
  std::optional<platform::ui::Picture> RenderTextSquare(platform::ui::DialogControls& controls);
  void StoreText(platform::ui::DialogControls& controls, bool typed);
  void FontSizeTyped(platform::ui::DialogControls& controls, bool leaving);
  void PositionChosen(platform::ui::DialogControls& controls);
  void SliderMoved(platform::ui::DialogControls& controls, int id, bool released);
  void ShowValue(platform::ui::DialogControls& controls, int slider);
  void Changed(platform::ui::DialogControls& controls);
  void UpdatePreview(platform::ui::DialogControls& controls);
  const platform::ui::Picture* LoadedPicture(platform::ui::DialogControls& controls);

  uint8_t* record_;
  std::string printerName_;
  PageTexts& texts_;
  WatermarkServices services_;
  platform::ui::Picture preview_;
};

}  // namespace mq::plugin
