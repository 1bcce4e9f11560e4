// Resource and control ids, shared by varnowel.rc and the dialog code.
#pragma once

// Resources
#define IDD_MAIN 129
#define IDD_ABOUT 103
#define IDR_MAINMENU 109
#define IDI_VARNOWEL 107
#define IDI_VARNOWEL_SMALL 108
#define IDM_VERSION 105

// Main dialog: controls outside the layer rows (1 and 2 are IDOK and IDCANCEL)
#define IDC_PREVIEW_PICTURE 1017
#define IDC_PREVIEW 1018

// Main dialog: layer rows 1, 2 and 3
#define IDC_PATH_1 1002
#define IDC_PATH_2 1003
#define IDC_PATH_3 1004
#define IDC_TRANSPARENCY_1 1005
#define IDC_TRANSPARENCY_2 1006
#define IDC_TRANSPARENCY_3 1007
#define IDC_ENABLE_1 1008
#define IDC_ENABLE_2 1009
#define IDC_ENABLE_3 1010
#define IDC_BAR_1 1011
#define IDC_BAR_2 1012
#define IDC_BAR_3 1013
#define IDC_OPEN_1 1014
#define IDC_OPEN_2 1015
#define IDC_OPEN_3 1016
#define IDC_GRAYSCALE_1 1019
#define IDC_GRAYSCALE_2 1020
#define IDC_GRAYSCALE_3 1021
