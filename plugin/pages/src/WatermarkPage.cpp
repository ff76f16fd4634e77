// The Water Mark page's logic.
#include "pages/WatermarkPage.h"

#include <algorithm>
#include <cstdlib>

#include "pages/InfoPages.h"
#include "platform/Text.h"
#include "plugin/PrivateSettings.h"
#include "watermark/TextWatermark.h"
#include "watermark/WatermarkPicture.h"
#include "watermark/WatermarkPlacement.h"

namespace mq::plugin {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;
using platform::ui::Picture;
using platform::ui::SheetEvent;
using namespace watermark_page;
namespace field = settings;

namespace {

constexpr const char* kSection = "WATERMARK";
constexpr const char* kMessages = "MessageBox";
constexpr intptr_t kCpsuiOkResult = 1;

enum Mode : uint8_t { kModeNone = 0, kModePicture = 1, kModeText = 2 };

constexpr ControlText kTexts[] = {
    {kNone, {"RC_RADIO_NO", "No Water Mark"}, kRoomShort},
    {kPicture, {"RC_RADIO_IMAGE", "Image Water Mark"}, kRoomShort},
    {kBitmapLabel, {"RC_STATIC_WATERMARK_BMP", "Bitmap:"}, kRoomShort},
    {kBrowse, {"RC_SELECT_PICTURE", "Browse..."}, kRoomShort},
    {kTextKind, {"RC_RADIO_TEXT", "Text Water Mark"}, kRoomShort},
    {kTextLabel, {"RC_STATIC_WATERMARK_TEXT", "Text:"}, kRoomShort},
    {kFontLabel, {"RC_STATIC_WATERMARK_FONTTYPE", "Font Type:"}, kRoomShort},
    {kStyleLabel, {"RC_STATIC_WATERMARK_FONTSTYLE", "Font Style:"}, kRoomShort},
    {kFontSizeLabel, {"RC_STATIC_WATERMARK_FONTSIZE", "Font Size:"}, kRoomShort},
    {kAngleLabel, {"RC_STATIC_WATERMARK_ANGLE", "Angle:"}, kRoomShort},
    {kPositionLabel, {"RC_STATIC_WATERMARK_POSITION", "Print Position:"}, kRoomShort},
    {kSizeLabel, {"RC_STATIC_WATERMARK_SIZE", "Size:"}, kRoomShort},
    {kBrightnessLabel, {"RC_STATIC_WATERMARK_BRIGHTNESS", "Brightness:"}, kRoomShort},
};

constexpr const char* kWatermarkHelp =
    "Whether to use watermark printing function. Watermark printing is not used if this item is selected.";
constexpr HelpText kHelp[] = {
    {kNone, {"CTEXT_RADIO_NO", kWatermarkHelp}},
    {kPicture,
     {"CTEXT_RADIO_IMAGE",
      "'Whether to use watermark printing function. Please select one bitmap to be as watermark of printing "
      "if this item is selected."}},
    {kPath, {"CTEXT_PICTURE_NAME", "Select the path of watermark bitmap."}},
    {kBrowse, {"CTEXT_SELECT_PICTURE", "Select the path of watermark bitmap."}},
    {kTextKind,
     {"CTEXT_RADIO_TEXT",
      "Whether to use watermark printing function. Please select one text to be as watermark of printing if "
      "this item is selected."}},
    {kText, {"CTEXT_COMBO_TEXT", "Select or edit the text used as watermark."}},
    {kFont, {"CTEXT_COMBO_FONTTYPE", "Set the font type of text used as watermark."}},
    {kStyle, {"CTEXT_COMBO_FONTSTYLE", "Set the font style of text used as watermark."}},
    {kFontSize, {"CTEXT_EDIT_FONTSIZE", "Set the font size of text used as watermark."}},
    {kAngle, {"CTEXT_SLIDER_ANGLE", "Set the rotation angle of text used as watermark."}},
    {kPosition, {"CTEXT_COMBO_POSITION", "Set the print position of watermark."}},
    {kSize, {"CTEXT_SLIDER_SIZE", "Set the zoom size of watermark."}},
    {kBrightness, {"CTEXT_SLIDER_LIGHT", "Set the brightness of watermark."}},
};

constexpr TextKey kPositions[] = {
    {"RC_STATIC_WATERMARK_POSITION1", "Left-Top"},      {"RC_STATIC_WATERMARK_POSITION2", "Center-Top"},
    {"RC_STATIC_WATERMARK_POSITION3", "Right-Top"},     {"RC_STATIC_WATERMARK_POSITION4", "Left-Middle"},
    {"RC_STATIC_WATERMARK_POSITION5", "Center-Middle"}, {"RC_STATIC_WATERMARK_POSITION6", "Right-Middle"},
    {"RC_STATIC_WATERMARK_POSITION7", "Left-Bottom"},   {"RC_STATIC_WATERMARK_POSITION8", "Center-Bottom"},
    {"RC_STATIC_WATERMARK_POSITION9", "Right-Bottom"},  {"RC_STATIC_WATERMARK_POSITION10", "Tiled"},
};
static_assert(std::size(kPositions) == watermark::kPositionCount);

constexpr TextKey kStyles[] = {
    {"RC_STATIC_WATERMARK_FONTSTYLE1", "Regular"},
    {"RC_STATIC_WATERMARK_FONTSTYLE2", "Italic"},
    {"RC_STATIC_WATERMARK_FONTSTYLE3", "Bold"},
    {"RC_STATIC_WATERMARK_FONTSTYLE4", "Bold Italic"},
};

// The controls each kind enables; the three at the end serve both.
constexpr int kPictureControls[] = {kBitmapLabel, kPath, kBrowse};
constexpr int kTextControls[] = {kTextLabel,      kText,       kFontLabel,     kFont,
                                 kStyleLabel,     kStyle,      kFontSizeLabel, kFontSize,
                                 kFontSizeUpDown, kAngleLabel, kAngle,         kAngleValue};
constexpr int kCommonControls[] = {kPositionLabel, kPosition,        kSizeLabel,  kSize,
                                   kSizeValue,     kBrightnessLabel, kBrightness, kBrightnessValue};

struct Slider {
  int id;
  int value;
  int minimum;
  int maximum;
};

long ReadNumber(const std::string& text) {
  return std::strtol(text.c_str(), nullptr, 10);
}

}  // namespace

WatermarkPage::WatermarkPage(uint8_t* record, std::string printerName, PageTexts& texts,
                             WatermarkServices services)
    : record_(record), printerName_(std::move(printerName)), texts_(texts), services_(services) {}

std::string WatermarkPage::PictureFilePath(std::string_view tempFolder, std::string_view printerName) {
  // The system's temporary folder ends with a backslash already; the name goes after exactly one.
  std::string path(tempFolder);
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + std::string(printerName) + "1.bmp";
}

void WatermarkPage::SetTexts(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  for (const ControlText& t : kTexts)
    controls.SetText(t.id, texts_.Read(kSection, t.text.key, t.text.fallback, t.room));
}

void WatermarkPage::ShowError(DialogControls& controls, const char* key, const char* fallback) {
  texts_.ResolveCurrentLanguage();
  controls.ShowMessage(WithLineBreaks(texts_.Read(kMessages, key, fallback, kRoomHelp)),
                       texts_.Read(kMessages, "MB_ERROR", "Error", kRoomHelp), MessageIcon::kError,
                       MessageButtons::kOk);
}

void WatermarkPage::OnInit(DialogControls& controls) {
  SetTexts(controls);
  for (const HelpText& h : kHelp)
    controls.SetToolTip(h.id, texts_.Read(kSection, h.text.key, h.text.fallback, kRoomHelp));

  const int mode = field::kWatermarkMode.Get(record_);
  controls.SetChecked(kNone, mode == kModeNone);
  controls.SetChecked(kPicture, mode == kModePicture);
  controls.SetChecked(kTextKind, mode == kModeText);
  controls.SetText(kPath, text::Utf16ToUtf8(field::kWatermarkBitmapPath.Get(record_)));

  controls.ClearItems(kText);
  for (const char* t : kWatermarkTexts) controls.AddItem(kText, t);
  controls.SetTextLimit(kText, kTextMaxCharacters);
  const std::string text = text::Utf16ToUtf8(field::kWatermarkText.Get(record_));
  if (text.empty())
    controls.SetSelection(kText, 0);
  else
    controls.SetText(kText, text);

  controls.ClearItems(kFont);
  for (const std::string& family : services_.fonts.TrueTypeFamilies()) controls.AddItem(kFont, family);
  const std::string face = text::Utf16ToUtf8(field::kWatermarkFontFace.Get(record_));
  int chosen = 0;
  for (int i = 0; i < controls.ItemCount(kFont); ++i)
    if (text::EqualsNoCase(controls.ItemText(kFont, i), face)) chosen = i;
  controls.SetSelection(kFont, controls.ItemCount(kFont) > 0 ? chosen : -1);

  FillList(controls, kStyle, kStyles, std::min<int>(field::kWatermarkFontStyle.Get(record_), 3));

  const int points = std::clamp<int>(field::kWatermarkFontSize.Get(record_), kFontSizeMin, kFontSizeMax);
  controls.SetTextLimit(kFontSize, 2);
  controls.SetRange(kFontSizeUpDown, kFontSizeMin, kFontSizeMax);
  controls.SetPosition(kFontSizeUpDown, points);
  controls.SetText(kFontSize, std::to_string(points));

  const int position = std::min<int>(field::kWatermarkPosition.Get(record_), watermark::kTiled);
  FillList(controls, kPosition, kPositions, position);

  const int sizeMinimum = position == watermark::kTiled ? watermark::kTiledMinimumSize : 0;
  for (const Slider& s : {Slider{kAngle, field::kWatermarkAngle.Get(record_), 0, 360},
                          Slider{kSize, field::kWatermarkSize.Get(record_), sizeMinimum, 100},
                          Slider{kBrightness, field::kWatermarkBrightness.Get(record_), 0, 255}}) {
    controls.SetRange(s.id, s.minimum, s.maximum);
    controls.SetPosition(s.id, std::clamp(s.value, s.minimum, s.maximum));
    ShowValue(controls, s.id);
  }
  EnableForMode(controls, mode);
  UpdatePreview(controls);
}

template <size_t N>
void WatermarkPage::FillList(DialogControls& controls, int id, const TextKey (&entries)[N], int selection) {
  controls.ClearItems(id);
  for (const TextKey& e : entries) controls.AddItem(id, texts_.Read(kSection, e.key, e.fallback, kRoomShort));
  controls.SetSelection(id, selection);
}

void WatermarkPage::OnPaint(DialogControls& controls) {
  SetTexts(controls);
  // A language chosen meanwhile: the style and position lists are read again, their choices kept.
  if (controls.ItemText(kStyle, 0) !=
          texts_.Read(kSection, kStyles[0].key, kStyles[0].fallback, kRoomShort) ||
      controls.ItemText(kPosition, 0) !=
          texts_.Read(kSection, kPositions[0].key, kPositions[0].fallback, kRoomShort)) {
    FillList(controls, kStyle, kStyles, controls.Selection(kStyle));
    FillList(controls, kPosition, kPositions, controls.Selection(kPosition));
  }
  // A sheet cancelled meanwhile asks for the picture to be read again.
  if (services_.shared.reload && field::kWatermarkMode.Get(record_) == kModePicture) UpdatePreview(controls);
}

void WatermarkPage::ShowValue(DialogControls& controls, int slider) {
  const int label = slider == kAngle ? kAngleValue : slider == kSize ? kSizeValue : kBrightnessValue;
  controls.SetText(label, std::to_string(controls.Position(slider)));
}

void WatermarkPage::EnableForMode(DialogControls& controls, int mode) {
  for (int id : kPictureControls) controls.Enable(id, mode == kModePicture);
  for (int id : kTextControls) controls.Enable(id, mode == kModeText);
  for (int id : kCommonControls) controls.Enable(id, mode != kModeNone);
}

void WatermarkPage::Changed(DialogControls& controls) {
  controls.SheetChanged();
  UpdatePreview(controls);
}

void WatermarkPage::ChooseMode(DialogControls& controls, int mode) {
  if (mode == kModeNone) {
    field::kPrintAsGraphics.Set(record_, 0);
    services_.watermarkOff.raised = true;
  } else if (field::kPrintAsGraphics.Get(record_) == 0) {
    texts_.ResolveCurrentLanguage();
    controls.ShowMessage(
        WithLineBreaks(texts_.Read(kMessages, "MB_WATERMARK_INFORMATION1",
                                   "All Text will be printed as graphics image!", kRoomHelp)),
        texts_.Read(kMessages, "MB_INFORMATION", "Information", kRoomHelp), MessageIcon::kInformation,
        MessageButtons::kOk);
    field::kPrintAsGraphics.Set(record_, 1);
  }
  field::kWatermarkMode.Set(record_, static_cast<uint8_t>(mode));
  EnableForMode(controls, mode);
  Changed(controls);
}

bool WatermarkPage::WritePictureFile(DialogControls& controls, const std::string& path) {
  std::vector<uint8_t> source;
  if (services_.files.ReadAll(path, &source) != 0) {
    ShowError(controls, "MB_WATERMARK_ERROR5", "Make sure the specified bitmap is 1/8/24/ bits!");
    return false;
  }
  const watermark::Normalised picture = watermark::NormaliseBitmap(source);
  if (picture.status == watermark::NormaliseStatus::kTooBig) {
    ShowError(controls, "MB_WATERMARK_ERROR4", "The bitmap you selected is too big!");
    return false;
  }
  if (picture.status != watermark::NormaliseStatus::kOk) {
    ShowError(controls, "MB_WATERMARK_ERROR5", "Make sure the specified bitmap is 1/8/24/ bits!");
    return false;
  }
  const std::string target = PictureFilePath(services_.system.TempPath(), printerName_);
  if (services_.files.WriteAll(target, picture.file) != 0) {
    ShowError(controls, "MB_WATERMARK_ERROR2", "Please check if user has administrator privileges!");
    return false;
  }
  // A 24-bit picture is a copy of the user's file, marked for backup as a copied file is.
  if (picture.copied) services_.files.SetAttributes(target, platform::kFileAttributeArchive);
  return true;
}

void WatermarkPage::Browse(DialogControls& controls) {
  const std::optional<std::string> chosen =
      services_.dialogs.ChooseFileToOpen("", {platform::ui::FileType{"*.bmp", "*.bmp"}});
  if (!chosen) return;  // cancelled: nothing changes
  if (chosen->empty()) return ShowError(controls, "MB_WATERMARK_ERROR6", "No filename is specified!");
  // A path the record cannot hold whole would name another file the next time it is read.
  if (text::Utf8ToUtf16(*chosen).size() >= field::kWatermarkBitmapPath.units)
    return ShowError(controls, "MB_WATERMARK_ERROR1", "The specified file does not exist!");
  if (!WritePictureFile(controls, *chosen)) return;
  controls.SetText(kPath, *chosen);
  field::kWatermarkBitmapPath.Set(record_, text::Utf8ToUtf16(*chosen));
  services_.shared.reload = true;
  Changed(controls);
}

void WatermarkPage::StoreText(DialogControls& controls, bool typed) {
  const int index = controls.Selection(kText);
  const std::string text = typed || index < 0 ? controls.GetText(kText) : controls.ItemText(kText, index);
  field::kWatermarkText.Set(record_, text::Utf8ToUtf16(text));
  Changed(controls);
}

void WatermarkPage::FontSizeTyped(DialogControls& controls, bool leaving) {
  const std::string typed = controls.GetText(kFontSize);
  long points = ReadNumber(typed);
  long shown = points > kFontSizeMax ? kFontSizeMax : points;
  if (leaving) shown = std::clamp<long>(points, kFontSizeMin, kFontSizeMax);
  if (shown != points || (leaving && typed != std::to_string(shown))) {
    controls.SetText(kFontSize, std::to_string(shown));
    controls.SetPosition(kFontSizeUpDown, static_cast<int>(shown));
  }
  // Half-typed sizes below the least one are kept in the box until it is left.
  if (shown < kFontSizeMin) return;
  if (field::kWatermarkFontSize.Get(record_) == shown) return;
  field::kWatermarkFontSize.Set(record_, static_cast<uint8_t>(shown));
  Changed(controls);
}

void WatermarkPage::PositionChosen(DialogControls& controls) {
  const int position = controls.Selection(kPosition);
  if (position < 0) return;
  field::kWatermarkPosition.Set(record_, static_cast<uint8_t>(position));
  const bool tiled = position == watermark::kTiled;
  const int size = controls.Position(kSize);
  controls.SetRange(kSize, tiled ? watermark::kTiledMinimumSize : 0, 100);
  controls.SetPosition(kSize, watermark::EffectiveSize(size, position));
  field::kWatermarkSize.Set(record_, static_cast<uint8_t>(controls.Position(kSize)));
  ShowValue(controls, kSize);
  Changed(controls);
}

void WatermarkPage::SliderMoved(DialogControls& controls, int id, bool released) {
  ShowValue(controls, id);
  if (!released) return;
  const int value = controls.Position(id);
  if (id == kAngle)
    field::kWatermarkAngle.Set(record_, value);
  else if (id == kSize)
    field::kWatermarkSize.Set(record_, static_cast<uint8_t>(value));
  else
    field::kWatermarkBrightness.Set(record_, static_cast<uint8_t>(value));
  Changed(controls);
}

bool WatermarkPage::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  const bool clicked = event == ControlEvent::kClicked;
  const bool chosen = event == ControlEvent::kSelectionChanged;
  switch (id) {
    case kNone:
    case kPicture:
    case kTextKind:
      if (!clicked) return false;
      ChooseMode(controls, id == kNone ? kModeNone : id == kPicture ? kModePicture : kModeText);
      return true;
    case kBrowse:
      if (!clicked) return false;
      Browse(controls);
      return true;
    case kText:
      if (!chosen && event != ControlEvent::kTextChanged) return false;
      StoreText(controls, !chosen);
      return true;
    case kFont:
      if (!chosen || controls.Selection(kFont) < 0) return false;
      field::kWatermarkFontFace.Set(record_,
                                    text::Utf8ToUtf16(controls.ItemText(kFont, controls.Selection(kFont))));
      Changed(controls);
      return true;
    case kStyle:
      if (!chosen || controls.Selection(kStyle) < 0) return false;
      field::kWatermarkFontStyle.Set(record_, static_cast<uint8_t>(controls.Selection(kStyle)));
      Changed(controls);
      return true;
    case kFontSize:
      if (event != ControlEvent::kTextChanged && event != ControlEvent::kFocusLost) return false;
      FontSizeTyped(controls, event == ControlEvent::kFocusLost);
      return true;
    case kPosition:
      if (!chosen) return false;
      PositionChosen(controls);
      return true;
    case kAngle:
    case kSize:
    case kBrightness:
      if (event != ControlEvent::kScrolled && event != ControlEvent::kScrollEnded) return false;
      SliderMoved(controls, id, event == ControlEvent::kScrollEnded);
      return true;
    default:
      return false;
  }
}

