// Resource ids of uninstall.exe: its dialog templates, icon, manifest and the control ids of its three dialogs.
// This header is the only place the numbers are written: the .rc file and the dialog logic both include it,
// so it holds plain #defines only. Keep the values: the Windows test drives the dialogs by them.
#ifndef MQ_UNINSTALL_RESOURCES_H
#define MQ_UNINSTALL_RESOURCES_H

// The program's manifest (CREATEPROCESS_MANIFEST_RESOURCE_ID): administrator rights, common controls 6.
#define IDR_UNINSTALL_MANIFEST 1

// Dialog templates and the program icon.
#define IDD_UNINSTALL_ABOUT 100
#define IDD_UNINSTALL_MAIN 102
#define IDI_UNINSTALL 128
#define IDD_UNINSTALL_RESTART 129

// The system-menu command that opens the About dialog (its low four bits are the system's).
#define IDM_UNINSTALL_ABOUT 0x0010

// Main dialog. Exit is the dialog's cancel button (IDCANCEL, 2).
#define IDC_UNINSTALL_START 1002
#define IDC_UNINSTALL_NOTE 1006
#define IDC_UNINSTALL_LOG 1008
#define IDC_UNINSTALL_COMPONENTS 1010
#define IDC_UNINSTALL_SELECT 1012
#define IDC_UNINSTALL_USB_DRIVER 1019

// Restart dialog: three text lines, Yes (IDOK, 1) and No (IDCANCEL, 2).
#define IDC_RESTART_NOTE1 1014
#define IDC_RESTART_NOTE2 1015
#define IDC_RESTART_NOTE3 1016
#define IDC_RESTART_ICON 1020

// About dialog: two text lines and OK (IDOK, 1).
#define IDC_ABOUT_VERSION 1017
#define IDC_ABOUT_COPYRIGHT 1018
#define IDC_ABOUT_ICON 1021

#endif  // MQ_UNINSTALL_RESOURCES_H
