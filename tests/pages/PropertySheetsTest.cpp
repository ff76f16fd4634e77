// The two sheets as the host drives them: every reason, the pages added with their templates, titles and
// context, the device sheet's port-name value, and the print-density renaming.
#include <gtest/gtest.h>

#include <vector>

#include "RecordingDriverUI.h"
#include "TableTexts.h"
#include "pages/PropertySheets.h"
#include "platform/fake/FakePlatform.h"
#include "platform/Text.h"

namespace mq::plugin {
namespace {

struct AddedPage {
  host::Handle sheet;
  uint32_t function;
  PropSheetPageW page;
  std::u16string title;
  host::LParam lParam1;
  host::LParam lParam2;
};

// The host's common property-sheet callback: records each call and answers them with 100, 101, ...
std::vector<AddedPage> g_added;
intptr_t MQ_COM_CALL RecordingComPropSheet(host::Handle sheet, uint32_t function, host::LParam lParam1,
                                           host::LParam lParam2) {
  AddedPage added{sheet, function, {}, {}, lParam1, lParam2};
  if (function == host::kCpsFuncAddPropSheetPageW) {
    added.page = *reinterpret_cast<const PropSheetPageW*>(lParam1);
    added.title = added.page.pszTitle;
  }
  g_added.push_back(added);
  return 100 + static_cast<intptr_t>(g_added.size()) - 1;
}

intptr_t MQ_COM_CALL DocumentProc(host::Handle, uint32_t, uintptr_t, intptr_t) {
  return 0;
}
intptr_t MQ_COM_CALL DeviceProc(host::Handle, uint32_t, uintptr_t, intptr_t) {
  return 1;
}

class FakeSheetHost : public SheetHost {
 public:
  host::Handle Module() override { return reinterpret_cast<host::Handle>(0x400000); }
  DialogProcFn DialogProcedure(PageKind kind) override {
    kinds.push_back(kind);
    return kind < PageKind::kUtility ? DocumentProc : DeviceProc;
  }
  host::Handle ActivationContext() override { return activation; }
  std::string PrinterPortName(host::Handle printer) override {
    printers.push_back(printer);
    return portName;
  }
  std::vector<PageKind> kinds;
  std::vector<host::Handle> printers;
  host::Handle activation = nullptr;
  std::string portName = "ZNTUSB1";
};

using mq::testing::RecordingDriverUI;

constexpr const char* kLanguageKeyPath = "HKCU\\SOFTWARE\\ZNT\\LANGUAGE";

class PropertySheetsTest : public ::testing::Test {
 protected:
  PropertySheetsTest() { g_added.clear(); }

  host::PropSheetUiInfo Info(uint16_t reason, host::LParam lParamInit = 0) {
    host::PropSheetUiInfo info{};
    info.cbSize = sizeof(info);
    info.Version = host::kPropSheetUiInfoVersion;
    info.Reason = reason;
    info.hComPropSheet = reinterpret_cast<host::Handle>(0x5A5A);
    info.pfnComPropSheet = RecordingComPropSheet;
    info.lParamInit = lParamInit;
    info.Result = 0xDEAD;
    return info;
  }