const Picture* WatermarkPage::LoadedPicture(DialogControls& controls) {
  WatermarkShared& shared = services_.shared;
  const std::string path = text::Utf16ToUtf8(field::kWatermarkBitmapPath.Get(record_));
  if (!shared.reload && shared.loadedPath == path) return shared.picture ? &*shared.picture : nullptr;
  shared.reload = false;
  shared.loadedPath = path;
  shared.picture.reset();
  if (path.empty()) return nullptr;
  std::vector<uint8_t> source;
  const watermark::Normalised normalised = services_.files.ReadAll(path, &source) == 0
                                               ? watermark::NormaliseBitmap(source)
                                               : watermark::Normalised{};
  if (normalised.status == watermark::NormaliseStatus::kTooBig) {
    ShowError(controls, "MB_WATERMARK_ERROR4", "The bitmap you selected is too big!");
    return nullptr;
  }
  if (normalised.status == watermark::NormaliseStatus::kOk)
    shared.picture = watermark::ReadPicture24(normalised.file);
  if (!shared.picture && !shared.missingShown) {
    shared.missingShown = true;
    ShowError(controls, "MB_WATERMARK_ERROR1", "The specified file does not exist!");
  }
  return shared.picture ? &*shared.picture : nullptr;
}

void WatermarkPage::UpdatePreview(DialogControls& controls) {
  const int mode = field::kWatermarkMode.Get(record_);
  const int size = field::kWatermarkSize.Get(record_);
  const int position = field::kWatermarkPosition.Get(record_);
  const int brightness = field::kWatermarkBrightness.Get(record_);
  Picture box(kPreviewWidth, kPreviewHeight);
  if (mode == kModePicture) {
    if (const Picture* picture = LoadedPicture(controls)) {
      // Brightening the box after placing gives the same pixels as brightening the picture (white stays
      // white) at the cost of the box only.
      box = watermark::PaintPreview(kPreviewWidth, kPreviewHeight, *picture, size, position);
      watermark::Brighten(box, brightness);
    }
  } else if (mode == kModeText) {
    const std::optional<Picture> square = RenderTextSquare(controls);
    if (square) box = watermark::PaintPreview(kPreviewWidth, kPreviewHeight, *square, size, position);
  }
  if (box == preview_) return;
  preview_ = std::move(box);
  controls.SetPicture(kPreview, preview_);
}

