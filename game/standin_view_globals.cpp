// standin_view_globals.cpp -- stands in for the player movement and death screen modules until they
// exist: the view they write and the screens' scratch line.
#include "d3dx8math.h"

D3DXVECTOR3 g_vEye;
D3DXVECTOR3 g_vLookAt;
D3DXVECTOR3 g_vUp;
char g_szText[256];
