// Resource ids of the plug-in library MQ450UI.dll: dialog templates, icons and the control ids of its pages
// and the operation editor. This header is the only place the numbers are written: the .rc files and the page
// logic both include it. It is read by the resource compiler as well as by C++, so it holds plain #defines
// only.
//
// Keep every value as it is: the pages are documented, and driven by the Windows test host, by these numbers.
// Control ids are unique within one template only; the same number names different controls on different pages
// (1020 is the editor's cut list and the Main page's paper sizes). A page's controls are named here once its
// logic reads them; until then its template writes them as numbers.
#ifndef MQ450UI_RESOURCES_H
#define MQ450UI_RESOURCES_H

// The library's own manifest (ISOLATIONAWARE_MANIFEST_RESOURCE_ID), asking for version 6 of the common
// controls.
#define IDR_MANIFEST 2

// Dialog templates. The Version page's template serves both sheets.
#define IDD_OPERATION_PAGE 103
#define IDD_OPERATION_EDITOR 104
#define IDD_VERSION_PAGE 105
#define IDD_DOWNLOAD_PAGE 113
#define IDD_UTILITY_PAGE 114
#define IDD_CONTROL_FONT_TABLE 115
#define IDD_CONTROL_FONT_TRANSLATOR 116
#define IDD_1DCODE_PAGE 117
#define IDD_2DCODE_PAGE 118
#define IDD_FONT_PAGE 119
#define IDD_MAIN_PAGE 128
#define IDD_WATERMARK_PAGE 131

// Icons of the Font page's tree: root, font, size.
#define IDI_FONT_ROOT 125
#define IDI_FONT_FACE 126
#define IDI_FONT_SIZE 127

// The operation editor's Default button: an id below the usual control range, like IDOK (1) and IDCANCEL (2).
#define IDC_EDITOR_DEFAULT 3

// Operation page: one button per moment of a print job, each with its label.
#define IDC_OPERATION_START_DOC 1011
#define IDC_OPERATION_START_PAGE 1012
#define IDC_OPERATION_END_PAGE 1013
#define IDC_OPERATION_END_DOC 1014
#define IDC_OPERATION_START_DOC_LABEL 1142
#define IDC_OPERATION_START_PAGE_LABEL 1143
#define IDC_OPERATION_END_PAGE_LABEL 1144
#define IDC_OPERATION_END_DOC_LABEL 1145

// Operation editor.
#define IDC_EDITOR_SEND_COMMAND 1015
#define IDC_EDITOR_COMMAND 1016
#define IDC_EDITOR_DRAWER_LIST 1017
#define IDC_EDITOR_CUT_LABEL 1019
#define IDC_EDITOR_CUT_LIST 1020
#define IDC_EDITOR_FEED_EDIT 1021
#define IDC_EDITOR_FEED_UPDOWN 1022
#define IDC_EDITOR_FEED_TO_CUT 1023
#define IDC_EDITOR_VOLUME_EDIT 1024
#define IDC_EDITOR_OPEN_DRAWER 1025
#define IDC_EDITOR_HERALD 1026
#define IDC_EDITOR_BUZZER_LIST 1027
#define IDC_EDITOR_LOGO_LIST 1028
#define IDC_EDITOR_LEFT 1029
#define IDC_EDITOR_CENTERED 1030
#define IDC_EDITOR_RIGHT 1031
#define IDC_EDITOR_HERALD_LIST 1032
#define IDC_EDITOR_BEFORE_CUT 1033
#define IDC_EDITOR_AFTER_CUT 1034
#define IDC_EDITOR_VOLUME_UPDOWN 1035
#define IDC_EDITOR_VOLUME_LABEL 1103
#define IDC_EDITOR_BUZZER_LABEL 1121
#define IDC_EDITOR_FEED_LABEL 1122
#define IDC_EDITOR_LOGO_LABEL 1123
#define IDC_EDITOR_ALIGN_LABEL 1124
#define IDC_EDITOR_POSITION_LABEL 1125
#define IDC_EDITOR_PREVIEW 1207

// Download page: File Download, the logo list with its preview, modes, halftones and sliders, the logo buttons.
#define IDC_DOWNLOAD_FILE_GROUP 1163
#define IDC_DOWNLOAD_FILE_INFO 1146
#define IDC_DOWNLOAD_FILE_PATH 1039
#define IDC_DOWNLOAD_BROWSE 1040
#define IDC_DOWNLOAD_DOWNLOAD_FILE 1036
#define IDC_DOWNLOAD_LOGO_GROUP 1164
#define IDC_DOWNLOAD_LOGO_LIST 1041
#define IDC_DOWNLOAD_PREVIEW 1046
#define IDC_DOWNLOAD_PREVIEW_GROUP 1165
#define IDC_DOWNLOAD_ORIGINAL 1087
#define IDC_DOWNLOAD_TRANSFORMATION 1061
#define IDC_DOWNLOAD_GRAY 1088
#define IDC_DOWNLOAD_HALFTONE_GROUP 1166
#define IDC_DOWNLOAD_HALFTONE_NONE 1089
#define IDC_DOWNLOAD_DITHER_M3 1090
#define IDC_DOWNLOAD_DITHER_M4 1091
#define IDC_DOWNLOAD_ERROR_DIFFUSE 1092
#define IDC_DOWNLOAD_ADJUST_GROUP 1167
#define IDC_DOWNLOAD_CONTRAST_LABEL 1147
#define IDC_DOWNLOAD_CONTRAST 1095
#define IDC_DOWNLOAD_CONTRAST_VALUE 1096
#define IDC_DOWNLOAD_BRIGHTNESS_LABEL 1148
#define IDC_DOWNLOAD_BRIGHTNESS 1083
#define IDC_DOWNLOAD_BRIGHTNESS_VALUE 1086
#define IDC_DOWNLOAD_ADD 1042
#define IDC_DOWNLOAD_DELETE 1043
#define IDC_DOWNLOAD_DOWNLOAD_ALL 1044
#define IDC_DOWNLOAD_CLEAR_ALL 1045
#define IDC_DOWNLOAD_NOTICE 1149

