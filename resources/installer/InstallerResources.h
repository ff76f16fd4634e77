// Resource ids of installer.exe: the wizard window, its five pages, the About box, the progress dialog, the
// icon and the string of the raster check box's tip. This header is the only place the numbers are written:
// the .rc file and the wizard logic both include it. The resource compiler reads it too, so it holds plain
// #defines only.
//
// Keep every value as it is: the wizard is documented, and driven by the Windows test, by these numbers.
// Control ids are unique within one template only (1094 frames the module page's and the OS page's choices;
// 1079 is the OS page's "Windows 8" button and the progress dialog's bar).
#ifndef MQ_INSTALLER_RESOURCES_H
#define MQ_INSTALLER_RESOURCES_H

// The program's manifest (CREATEPROCESS_MANIFEST_RESOURCE_ID): common controls 6 where the system has them.
#define IDR_INSTALLER_MANIFEST 1

// Dialog templates.
#define IDD_ABOUT 100
#define IDD_WIZARD 102
#define IDD_OS_PAGE 130
#define IDD_MODULE_PAGE 131
#define IDD_PORT_PAGE 132
#define IDD_LICENSE_PAGE 133
#define IDD_MODE_PAGE 137
#define IDD_PROGRESS 141

// The program's icon, and the text of the raster check box's tip.
#define IDI_INSTALLER 128
#define IDS_RASTER_TIP 134

// The About item that the wizard adds to its system menu (a multiple of 16, as system menu commands are).
#define IDM_ABOUT 16

// Wizard window.
#define IDC_WIZARD_BACK 1002
#define IDC_WIZARD_NEXT 1
#define IDC_WIZARD_CANCEL 2
#define IDC_WIZARD_PAGE_AREA 1001
#define IDC_WIZARD_PICTURE 1087
#define IDC_WIZARD_HELP_LINE 1093

// The five pages are child dialogs of the wizard, each placed on the page area's rectangle and given one of
// these control ids, so that the wizard shows and hides them as its own controls. They are not in any
// template.
#define IDC_WIZARD_PAGE_LICENSE 1200
#define IDC_WIZARD_PAGE_MODULE 1201
#define IDC_WIZARD_PAGE_MODE 1202
#define IDC_WIZARD_PAGE_OS 1203
#define IDC_WIZARD_PAGE_PORT 1204

// About box.
#define IDC_ABOUT_VERSION 1091
#define IDC_ABOUT_COPYRIGHT 1092

// Licence page.
#define IDC_LICENSE_TEXT 1081
#define IDC_LICENSE_ACCEPT 1057
#define IDC_LICENSE_REJECT 1058
#define IDC_LICENSE_FRAME 1090

// Module page: one radio button and one model list per printer type.
#define IDC_MODULE_RECEIPT 1019
#define IDC_MODULE_TICKET 1020
#define IDC_MODULE_LABEL 1021
#define IDC_MODULE_EMBEDDED 1073
#define IDC_MODULE_RECEIPT_LIST 1030
#define IDC_MODULE_TICKET_LIST 1031
#define IDC_MODULE_LABEL_LIST 1032
#define IDC_MODULE_EMBEDDED_LIST 1074
#define IDC_MODULE_DEFAULT 1046
#define IDC_MODULE_FRAME 1094

// Mode page.
#define IDC_MODE_TYPICAL 1066
#define IDC_MODE_ADVANCED 1067
#define IDC_MODE_FRAME 1103
#define IDC_MODE_REMARKS 1104
#define IDC_MODE_NOTE1 1068
#define IDC_MODE_NOTE2 1069
#define IDC_MODE_NOTE3 1070

// OS page: one radio button per Windows version.
#define IDC_OS_98 1026
#define IDC_OS_NT 1027
#define IDC_OS_2000 1028
#define IDC_OS_XP 1029
#define IDC_OS_2003 1075
#define IDC_OS_VISTA 1076
#define IDC_OS_2008 1077
#define IDC_OS_WIN7 1078
#define IDC_OS_WIN8 1079
#define IDC_OS_FRAME 1094

// Port page.
#define IDC_PORT_LIST 1049
#define IDC_PORT_LIST_LABEL 1096
#define IDC_PORT_FRAME 1095
#define IDC_PORT_SERIAL_FRAME 1097
#define IDC_PORT_SPEED 1041
#define IDC_PORT_SPEED_LABEL 1098
#define IDC_PORT_PARITY 1043
#define IDC_PORT_PARITY_LABEL 1099
#define IDC_PORT_BYTE_SIZE 1042
#define IDC_PORT_BYTE_SIZE_LABEL 1100
#define IDC_PORT_STOP_BITS 1044
#define IDC_PORT_STOP_BITS_LABEL 1101
#define IDC_PORT_PROTOCOL 1045
#define IDC_PORT_PROTOCOL_LABEL 1102
#define IDC_PORT_IP 1106
#define IDC_PORT_IP_LABEL 1107
#define IDC_PORT_RASTER 1052
#define IDC_PORT_NOTE 1065
#define IDC_PORT_NOTE2 1105

// Progress dialog.
#define IDC_PROGRESS_FRAME 1080
#define IDC_PROGRESS_BAR 1079

#endif  // MQ_INSTALLER_RESOURCES_H
