// Identifiers of Lumivane's resources, menu entries and controls; the Wine tests drive the
// program through them. Used by the resource script, so only #define lines.
#pragma once

#define IDI_LUMIVANE 1
#define IDR_FORM1_MENU 100
#define IDD_FRMABOUT 200

// Menu entries of Form1.
#define IDM_INSTALL 110
#define IDM_REMOVE 111
#define IDM_ABOUT 112

// Controls of Form1.
#define IDC_CHECK1 1001
#define IDC_CHECK2 1002
#define IDC_COMBO1 1003
#define IDC_COMBO2 1004
#define IDC_SLIDER1 1005
#define IDC_SLIDER2 1006
#define IDC_COMMAND1 1007
#define IDC_PICTURE1 1008
#define IDC_LABEL1 1011
#define IDC_LABEL2 1012
#define IDC_LABEL3 1013
#define IDC_LABEL4 1014
#define IDC_LABEL5 1015
#define IDC_LABEL6 1016

// Controls of frmAbout.
#define IDC_PICICON 201
#define IDC_LBLTITLE 202
#define IDC_LBLVERSION 203
#define IDC_LBLDESCRIPTION 204
#define IDC_LINE1 205
#define IDC_CMDSYSINFO 206
