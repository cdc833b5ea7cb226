// d3d8.h -- the Direct3D 8 device of the layer, drawn with OpenGL.
#pragma once

#include "unknwn.h"
#include "windows.h"
