// standin_sound_object.cpp -- stands in for the sound object until it exists: silent, no slots.
#include "game/sound_object.h"

CSoundManager::CSoundManager(HWND) : pMusicManager(nullptr), pSegments(), p3DAudiopath(nullptr) {}

CSoundManager::~CSoundManager() {}

int CSoundManager::LoadSegment(const char*) { return -1; }

void CSoundManager::PlaySegment(int, DWORD, DWORD) {}

void CSoundManager::StopSegment(int) {}

void CSoundManager::FreeSegment(int) {}
