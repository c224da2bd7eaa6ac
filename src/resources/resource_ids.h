// Resource identifiers of gleamo.scr. Shared by the resource script and the code.
#pragma once

// Icon
#define IDI_GLEAMO 104

// Name of the saver in the system's list of screen savers
#define IDS_DESCRIPTION 1

// Error message shown by the saver and the settings dialog
#define IDS_UNEXPECTED_ERROR 401

// Speed words of the display page, for trackbar positions 1 (fast) to 5 (slow)
#define IDS_SPEED_FAST 1001
#define IDS_SPEED_SOMEWHAT_FAST 1002
#define IDS_SPEED_NORMAL 1003
#define IDS_SPEED_SOMEWHAT_SLOW 1004
#define IDS_SPEED_SLOW 1005

// Tab captions of the settings dialog
#define IDS_TAB_PICTURES 1011
#define IDS_TAB_DISPLAY 1012
#define IDS_TAB_BACKGROUND 1013
#define IDS_TAB_MUSIC 1014

// Open-file dialog filters ('/' stands for the separating zero)
#define IDS_FILTER_PICTURES 2001
#define IDS_FILTER_MUSIC 2002

// Title of the folder browser
#define IDS_SELECT_FOLDER 3001
