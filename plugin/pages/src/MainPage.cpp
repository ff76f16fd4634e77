// The Main page's logic.
#include "pages/MainPage.h"

#include <cstdlib>

#include "platform/Text.h"
#include "plugin/LogViewer.h"
#include "plugin/PrivateSettings.h"

namespace mq::plugin {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;
using platform::ui::SheetEvent;
using namespace main_page;
namespace field = settings;

namespace {

constexpr const char* kSection = "LAYOUT";
constexpr intptr_t kCpsuiOkResult = 1;
constexpr uint32_t kOemCuipDocPropMode = 1;  // OEMCUIP_DOCPROP

struct MainText {
  int id;
  const char* key;
  const char* fallback;
  size_t room;
  bool onPaint;  // re-set on every paint as well as at creation
};

constexpr MainText kTexts[] = {
    {kLogGroup, "RC_STATIC_LOG", "Driver LOG", kRoomShort, true},
    {kLogEnabled, "RC_CHECK_LOG", "Record driver data", kRoomShort, true},
    {kLogBrowse, "RC_BUTTON_LOG", "Browse...", kRoomShort, true},
    {kLogViewer, "RC_BUTTON_VIEWER", "Viewer", kRoomShort, true},
    {kDocumentGroup, "RC_DOCSETTING", "Document Setting", kRoomLabel, true},
    {kGraphicsLabel, "RC_PRINT_AS_IMAGE", "Print all text as graphics image:", kRoomLabel, true},
    {kGraphicsYes, "RC_RADIO_ASGRAPHICSYES", "Yes", kRoomShort, true},
    {kGraphicsNo, "RC_RADIO_ASGRAPHICSNO", "No", kRoomShort, true},
    {kZoom, "RC_CHECK_ZOOM", "Zoom Printing", kRoomLabel, true},
    {kScaleLabel, "RC_SCALE", "Scale:", kRoomShort, true},
    {kRotateGroup, "RC_ROTATE", "Rotate", kRoomShort, true},
    {kRotateNormal, "RC_RADIO_ROTATENOMAL", "Normal", kRoomShort, true},
    {kRotate180, "RC_RADIO_ROTATE180", "Rotate by 180 Degrees", kRoomLabel, true},
    {kPaperLabel, "RC_PAPERSIZE", "Paper Size:", kRoomShort, true},
    {kLanguageLabel, "RC_LANGUAGE", "Language:", kRoomShort, true},
    {kUpdateLanguage, "RC_BUTTON_UPDATE", "Update Language From Web", kRoomLabel, false},
};

constexpr const char* kRotateHelp =
    "This configures print direction.The graphic shown on the right changes according to the selected "
    "setting.";

constexpr TextKey kHelp[] = {
    {"CTEXT_RADIO_ASGRAPHICSYES", "All the data will be printed as a graphic image."},
    {"CTEXT_RADIO_ASGRAPHICSNO", "'All the data printed as a graphic image' will not be enabled."},
    {"CTEXT_CHECK_ZOOM", "This configures reduced print."},
    {"CTEXT_SCALE", "This configures reduced print."},
    {"CTEXT_RADIO_ROTATENOMAL", kRotateHelp},
    {"CTEXT_RADIO_ROTATE180", kRotateHelp},
    {"CTEXT_PAPERSIZE", "Select the paper size from list."},
    {"CTEXT_LANGUAGE", "You can select a language used for this properties dialog box."},
    {"CTEXT_BUTTON_LOG", "Select the path of Log."},
    {"CTEXT_BUTTON_VIEWER", "View the log."},
    {"CTEXT_CHECK_LOG", "Record the driver log ."},
    {"CTEXT_EDIT_LOG", "The driver log dirctory."},
};
constexpr int kHelpIds[] = {kGraphicsYes, kGraphicsNo, kZoom,      kScale,     kRotateNormal, kRotate180,
                            kPaper,       kLanguage,   kLogBrowse, kLogViewer, kLogEnabled,   kLogFolder};
static_assert(std::size(kHelp) == std::size(kHelpIds));

// The document sheet's six tab titles and the device sheet's four, in tab order.
constexpr UiTextDefault kDocumentTitles[] = {
    {"LAYOUT", "RC_LAYOUTFORM", "Main", kCapShort},
    {"WATERMARK", "RC_WATERMARKFORM", "Water Mark", kCapShort},
    {"OPERATION", "RC_OPERATIONFORM", "Operation", kCapShort},
    {"1DCODE", "RC_1DCODEFORM", "1D Code", kCapShort},
    {"2DCODE", "RC_2DCODEFORM", "2D Code", kCapShort},
    {"VERSION", "RC_VERSIONFORM", "Version", kCapShort},
};
constexpr UiTextDefault kDeviceTitles[] = {
    {"UTILITY", "RC_UTILITYFORM", "Utility", kCapShort},
    {"DOWNLOAD", "RC_DOWNLOADFORM", "Download", kCapShort},
    {"FONT", "RC_FONTFORM", "Font", kCapShort},
    {"VERSION", "RC_VERSIONFORM", "Version", kCapShort},
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

int FirstEntryStartingWith(DialogControls& controls, int id, std::string_view prefix) {
  for (int i = 0; i < controls.ItemCount(id); ++i)
    if (StartsWithNoCase(controls.ItemText(id, i), prefix)) return i;
  return -1;
}

// GetDlgItemInt with signed reading: leading digits after an optional sign; an empty text reads as 0.
long ReadSigned(const std::string& text) {
  return std::strtol(text.c_str(), nullptr, 10);
}

}  // namespace

MainPage::MainPage(uint8_t* record, const DocumentPageContext& context, PageTexts& texts,
                   MainPageServices services)
    : record_(record), context_(context), texts_(texts), services_(std::move(services)) {}

std::string MainPage::Text(std::string_view key, std::string_view fallback, size_t room) {
  return texts_.Read(kSection, key, fallback, room);
}

host::OptItem* MainPage::FormItem() const {
  const host::OemCuipParam* param = context_.pOEMCUIPParam;
  if (param == nullptr || param->pDrvOptItems == nullptr) return nullptr;
  for (uint32_t i = 0; i < param->cDrvOptItems; ++i)
    if (param->pDrvOptItems[i].DMPubID == kDmPubFormName) return &param->pDrvOptItems[i];
  return nullptr;
}

bool MainPage::GraphicsAllowed() const {
  return field::kZoomEnabled.Get(record_) == 0 && field::kRotate180.Get(record_) == 0 &&
         field::kWatermarkMode.Get(record_) == 0;
}

void MainPage::SetTexts(DialogControls& controls, bool all) {
  texts_.ResolveCurrentLanguage();
  for (const MainText& t : kTexts)
    if (all || t.onPaint) controls.SetText(t.id, Text(t.key, t.fallback, t.room));
}

void MainPage::OnInit(DialogControls& controls) {
  const std::vector<LanguageEntry>& languages = services_.language.LoadLanguageList();
  if (context_.pOEMCUIPParam != nullptr && context_.pOEMCUIPParam->pPrinterName != nullptr)
    printerName_ = text::Utf16ToUtf8(context_.pOEMCUIPParam->pPrinterName);
  SetTexts(controls, true);

  controls.ClearItems(kLanguage);
  for (const LanguageEntry& entry : languages) controls.AddItem(kLanguage, entry.displayName);
  controls.AddItem(kLanguage, services_.language.SystemEntryText());
  const std::string current = texts_.CurrentLanguageFile();
  for (size_t i = 0; i < languages.size(); ++i) {
    if (languages[i].fileName != current) continue;
    controls.SetSelection(kLanguage,
                          services_.language.FollowsSystemLanguage()
                              ? FirstEntryStartingWith(controls, kLanguage, languages[i].systemText)
                              : static_cast<int>(i));
    break;
  }

  controls.ClearItems(kPaper);
  if (host::OptItem* item = FormItem();
      item != nullptr && item->pOptType != nullptr && item->pOptType->pOptParam != nullptr) {
    for (uint16_t k = 0; k < item->pOptType->Count; ++k) {
      const host::WChar* name = item->pOptType->pOptParam[k].pData;
      controls.AddItem(kPaper, name != nullptr ? text::Utf16ToUtf8(name) : std::string());
    }
    const std::string formName = text::Utf16ToUtf8(field::kFormName.Get(record_));
    if (!formName.empty())
      controls.SetSelection(kPaper, FirstEntryStartingWith(controls, kPaper, formName));
    else
      controls.SetSelection(kPaper, item->Sel);
  }

  const bool rotated = field::kRotate180.Get(record_) != 0;
  controls.SetChecked(kRotateNormal, !rotated);
  controls.SetChecked(kRotate180, rotated);
  controls.SetTextLimit(kScale, 3);
  controls.SetRange(kScaleUpDown, kScaleShownMin, kScaleShownMax);
  controls.SetPosition(kScaleUpDown, field::kScalePercent.Get(record_));
  controls.SetText(kScale, std::to_string(field::kScalePercent.Get(record_)));

  const bool logging = field::kLogEnabled.Get(record_) != 0;
  controls.SetChecked(kLogEnabled, logging);
  controls.Enable(kLogFolder, logging);
  controls.Enable(kLogViewer, logging);
  controls.Enable(kLogBrowse, false);
  controls.SetText(kLogFolder, text::Utf16ToUtf8(field::kLogFolder.Get(record_)));

  const bool zoom = field::kZoomEnabled.Get(record_) != 0;
  controls.SetChecked(kZoom, zoom);
  for (int id : {kScale, kScaleUpDown, kScaleLabel}) controls.Enable(id, zoom);

  const bool graphics = field::kPrintAsGraphics.Get(record_) != 0;
  controls.SetChecked(kGraphicsYes, graphics);
  controls.SetChecked(kGraphicsNo, !graphics);
  EnableGraphicsRadios(controls, GraphicsAllowed());

  for (size_t i = 0; i < std::size(kHelpIds); ++i)
    controls.SetToolTip(kHelpIds[i], Text(kHelp[i].key, kHelp[i].fallback, kRoomHelp));
}

void MainPage::OnPaint(DialogControls& controls) {
  SetTexts(controls, false);
  if (services_.renameDensity) services_.renameDensity();
}

void MainPage::EnableGraphicsRadios(DialogControls& controls, bool enabled) {
  controls.Enable(kGraphicsYes, enabled);
  controls.Enable(kGraphicsNo, enabled);
}

void MainPage::ForceGraphics(DialogControls& controls) {
  if (field::kPrintAsGraphics.Get(record_) == 0) {
    texts_.ResolveCurrentLanguage();
    controls.ShowMessage(texts_.Read("MessageBox", "MB_LAYOUT_INFORMATION1",
                                     "All Text will be printed as graphics image!", kRoomHelp),
                         texts_.Read("MessageBox", "MB_INFORMATION", "Information", kRoomHelp),
                         MessageIcon::kInformation, MessageButtons::kOk);
    field::kPrintAsGraphics.Set(record_, 1);
  }
  controls.SetChecked(kGraphicsYes, true);
  controls.SetChecked(kGraphicsNo, false);
  EnableGraphicsRadios(controls, false);
}

void MainPage::StoreScale(DialogControls& controls) {
  long typed = ReadSigned(controls.GetText(kScale));
  long stored = typed;
  if (typed > kScaleStoredMax || typed < 0)
    stored = kScaleStoredMax;
  else if (typed < kScaleShownMin)
    stored = kScaleShownMin;
  if (stored != typed) {
    controls.SetPosition(kScaleUpDown, static_cast<int>(stored));
    controls.SetText(kScale, std::to_string(stored));
  }
  field::kScalePercent.Set(record_, static_cast<uint8_t>(stored));
  controls.SheetChanged();
}

void MainPage::UpdateFormItem(DialogControls& controls) {
  host::OptItem* item = FormItem();
  const int index = controls.Selection(kPaper);
  // Nothing chosen (no entry matched the stored name): the driver's own choice and the stored name stay.
  if (item == nullptr || index < 0) return;
  item->Sel = index;
  item->Flags |= host::kOptifChanged;
  if (context_.driverUI != nullptr)
    context_.driverUI->DrvUpdateUISetting(context_.pOEMCUIPParam->poemuiobj, item, 0, kOemCuipDocPropMode);
  field::kFormName.Set(record_, text::Utf8ToUtf16(controls.ItemText(kPaper, index)));
}

void MainPage::SelectCurrentForm(DialogControls& controls) {
  if (host::OptItem* item = FormItem(); item != nullptr) controls.SetSelection(kPaper, item->Sel);
}

bool MainPage::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  const bool clicked = event == ControlEvent::kClicked;
  switch (id) {
    case kPaper:
      if (event != ControlEvent::kSelectionChanged) return false;
      UpdateFormItem(controls);
      controls.SheetChanged();
      return true;
    case kLanguage:
      if (event != ControlEvent::kSelectionChanged) return false;
      controls.SheetChanged();
      return true;
    case kScale:
      if (event != ControlEvent::kFocusLost) return false;
      StoreScale(controls);
      return true;
    case kGraphicsYes:
    case kGraphicsNo:
      if (!clicked) return false;
      field::kPrintAsGraphics.Set(record_, id == kGraphicsYes ? 1 : 0);
      controls.SheetChanged();
      return true;
    case kRotateNormal:
      if (!clicked) return false;
      field::kRotate180.Set(record_, 0);
      if (GraphicsAllowed()) EnableGraphicsRadios(controls, true);
      controls.SheetChanged();
      return true;
    case kRotate180:
      if (!clicked) return false;
      ForceGraphics(controls);
      field::kRotate180.Set(record_, 1);
      controls.SheetChanged();
      return true;
    case kZoom:
      if (!clicked) return false;
      controls.SheetChanged();
      if (controls.IsChecked(kZoom)) {
        for (int c : {kScale, kScaleUpDown, kScaleLabel}) controls.Enable(c, true);
        ForceGraphics(controls);
        field::kZoomEnabled.Set(record_, 1);
      } else {
        field::kZoomEnabled.Set(record_, 0);
        if (GraphicsAllowed()) EnableGraphicsRadios(controls, true);
        for (int c : {kScale, kScaleUpDown, kScaleLabel}) controls.Enable(c, false);
      }
      return true;
    case kLogEnabled: {
      if (!clicked) return false;
      controls.SheetChanged();
      const bool on = controls.IsChecked(kLogEnabled);
      field::kLogEnabled.Set(record_, on ? 1 : 0);
      controls.Enable(kLogFolder, on);
      controls.Enable(kLogViewer, on);
      return true;
    }
    case kLogViewer:
      if (!clicked) return false;
      if (LaunchLogViewer(services_.shell, services_.system) == LogViewerStart::kMissing) {
        texts_.ResolveCurrentLanguage();
        controls.ShowMessage(texts_.Read("MessageBox", "MB_LAYOUT_VIEWER", "Not fount LOGViewer!", kRoomHelp),
                             texts_.Read("MessageBox", "MB_ERROR", "Error", kRoomHelp), MessageIcon::kNone,
                             MessageButtons::kOk);
      }
      return true;
    default:
      return false;
  }
}

void MainPage::ChangeLanguage(DialogControls& controls) {
  const int chosen = controls.Selection(kLanguage);
  if (chosen >= 0) services_.language.ChooseLanguage(controls.ItemText(kLanguage, chosen));
  auto titles = [this](const auto& table) {
    texts_.ResolveCurrentLanguage();
    std::vector<std::string> out;
    for (const UiTextDefault& t : table) out.push_back(texts_.Read(t.section, t.key, t.text, t.capacity));
    return out;
  };
  services_.sheets.RetitleOwnSheet(titles(kDocumentTitles));
  services_.sheets.RetitleOtherSheets(printerName_, titles(kDeviceTitles));
  controls.Repaint();
}

intptr_t MainPage::OnSheetEvent(DialogControls& controls, SheetEvent event) {
  switch (event) {
    case SheetEvent::kApply:
      if (controls.IsChecked(kRotateNormal))
        field::kRotate180.Set(record_, 0);
      else if (controls.IsChecked(kRotate180))
        field::kRotate180.Set(record_, 1);
      UpdateFormItem(controls);
      controls.SheetSetResult(kCpsuiOkResult);
      controls.SheetUnchanged();
      ChangeLanguage(controls);
      return 1;
    case SheetEvent::kSetActive:
      if (GraphicsAllowed()) {
        EnableGraphicsRadios(controls, true);
        if (services_.watermarkOff.raised) {
          controls.SetChecked(kGraphicsNo, true);
          controls.SetChecked(kGraphicsYes, false);
          services_.watermarkOff.raised = false;
        }
      } else {
        EnableGraphicsRadios(controls, false);
        controls.SetChecked(kGraphicsYes, true);
        controls.SetChecked(kGraphicsNo, false);
      }
      SelectCurrentForm(controls);
      return 1;
    default:
      return 0;
  }
}

}  // namespace mq::plugin
