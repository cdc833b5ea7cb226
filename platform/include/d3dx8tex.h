// d3dx8tex.h -- textures created from image files.
#pragma once

#include "d3d8.h"
