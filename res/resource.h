// Identifiers of the installer's resources, shared by the resource script and the C++ code.
#pragma once

#define IDD_INSTALLER 102

#define IDB_BANNER 110
#define IDI_INSTALLER 128

// Control 1 (IDOK), 2 (IDCANCEL, the Close button) and 4 (IDRETRY) are the system's
// identifiers from <winuser.h>.
#define IDC_TITLE 1000
#define IDC_DESCRIPTION 1001
#define IDC_HELP_LINK 1002
#define IDC_PROGRESS 1003
#define IDC_PICTURE 1004

#define IDS_CAPTION 140
#define IDS_CONNECTING 141
#define IDS_NO_CONNECTION 142
#define IDS_CHECK_CONNECTION 143
#define IDS_DOWNLOAD_FAILED 144
#define IDS_DOWNLOADING 145
#define IDS_HELP_LINK 146
#define IDS_CLOSE 147
#define IDS_RETRY 148
#define IDS_CANCEL_CAPTION 150
#define IDS_CANCEL_CONFIRM 151

// Strings of the China edition; present in the Chinese (Simplified) table only and not
// loaded by this installer.
#define IDS_CN_CAPTION 152
#define IDS_CN_DOWNLOAD_FAILED 153
#define IDS_CN_DOWNLOADING 154
#define IDS_CN_CANCEL_CONFIRM 155
#define IDS_CN_CHECK_CONNECTION 156
