// The structures and interfaces the Unidrv UI host and the common property-sheet host exchange with the
// plug-in, declared with fixed-width types so that portable code and tests use them with the host's exact
// layout (the Windows build checks every size and offset against the system headers where they exist).
// Handles and pointers are pointer-sized; DWORD is uint32_t, LONG int32_t, WORD uint16_t, LPARAM intptr_t.
#pragma once

#include <cstdint>

#include "plugin/ComTypes.h"

namespace mq::host {

using Handle = void*;
using LParam = intptr_t;
using WChar = char16_t;

// OEM_DMEXTRAHEADER: the head of every plug-in private DEVMODE record.
struct OemDmExtraHeader {
  uint32_t dwSize;
  uint32_t dwSignature;
  uint32_t dwVersion;
};

// OEMDMPARAM, handed to IPrintOemUI::DevMode.
struct OemDmParam {
  uint32_t cbSize;
  void* pdriverobj;
  Handle hPrinter;
  Handle hModule;
  void* pPublicDMIn;
  void* pPublicDMOut;
  void* pOEMDMIn;
  void* pOEMDMOut;
  uint32_t cbBufSize;
};

// DevMode modes (OEMDM_*).
inline constexpr uint32_t kOemDmSize = 1;
inline constexpr uint32_t kOemDmDefault = 2;
inline constexpr uint32_t kOemDmConvert = 3;
inline constexpr uint32_t kOemDmMerge = 4;

// GetInfo modes (OEMGI_*).
inline constexpr uint32_t kOemGiGetSignature = 1;
inline constexpr uint32_t kOemGiGetInterfaceVersion = 2;
inline constexpr uint32_t kOemGiGetVersion = 3;
inline constexpr uint32_t kOemGiGetPublisherInfo = 4;

// CommonUIProp modes (OEMCUIP_*).
inline constexpr uint32_t kOemCuipDocProp = 1;
inline constexpr uint32_t kOemCuipPrnProp = 2;

// QueryColorProfile (QCP_*).
inline constexpr uint32_t kQcpDeviceProfile = 0;
inline constexpr uint32_t kQcpProfileDisk = 2;

// OPTPARAM: one selectable option of an option item.
struct OptParam {
  uint16_t cbSize;
  uint8_t Flags;
  uint8_t Style;
  WChar* pData;
  uintptr_t IconID;
  LParam lParam;
  uintptr_t dwReserved[2];
};

// OPTTYPE: the kind of an option item and its options.
struct OptType {
  uint16_t cbSize;
  uint8_t Type;
  uint8_t Flags;
  uint16_t Count;
  uint16_t BegCtrlID;
  OptParam* pOptParam;
  uint16_t Style;
  uint16_t wReserved[3];
  uintptr_t dwReserved[3];
};

// OPTITEM: one item of the host's option tree.
struct OptItem {
  uint16_t cbSize;
  uint8_t Level;
  uint8_t DlgPageIdx;
  uint32_t Flags;
  uintptr_t UserData;
  WChar* pName;
  union {
    int32_t Sel;
    WChar* pSel;
  };
  void* pExtChkBox;
  OptType* pOptType;
  uint32_t HelpIndex;
  uint8_t DMPubID;
  uint8_t UserItemID;
  uint16_t wReserved;
  void* pOIExt;
  uintptr_t dwReserved[3];
};

inline constexpr uint32_t kOptifChanged = 0x00000008;  // OPTIF_CHANGED

// OEMCUIPPARAM, handed to IPrintOemUI::CommonUIProp.
using OemCuipCallback = int32_t(MQ_COM_CALL*)(void* pCPSUICBParam, void* pOEMUIParam);
struct OemCuipParam {
  uint32_t cbSize;
  void* poemuiobj;
  Handle hPrinter;
  WChar* pPrinterName;
  Handle hModule;
  Handle hOEMHeap;
  void* pPublicDM;
  void* pOEMDM;
  uint32_t dwFlags;
  OptItem* pDrvOptItems;
  uint32_t cDrvOptItems;
  OptItem* pOEMOptItems;
  uint32_t cOEMOptItems;
  void* pOEMUserData;
  OemCuipCallback OEMCUIPCallback;
};

// OEMUIPSPARAM, the lParamInit of the document sheet's init reason.
struct OemUiPsParam {
  uint32_t cbSize;
  void* poemuiobj;
  Handle hPrinter;
  WChar* pPrinterName;
  Handle hModule;
  Handle hOEMHeap;
  void* pPublicDM;
  void* pOEMDM;
  void* pOEMUserData;
  uint32_t dwFlags;
  void* pOemEntry;
};

// The common property-sheet callback (PFNCOMPROPSHEET) and the functions of it that the plug-in uses.
using ComPropSheetFn = intptr_t(MQ_COM_CALL*)(Handle hComPropSheet, uint32_t function, LParam lParam1,
                                              LParam lParam2);
inline constexpr uint32_t kCpsFuncAddPropSheetPageW = 1;  // CPSFUNC_ADD_PROPSHEETPAGEW
inline constexpr uint32_t kCpsFuncSetResult = 9;          // CPSFUNC_SET_RESULT
inline constexpr LParam kCpsuiOk = 1;                     // CPSUI_OK

// PROPSHEETUI_INFO, handed to DocumentPropertySheets and DevicePropertySheets.
struct PropSheetUiInfo {
  uint16_t cbSize;
  uint16_t Version;
  uint16_t Flags;
  uint16_t Reason;
  Handle hComPropSheet;
  ComPropSheetFn pfnComPropSheet;
  LParam lParamInit;
  uintptr_t UserData;
  uintptr_t Result;
};
inline constexpr uint16_t kPropSheetUiInfoVersion = 0x0100;

// Reasons (PROPSHEETUI_REASON_*).
inline constexpr uint16_t kReasonInit = 0;
inline constexpr uint16_t kReasonGetInfoHeader = 1;
inline constexpr uint16_t kReasonDestroy = 2;
inline constexpr uint16_t kReasonSetResult = 3;
inline constexpr uint16_t kReasonGetIcon = 4;

// PROPSHEETUI_INFO_HEADER, the lParam of the header reason.
struct PropSheetUiInfoHeader {
  uint16_t cbSize;
  uint16_t Flags;
  WChar* pTitle;
  Handle hWndParent;
  Handle hInst;
  union {
    Handle hIcon;
    uintptr_t IconID;
  };
};

// SETRESULT_INFO, the lParam of the set-result reason.
struct SetResultInfo {
  uint16_t cbSize;
  uint16_t wReserved;
  Handle hSetResult;
  intptr_t Result;
};

// {92B05D50-78BC-11D1-9480-00A0C90640B8}
inline constexpr com::Guid kIidIPrintOemDriverUI = {
    0x92B05D50, 0x78BC, 0x11D1, {0x94, 0x80, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
// {C6A7A9D0-774C-11D1-947F-00A0C90640B8}
inline constexpr com::Guid kIidIPrintOemUI = {
    0xC6A7A9D0, 0x774C, 0x11D1, {0x94, 0x7F, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}: the printing system's class identifier for UI plug-ins.
inline constexpr com::Guid kClsidOemUi = {
    0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};

// The host's helper interface, published to the plug-in through PublishDriverInterface.
class IPrintOemDriverUI : public com::IUnknown {
 public:
  virtual com::HResult MQ_COM_CALL DrvGetDriverSetting(void* pci, const char* feature, void* output,
                                                       uint32_t cbSize, uint32_t* pcbNeeded,
                                                       uint32_t* pdwOptionsReturned) = 0;
  virtual com::HResult MQ_COM_CALL DrvUpgradeRegistrySetting(Handle hPrinter, const char* feature,
                                                             const char* option) = 0;
  virtual com::HResult MQ_COM_CALL DrvUpdateUISetting(void* pci, void* pOptItem, uint32_t dwPreviousSelection,
                                                      uint32_t dwMode) = 0;

 protected:
  ~IPrintOemDriverUI() = default;
};

// The plug-in's interface, in the host's slot order: IUnknown, then GetInfo and DevMode (the part shared with
// rendering plug-ins), then the UI methods.
class IPrintOemUI : public com::IUnknown {
 public:
  virtual com::HResult MQ_COM_CALL GetInfo(uint32_t dwMode, void* pBuffer, uint32_t cbSize,
                                           uint32_t* pcbNeeded) = 0;
  virtual com::HResult MQ_COM_CALL DevMode(uint32_t dwMode, OemDmParam* pOemDMParam) = 0;
  virtual com::HResult MQ_COM_CALL PublishDriverInterface(com::IUnknown* pIUnknown) = 0;
  virtual com::HResult MQ_COM_CALL CommonUIProp(uint32_t dwMode, OemCuipParam* pOemCUIPParam) = 0;
  virtual com::HResult MQ_COM_CALL DocumentPropertySheets(PropSheetUiInfo* pPSUIInfo, LParam lParam) = 0;
  virtual com::HResult MQ_COM_CALL DevicePropertySheets(PropSheetUiInfo* pPSUIInfo, LParam lParam) = 0;
  virtual com::HResult MQ_COM_CALL DevQueryPrintEx(void* poemuiobj, void* pDQPInfo, void* pPublicDM,
                                                   void* pOEMDM) = 0;
  virtual com::HResult MQ_COM_CALL DeviceCapabilities(void* poemuiobj, Handle hPrinter, WChar* pDeviceName,
                                                      uint16_t wCapability, void* pOutput, void* pPublicDM,
                                                      void* pOEMDM, uint32_t dwOld, uint32_t* dwResult) = 0;
  virtual com::HResult MQ_COM_CALL UpgradePrinter(uint32_t dwLevel, uint8_t* pDriverUpgradeInfo) = 0;
  virtual com::HResult MQ_COM_CALL PrinterEvent(WChar* pPrinterName, int32_t iDriverEvent, uint32_t dwFlags,
                                                LParam lParam) = 0;
  virtual com::HResult MQ_COM_CALL DriverEvent(uint32_t dwDriverEvent, uint32_t dwLevel, uint8_t* pDriverInfo,
                                               LParam lParam) = 0;
  virtual com::HResult MQ_COM_CALL QueryColorProfile(Handle hPrinter, void* poemuiobj, void* pPublicDM,
                                                     void* pOEMDM, uint32_t ulQueryMode, void* pvProfileData,
                                                     uint32_t* pcbProfileData, uint32_t* pflProfileData) = 0;
  virtual com::HResult MQ_COM_CALL FontInstallerDlgProc(Handle hWnd, uint32_t usMsg, uintptr_t wParam,
                                                        LParam lParam) = 0;
  virtual com::HResult MQ_COM_CALL UpdateExternalFonts(Handle hPrinter, Handle hHeap,
                                                       WChar* pwstrCartridges) = 0;

 protected:
  ~IPrintOemUI() = default;
};

}  // namespace mq::host
