// standin_geometry.cpp -- stands in for the geometry set-up until it exists.
#include "shell/geometry.h"

HRESULT InitGeometry() { return S_OK; }
