// com_classes.h -- the classes that CoCreateInstance can make: the DirectMusic back end's.
#pragma once

#include "unknwn.h"

// Makes an object of the class and asks it for the interface; REGDB_E_CLASSNOTREG for a class
// the layer does not have.
HRESULT CreateDirectMusicObject(REFCLSID rclsid, REFIID riid, void** ppv);