std::string WatermarkPage::ShownText(DialogControls& controls) {
  // The box's edit shows the chosen entry; a list choice not yet reflected there reads from the list.
  std::string text = controls.GetText(kText);
  if (text.empty() && controls.Selection(kText) >= 0)
    text = controls.ItemText(kText, controls.Selection(kText));
  return text;
}

std::string WatermarkPage::ShownFace(DialogControls& controls) {
  const int font = controls.Selection(kFont);
  return font >= 0 ? controls.ItemText(kFont, font)
                   : text::Utf16ToUtf8(field::kWatermarkFontFace.Get(record_));
}

std::optional<Picture> WatermarkPage::RenderTextSquare(DialogControls& controls) {
  // What the page shows (the record's face may be one the system lacks, its text empty), as apply stores it.
  return watermark::RenderText(
      services_.painter, {text::Utf8ToUtf16(ShownText(controls)), ShownFace(controls),
                          std::clamp<int>(field::kWatermarkFontSize.Get(record_), kFontSizeMin, kFontSizeMax),
                          field::kWatermarkFontStyle.Get(record_), field::kWatermarkAngle.Get(record_),
                          field::kWatermarkBrightness.Get(record_)});
}

bool WatermarkPage::WriteTextFile(DialogControls& controls) {
  const std::optional<Picture> square = RenderTextSquare(controls);
  const std::string target = PictureFilePath(services_.system.TempPath(), printerName_);
  if (!square || services_.files.WriteAll(target, watermark::EncodeBitmap24(*square)) != 0) {
    ShowError(controls, "MB_WATERMARK_ERROR2", "Please check if user has administrator privileges!");
    return false;
  }
  return true;
}

