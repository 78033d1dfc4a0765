// The number of every text the program shows, named once; each language's string table
// (texts/*.rc) holds a text for each. Only #define lines, for the resource compiler.
#pragma once

// The launcher.
#define IDS_LAUNCHER_CAPTION 2000
#define IDS_SCREEN_SAVER_CAPTION 2001
#define IDS_IMAGE_LABEL 2002
#define IDS_MUSIC_LABEL 2003
#define IDS_PICTURE_LABEL 2004
#define IDS_RAIN_LABEL 2005
#define IDS_CHANGE_LABEL 2006
#define IDS_LAUNCH 2007
#define IDS_WALLPAPER 2008
#define IDS_ABOUT 2009
#define IDS_MORE_APPS 2010
#define IDS_DEFAULT_BUTTON 2011
#define IDS_DEFAULT_TIP 2012
#define IDS_BROWSE_IMAGE_TIP 2013
#define IDS_BROWSE_FOLDER_TIP 2014
#define IDS_BROWSE_MUSIC_TIP 2015
#define IDS_CAPTURE_SCREEN 2016
#define IDS_NO_MUSIC 2017

// The Picture, Rain and Change lists, in the order of the settings they write.
#define IDS_PLACEMENT_FIRST 2020
#define IDS_PLACEMENT_STRETCH 2020
#define IDS_PLACEMENT_CENTRE 2021
#define IDS_PLACEMENT_FILL 2022
#define IDS_PLACEMENT_FIT 2023
#define IDS_RAIN_FIRST 2024
#define IDS_RAIN_NONE 2024
#define IDS_RAIN_LIGHT 2025
#define IDS_RAIN_NORMAL 2026
#define IDS_RAIN_HEAVY 2027
#define IDS_CHANGE_FIRST 2028
#define IDS_CHANGE_MINUTE 2028
#define IDS_CHANGE_5_MINUTES 2029
#define IDS_CHANGE_15_MINUTES 2030
#define IDS_CHANGE_HOUR 2031
#define IDS_CHANGE_NEVER 2032
#define IDS_CHANGE_OWN 2033
// A text that carries a number is its form for the plural category "other"; the forms of the
// other categories follow it, zero to many, in the languages whose words change with the
// number (pluralFormId). A table without a form says the text's own.
#define IDS_CHANGE_OWN_ZERO 2034
#define IDS_CHANGE_OWN_ONE 2035
#define IDS_CHANGE_OWN_TWO 2036
#define IDS_CHANGE_OWN_FEW 2037
#define IDS_CHANGE_OWN_MANY 2038

// The file and folder dialogs.
#define IDS_IMAGE_FILES 2040
#define IDS_ALL_PICTURES 2041
#define IDS_MUSIC_FILES 2042
#define IDS_ALL_FILES 2043
#define IDS_CHOOSE_FOLDER 2044

// Notices.
#define IDS_IMAGE_CAPTION 2050
#define IDS_MUSIC_CAPTION 2051
#define IDS_NOT_PICTURE 2052
#define IDS_NO_PICTURES 2053
#define IDS_NOT_MUSIC 2054
#define IDS_SETTINGS_BUSY 2055
#define IDS_WALLPAPER_UNSTARTABLE 2056

// The error box: its caption, the line with the error's number, the support lines, and each
// error's explanation, numbered IDS_ERROR_BASE plus the error's number.
#define IDS_ERROR_CAPTION 2060
#define IDS_ERROR_CODE 2061
#define IDS_SUPPORT 2062
#define IDS_ERROR_BASE 3000

// The wallpaper's menu in the notification area.
#define IDS_MENU_PAUSE 2070
#define IDS_MENU_RESUME 2071
#define IDS_MENU_SETTINGS 2072
#define IDS_MENU_SIGN_IN 2073
#define IDS_MENU_STOP 2074
#define IDS_MENU_TRY_AGAIN 2075
// The notification icon's balloon when the water cannot be seen on the desktop.
#define IDS_WALLPAPER_UNSEEN 2076
// The launcher's notice for a settings file this user may not read.
#define IDS_SETTINGS_UNREADABLE 2077

// The About panel's ticker headline.
#define IDS_MORE_PROGRAMS 2080
