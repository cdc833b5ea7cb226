// resource.h -- numbers of the program's resources and of the settings dialog's controls.
#pragma once

#include "windows.h"

// Defined beside the resource tables, so that whatever names a resource links the tables in.
extern const WORD IDD_SETTINGS;
extern const WORD IDI_TREVOK;

#define IDC_STATIC (-1)
#define IDC_QUIT 1016
#define IDC_START 1017
#define IDC_GROUP_D3D 1018
#define IDC_GROUP_INPUT 1019
#define IDC_RESOLUTION 1023
#define IDC_FILTER 1031
#define IDC_FULLSCREEN 1033
#define IDC_VSYNC 1040
#define IDC_VERTEXPROC 1041
#define IDC_INVERTMOUSE 1042
#define IDC_MULTISAMPLE 1049
#define IDC_SENSITIVITY 1050
#define IDC_DEPTH 1052
#define IDC_FOG 1053
