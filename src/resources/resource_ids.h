// Every resource and control number of the program, named once. The resource script, the
// code and the end-to-end scripts (through scripts/lib/resource_ids.sh) all read this file, so
// it holds only #define lines that the resource compiler understands.
#pragma once

// Dialogs.
#define IDD_ABOUT_PANEL 100
#define IDD_SHOW 101
#define IDD_LAUNCHER 715

// The program's icon.
#define IDI_PROGRAM 102

// The About panel's pictures: the background bitmap, and PNG pictures as RCDATA.
#define IDB_ABOUT_BACKGROUND 701
#define IDR_SOCIAL2_HOVER 702
#define IDR_SOCIAL2 703
#define IDR_CLOSE_HOVER 704
#define IDR_CLOSE 705
#define IDR_DONATE_HOVER 706
#define IDR_DONATE 707
#define IDR_SOCIAL1_HOVER 708
#define IDR_SOCIAL1 709
#define IDR_GP_HOVER 710
#define IDR_GP 711
#define IDR_TICKER 712
#define IDR_VISIT_HOVER 713
#define IDR_VISIT 714

// The same pictures drawn for monitors scaled to 125, 150 and 200 %, numbered as the 100 %
// picture plus these; at those scales the background is a PNG picture too.
#define ABOUT_ART_125 1000
#define ABOUT_ART_150 2000
#define ABOUT_ART_200 3000

// Controls without a number of their own (labels, the About panel's background).
#define IDC_STATIC -1

// The launcher's controls. The music's default button is the dialog's default push button
// (IDOK), so that Enter presses it.
#define IDC_MUSIC_DEFAULT 1
#define IDC_IMAGE_DEFAULT 1000
#define IDC_MUSIC_FIELD 1002
#define IDC_IMAGE_FIELD 1003
#define IDC_LAUNCH 1004
#define IDC_ABOUT 1006
#define IDC_MORE_APPS 1015
#define IDC_BROWSE_IMAGE 1016
#define IDC_BROWSE_MUSIC 1017
#define IDC_PLACEMENT 1018
#define IDC_RAIN 1019
#define IDC_BROWSE_FOLDER 1020
#define IDC_CHANGE 1021
#define IDC_WALLPAPER 1022
#define IDC_IMAGE_LABEL 1023
#define IDC_MUSIC_LABEL 1024
#define IDC_PICTURE_LABEL 1025
#define IDC_RAIN_LABEL 1026
#define IDC_CHANGE_LABEL 1027

// The About panel's controls.
#define IDC_TICKER 1000
#define IDC_VISIT 1001
#define IDC_DONATE 1009
#define IDC_SOCIAL1 1012
#define IDC_SOCIAL2 1013
#define IDC_GP 1014
#define IDC_ABOUT_CLOSE 1015

// The water's window inside the show.
#define IDC_WATER 555