intptr_t WatermarkPage::OnSheetEvent(DialogControls& controls, SheetEvent event) {
  if (event == SheetEvent::kQueryCancel) {
    services_.shared.reload = true;
    return 0;
  }
  if (event != SheetEvent::kApply) return 0;
  const int mode = controls.IsChecked(kPicture)    ? kModePicture
                   : controls.IsChecked(kTextKind) ? kModeText
                                                   : kModeNone;
  field::kWatermarkMode.Set(record_, static_cast<uint8_t>(mode));
  if (mode != kModeNone) field::kPrintAsGraphics.Set(record_, 1);
  if (const int position = controls.Selection(kPosition); position >= 0)
    field::kWatermarkPosition.Set(record_, static_cast<uint8_t>(position));
  field::kWatermarkSize.Set(record_, static_cast<uint8_t>(controls.Position(kSize)));
  field::kWatermarkBrightness.Set(record_, static_cast<uint8_t>(controls.Position(kBrightness)));
  field::kWatermarkFontSize.Set(
      record_, static_cast<uint8_t>(
                   std::clamp<long>(ReadNumber(controls.GetText(kFontSize)), kFontSizeMin, kFontSizeMax)));
  field::kWatermarkAngle.Set(record_, controls.Position(kAngle));
  if (const int style = controls.Selection(kStyle); style >= 0)
    field::kWatermarkFontStyle.Set(record_, static_cast<uint8_t>(style));
  bool written = true;
  if (mode == kModePicture) {
    const std::string path = controls.GetText(kPath);
    field::kWatermarkBitmapPath.Set(record_, text::Utf8ToUtf16(path));
    // The file may hold a text rendered since the picture was chosen: the picture goes back into it.
    if (!path.empty()) written = WritePictureFile(controls, path);
  } else if (mode == kModeText) {
    field::kWatermarkFontFace.Set(record_, text::Utf8ToUtf16(ShownFace(controls)));
    field::kWatermarkText.Set(record_, text::Utf8ToUtf16(ShownText(controls)));
    written = WriteTextFile(controls);
  }
  if (!written) return 0;
  controls.SheetSetResult(kCpsuiOkResult);
  controls.SheetUnchanged();
  return 1;
}

}  // namespace mq::plugin