  platform::FakePlatform fake_;
  testing::TableTexts texts_;
  FakeSheetHost host_;
  PropertySheets sheets_{texts_, fake_.registry, host_};
  DocumentPageContext document_;
  DevicePageContext device_;
};

TEST_F(PropertySheetsTest, DocumentInitAddsTheSixPagesInOrderAndReportsTheLastAddition) {
  host::OemUiPsParam psParam{};
  texts_.table[{"OPERATION", "RC_OPERATIONFORM"}] = "操作";
  texts_.table[{"VERSION", "RC_VERSIONFORM"}] = "A tab title much longer than twenty";
  host::PropSheetUiInfo info = Info(host::kReasonInit, reinterpret_cast<host::LParam>(&psParam));
  ASSERT_EQ(sheets_.DocumentSheet(&info, 0, document_), com::kOk);

  const int templates[] = {128, 131, 103, 117, 118, 105};
  const std::u16string titles[] = {u"Main",    u"Water Mark", u"操作",
                                   u"1D Code", u"2D Code",    u"A tab title much lo"};
  ASSERT_EQ(g_added.size(), 6u);
  for (size_t i = 0; i < g_added.size(); ++i) {
    const PropSheetPageW& page = g_added[i].page;
    EXPECT_EQ(g_added[i].function, host::kCpsFuncAddPropSheetPageW);
    EXPECT_EQ(g_added[i].sheet, info.hComPropSheet);
    EXPECT_EQ(page.dwSize, sizeof(PropSheetPageW));
    EXPECT_EQ(page.dwFlags, kPspUseTitle) << "no activation context, no fusion flag";
    EXPECT_EQ(reinterpret_cast<uintptr_t>(page.pszTemplate), static_cast<uintptr_t>(templates[i]));
    EXPECT_EQ(page.hInstance, host_.Module());
    EXPECT_EQ(page.pfnDlgProc, DocumentProc);
    EXPECT_EQ(page.lParam, reinterpret_cast<host::LParam>(&document_));
    EXPECT_EQ(g_added[i].title, titles[i]);
  }
  EXPECT_EQ(host_.kinds,
            (std::vector<PageKind>{PageKind::kMain, PageKind::kWatermark, PageKind::kOperation,
                                   PageKind::k1DCode, PageKind::k2DCode, PageKind::kDocumentVersion}));
  EXPECT_EQ(info.Result, 105u);
  EXPECT_EQ(document_.pageHandle, reinterpret_cast<host::Handle>(105));
  EXPECT_EQ(document_.hComPropSheet, info.hComPropSheet);
  EXPECT_EQ(document_.pfnComPropSheet, RecordingComPropSheet);
  EXPECT_EQ(document_.pOEMUIPSParam, &psParam);
  EXPECT_GT(texts_.resolves, 0);
}

TEST_F(PropertySheetsTest, DeviceInitAddsFourPagesAndNamesThePortInTheLanguageKey) {
  fake_.registry.PutString(kLanguageKeyPath, "LANGUAGE_MQ450", "CHN_MQ450.res");
  host::OemCuipParam cuip{};
  cuip.hPrinter = reinterpret_cast<host::Handle>(0x77);
  device_.pOEMCUIPParam = &cuip;
  host_.activation = reinterpret_cast<host::Handle>(0xAC);
  host::PropSheetUiInfo info = Info(host::kReasonInit);
  ASSERT_EQ(sheets_.DeviceSheet(&info, 0, device_), com::kOk);

  ASSERT_EQ(g_added.size(), 4u);
  const int templates[] = {114, 113, 119, 105};
  const std::u16string titles[] = {u"Utility", u"Download", u"Font", u"Version"};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(g_added[i].page.pszTemplate), static_cast<uintptr_t>(templates[i]));
    EXPECT_EQ(g_added[i].title, titles[i]);
    EXPECT_EQ(g_added[i].page.dwFlags, kPspUseTitle | kPspUseFusionContext);
    EXPECT_EQ(g_added[i].page.hActCtx, host_.activation);
    EXPECT_EQ(g_added[i].page.pfnDlgProc, DeviceProc);
    EXPECT_EQ(g_added[i].page.lParam, reinterpret_cast<host::LParam>(&device_));
  }
  EXPECT_EQ(info.Result, 103u);
  EXPECT_EQ(device_.pageHandle, reinterpret_cast<host::Handle>(103));
  EXPECT_EQ(host_.printers, (std::vector<host::Handle>{cuip.hPrinter}));
  EXPECT_EQ(fake_.registry.GetString(kLanguageKeyPath, "ZNTUSB1"), "LANGUAGE_MQ450");
  EXPECT_EQ(fake_.registry.OpenHandleCount(), 0u);
}

TEST_F(PropertySheetsTest, DeviceInitWithoutLanguageKeyOrPrinterStillAddsItsPages) {
  host_.portName = "";  // GetPrinterW failed
  host::PropSheetUiInfo info = Info(host::kReasonInit);
  ASSERT_EQ(sheets_.DeviceSheet(&info, 0, device_), com::kOk);
  EXPECT_EQ(g_added.size(), 4u);
  EXPECT_FALSE(fake_.registry.HasKey(kLanguageKeyPath)) << "the key is opened, never created here";
  EXPECT_EQ(host_.printers, (std::vector<host::Handle>{nullptr}));
}

