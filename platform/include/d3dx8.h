// d3dx8.h -- the D3DX utility library of the layer: math, textures from image files, meshes.
#pragma once

#include "d3d8.h"
#include "d3dx8core.h"
#include "d3dx8math.h"
#include "d3dx8tex.h"
#include "d3dx8mesh.h"
#include "d3dx8shape.h"
