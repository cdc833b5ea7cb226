// d3dx8math.h -- vectors, matrices, quaternions, colours and the sphere probe.
#pragma once

#include "d3d8.h"