TEST_F(PropertySheetsTest, OtherReasonsAnswerTheSameForBothSheetsAndAddNothing) {
  host::SetResultInfo setResult{};
  setResult.Result = 42;
  struct Case {
    uint16_t reason;
    host::LParam lParam;
    uintptr_t result;
  };
  host::PropSheetUiInfoHeader header{};
  const Case cases[] = {{host::kReasonGetInfoHeader, reinterpret_cast<host::LParam>(&header), 1},
                        {host::kReasonDestroy, 0, 1},
                        {host::kReasonSetResult, reinterpret_cast<host::LParam>(&setResult), 42},
                        {host::kReasonGetIcon, 0, 0},
                        {host::kReasonGetInfoHeader, 0, 1},  // no header record: nothing to fill
                        {host::kReasonSetResult, 0, 0},
                        {77, 0, 0}};
  for (bool deviceSheet : {false, true}) {
    for (const Case& c : cases) {
      header.pTitle = nullptr;
      host::PropSheetUiInfo info = Info(c.reason);
      const com::HResult hr = deviceSheet ? sheets_.DeviceSheet(&info, c.lParam, device_)
                                          : sheets_.DocumentSheet(&info, c.lParam, document_);
      EXPECT_EQ(hr, com::kOk);
      EXPECT_EQ(info.Result, c.result) << "reason " << c.reason << " device " << deviceSheet;
      if (c.reason == host::kReasonGetInfoHeader && c.lParam != 0) {
        ASSERT_NE(header.pTitle, nullptr);
        EXPECT_EQ(std::u16string(header.pTitle), u"OEM UI Page");
      }
    }
  }
  EXPECT_TRUE(g_added.empty());
  EXPECT_EQ(document_.pOEMUIPSParam, nullptr);
}

TEST_F(PropertySheetsTest, PagesReportTheirResultUnderTheHandleOfTheLastPageAdded) {
  ReportPageResult(&document_, host::kCpsuiOk);
  ReportPageResult(&device_, host::kCpsuiOk);
  EXPECT_TRUE(g_added.empty()) << "no callback before the init reason";

  host::OemUiPsParam psParam{};
  host::PropSheetUiInfo documentInfo = Info(host::kReasonInit, reinterpret_cast<host::LParam>(&psParam));
  ASSERT_EQ(sheets_.DocumentSheet(&documentInfo, 0, document_), com::kOk);
  host::PropSheetUiInfo deviceInfo = Info(host::kReasonInit);
  deviceInfo.hComPropSheet = reinterpret_cast<host::Handle>(0x6B6B);
  ASSERT_EQ(sheets_.DeviceSheet(&deviceInfo, 0, device_), com::kOk);
  g_added.clear();
  ReportPageResult(&document_, host::kCpsuiOk);
  ReportPageResult(&device_, host::kCpsuiOk);

  struct Call {
    host::Handle sheet;
    uint32_t function;
    host::LParam page;
    host::LParam result;
  };
  const Call expected[] = {{documentInfo.hComPropSheet, host::kCpsFuncSetResult, 105, host::kCpsuiOk},
                           {deviceInfo.hComPropSheet, host::kCpsFuncSetResult, 109, host::kCpsuiOk}};
  ASSERT_EQ(g_added.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(g_added[i].sheet, expected[i].sheet) << i;
    EXPECT_EQ(g_added[i].function, expected[i].function) << i;
    EXPECT_EQ(g_added[i].lParam1, expected[i].page) << i;
    EXPECT_EQ(g_added[i].lParam2, expected[i].result) << i;
  }
}

// Driver option items: a print-density item (two options), a form item, and near misses.
struct OptionItems {
  explicit OptionItems(std::vector<std::u16string> firstTexts, uint8_t level = 2, uint8_t pubId = 0) {
    texts = std::move(firstTexts);
    params.resize(texts.size());
    for (size_t k = 0; k < texts.size(); ++k) params[k].pData = texts[k].data();
    type.Count = static_cast<uint16_t>(texts.size());
    type.pOptParam = params.data();
    item.Level = level;
    item.DMPubID = pubId;
    item.pName = name.data();
    item.pOptType = &type;
  }
  std::u16string name = u"Host name";
  std::vector<std::u16string> texts;
  std::vector<host::OptParam> params;
  host::OptType type{};
  host::OptItem item{};
};

