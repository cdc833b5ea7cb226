// d3dx8mesh.h -- meshes and buffers.
#pragma once

#include "d3d8.h"