// Main page: the driver log, the document settings (graphics, zoom, the hidden rotation), paper size and
// language.
#define IDC_MAIN_LOG_GROUP 1209
#define IDC_MAIN_LOG_ENABLED 1208
#define IDC_MAIN_LOG_FOLDER 1052
#define IDC_MAIN_LOG_BROWSE 1210
#define IDC_MAIN_LOG_VIEWER 1211
#define IDC_MAIN_DOCUMENT_GROUP 1119
#define IDC_MAIN_GRAPHICS_LABEL 1120
#define IDC_MAIN_GRAPHICS_YES 1061
#define IDC_MAIN_GRAPHICS_NO 1062
#define IDC_MAIN_ZOOM 1073
#define IDC_MAIN_SCALE_LABEL 1121
#define IDC_MAIN_SCALE 1047
#define IDC_MAIN_SCALE_UPDOWN 1076
#define IDC_MAIN_ROTATE_GROUP 1124
#define IDC_MAIN_ROTATE_NORMAL 1070
#define IDC_MAIN_ROTATE_180 1071
#define IDC_MAIN_ROTATE_PICTURE_NORMAL 1072
#define IDC_MAIN_ROTATE_PICTURE_180 1074
#define IDC_MAIN_PAPER_LABEL 1122
#define IDC_MAIN_PAPER 1020
#define IDC_MAIN_LANGUAGE_LABEL 1123
#define IDC_MAIN_LANGUAGE 1021
#define IDC_MAIN_UPDATE_LANGUAGE 1049

// Utility page: the self-test, the user-defined paper sizes, and the control-font table's button.
#define IDC_UTILITY_SELFTEST 1036
#define IDC_UTILITY_SELFTEST_LABEL 1151
#define IDC_UTILITY_CHECKCOMM_LABEL 1152
#define IDC_UTILITY_FORMS_GROUP 1169
#define IDC_UTILITY_FORM_LIST 1094
#define IDC_UTILITY_DELETE 1049
#define IDC_UTILITY_NAME_LABEL 1153
#define IDC_UTILITY_NAME 1052
#define IDC_UTILITY_SAVE 1046
#define IDC_UTILITY_WIDTH_LABEL 1154
#define IDC_UTILITY_WIDTH 1047
#define IDC_UTILITY_WIDTH_UPDOWN 1053
#define IDC_UTILITY_WIDTH_RANGE 1057
#define IDC_UTILITY_HEIGHT_LABEL 1155
#define IDC_UTILITY_HEIGHT 1048
#define IDC_UTILITY_HEIGHT_UPDOWN 1054
#define IDC_UTILITY_HEIGHT_RANGE 1058
#define IDC_UTILITY_CONTROL_FONT 1037
#define IDC_UTILITY_CONTROL_FONT_LABEL 1170
#define IDC_UTILITY_CONTROL_FONT_INFO 1174

// The control-font translation table editor and its one-character dialog.
#define IDC_CONTROL_FONT_DRIVER_LABEL 1301
#define IDC_CONTROL_FONT_DRIVER 1302
#define IDC_CONTROL_FONT_LIST 1303
#define IDC_CONTROL_FONT_EDIT 1304
#define IDC_CONTROL_FONT_DELETE 1305
#define IDC_TRANSLATOR_CHAR_LABEL 1311
#define IDC_TRANSLATOR_CHAR 1312
#define IDC_TRANSLATOR_HEX_LABEL 1313
#define IDC_TRANSLATOR_HEX 1314
#define IDC_TRANSLATOR_COMMAND_LABEL 1315
#define IDC_TRANSLATOR_COMMAND 1316

// Version page. 1111, 1114 and 1115 are given texts by the page but have no control in the template.
#define IDC_VERSION_TITLE 1109
#define IDC_VERSION_RIGHTS 1110
#define IDC_VERSION_LINE3 1111
#define IDC_VERSION_PRODUCT_HEADING 1112
#define IDC_VERSION_PRODUCT 1113
#define IDC_VERSION_ADDITIONAL_HEADING 1114
#define IDC_VERSION_LINE7 1115
#define IDC_VERSION_SEPARATOR 1116
#define IDC_VERSION_LEGAL 1117

// Font page.
#define IDC_FONT_TREE 1069
#define IDC_FONT_NOTICE 1150

#endif  // MQ450UI_RESOURCES_H