TEST_F(PropertySheetsTest, DensityRenamingTouchesOnlyTheDriversDensityItem) {
  OptionItems density({u"Density Light", u"Density Dark"});
  OptionItems chinese({u"打印浓度1", u"2", u"3"});
  OptionItems form({u"Letter", u"A4"}, 1, 11);   // DMPUB_FORMNAME, level 1
  OptionItems publicItem({u"Density x"}, 2, 5);  // a public DEVMODE item
  OptionItems otherLevel({u"Density x"}, 1, 0);
  OptionItems plain({u"Fast", u"Density"});  // only the first option's text counts
  std::vector<host::OptItem> items = {density.item,    form.item,    publicItem.item,
                                      otherLevel.item, chinese.item, plain.item};
  host::OemCuipParam cuip{};
  cuip.poemuiobj = reinterpret_cast<void*>(0xAB);
  cuip.pDrvOptItems = items.data();
  cuip.cDrvOptItems = static_cast<uint32_t>(items.size());
  RecordingDriverUI driverUI;
  document_.pOEMCUIPParam = &cuip;
  document_.driverUI = &driverUI;

  host::PropSheetUiInfo info = Info(host::kReasonInit);
  ASSERT_EQ(sheets_.DocumentSheet(&info, 0, document_), com::kOk);

  EXPECT_EQ(std::u16string(items[0].pName), u"Print Density");
  EXPECT_EQ(std::u16string(items[0].pOptType->pOptParam[0].pData), u"Density0");
  EXPECT_EQ(std::u16string(items[0].pOptType->pOptParam[1].pData), u"Density1");
  EXPECT_TRUE(items[0].Flags & host::kOptifChanged);
  EXPECT_EQ(std::u16string(items[4].pName), u"Print Density");
  EXPECT_EQ(std::u16string(items[4].pOptType->pOptParam[2].pData), u"Density2");
  for (size_t i : {1u, 2u, 3u, 5u}) {
    EXPECT_EQ(std::u16string(items[i].pName), u"Host name") << i;
    EXPECT_EQ(items[i].Flags, 0u) << i;
  }
  EXPECT_EQ(std::u16string(items[5].pOptType->pOptParam[1].pData), u"Density");
  // The host's own text buffers are left as they were.
  EXPECT_EQ(density.texts[0], u"Density Light");
  ASSERT_EQ(driverUI.updates.size(), 2u);
  EXPECT_EQ(driverUI.updates[0].pci, cuip.poemuiobj);
  EXPECT_EQ(driverUI.updates[0].item, &items[0]);
  EXPECT_EQ(driverUI.updates[0].previous, 0u);
  EXPECT_EQ(driverUI.updates[0].mode, kOemCuipDocProp);
  EXPECT_EQ(driverUI.updates[1].item, &items[4]);
}

TEST_F(PropertySheetsTest, DensityRenamingUsesTheLanguageTextsAndSkipsTheHelperWhenUnpublished) {
  texts_.table[{"GPD", "RC_DENSITY"}] = "打印浓度 with a name far longer than the host's own short text";
  texts_.table[{"GPD", "RC_DENSITY_INDEX"}] = "浓度";
  OptionItems density({u"Density-", u"Density+"});
  host::OemCuipParam cuip{};
  cuip.pDrvOptItems = &density.item;
  cuip.cDrvOptItems = 1;
  document_.pOEMCUIPParam = &cuip;
  document_.driverUI = nullptr;
  EXPECT_EQ(sheets_.RenameDensityOption(document_), 1);
  EXPECT_EQ(text::Utf16ToUtf8(density.item.pName),
            text::TruncateUtf16("打印浓度 with a name far longer than the host's own short text", 49));
  EXPECT_EQ(std::u16string(density.params[1].pData), u"浓度1");
  // Renamed again at the next paint of the Main page: the renamed texts still match.
  EXPECT_EQ(sheets_.RenameDensityOption(document_), 1);
  EXPECT_EQ(std::u16string(density.params[0].pData), u"浓度0");
}

TEST_F(PropertySheetsTest, DensityRenamingSurvivesItemsWithoutOptionTexts) {
  OptionItems empty({});
  OptionItems resourceId({u"x"});
  resourceId.params[0].pData = reinterpret_cast<char16_t*>(uintptr_t{0x1234});  // a string resource id
  OptionItems noType({u"Density"});
  noType.item.pOptType = nullptr;
  std::vector<host::OptItem> items = {empty.item, resourceId.item, noType.item};
  host::OemCuipParam cuip{};
  cuip.pDrvOptItems = items.data();
  cuip.cDrvOptItems = 3;
  document_.pOEMCUIPParam = &cuip;
  EXPECT_EQ(sheets_.RenameDensityOption(document_), 0);
  cuip.pDrvOptItems = nullptr;
  EXPECT_EQ(sheets_.RenameDensityOption(document_), 0);
  document_.pOEMCUIPParam = nullptr;
  EXPECT_EQ(sheets_.RenameDensityOption(document_), 0);
}

}  // namespace
}  // namespace mq::plugin
