#pragma once
// Resource, control and command ids that the program and its .rc share.

#define IDD_TOOLBAR 102
#define IDR_IMAGE_HITMAP 131
#define IDR_TOOLBAR_MENU 132
#define IDR_IMAGE_SKIN 159
#define IDI_PROGRAM 161

#define ID_MENU_MANUAL 32775
#define ID_MENU_SUPPORT 32777
#define ID_MENU_LOG_FOLDER 32778
