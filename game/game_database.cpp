// game_database.cpp -- the game database, the weapon table and the game's globals.
#include "game/game_database.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "shell/disk_file.h"
#include "windows.h"

SGameDatabase g_GameDB;

SWeapon g_Weapons[WEAPON_COUNT] = {
    {"graph\\no.bmp", "graph\\motor.bmp", "sound\\motor.wav", "Motorovka", "Motorovka",
     "-zbran nablízko", 0.8f, 0.75f, 0, 0, 0, 0, 1, 1, 1000.0f, 8.0f, 0.1f, 0.1f},
    {"graph\\icodeagle.tga", "graph\\deagle.bmp", "sound\\deagle.wav", "Desert Eagle", "IMI Desert Eagle",
     "-nepresna, ale dobra pistole", 0.8f, 0.75f, 0, 0, 0, 200, 10, 7, 25.0f, 10.0f, 0.3f, 0.3f},
    {"graph\\icobrok.tga", "graph\\brok.bmp", "sound\\shotgun.wav", "Brokovnice", "Brokovnice",
     "-spousta broku s velkym rozptylem\n-velmi efektivni na kratkou vzdalenost", 0.5f, 0.75f, 0, 0, 0, 2400,
     50, 8, 20.0f, 6.0f, 1.0f, 1.0f},
    {"graph\\icokalach.tga", "graph\\kalach.bmp", "sound\\kalach.wav", "Kalashnikov", "Automat Kalashnikov",
     "-vysoka kadence\n-slusna presnost", 0.7f, 0.6f, 0, 0, 0, 4000, 30, 30, 30.0f, 14.0f, 0.1f, 0.1f},
    {"graph\\icoawm.tga", "graph\\awm.bmp", "sound\\awm.wav", "AWM - AVE", "Arctic Warfare/Magnum - Anti VUGA Edition",
     "\n-velice presna odstrelovacka", 0.63f, 0.53f, 0, 0, 0, 6000, 150, 10, 200.0f, 110.0f, 2.0f, 3.0f},
    {"graph\\icoflame.bmp", "graph\\flame.bmp", "sound\\plamen.wav", "Plamenomet", "Plamenomet", "", 0.0f, 0.0f, 0, 0,
     0, 4800, 40, 150, 30.0f, 8.0f, 0.05f, 0.05f},
};

SInventoryEntry g_Inventory[WEAPON_COUNT];

int g_iGameState = GS_MAINMENU;
int g_iScore = 0;
int g_iMoney = 0;
int g_iKills = 0;
int g_iLives = 0;
int g_iHealth = 0;
int g_iCurrentWeapon = 0;
float g_fZoom = 4.0f;
float g_fShake = 0.0f;
float g_fGameTime = 0.0f;
float g_fSpawnTimer = 0.0f;
int g_iMuzzleFlash = 0;
CCellCoord g_ptCursor(0, 0);
float g_fForward = 0.0f;
float g_fStrafe = 0.0f;
float g_fYaw = 0.0f;
float g_fPitch = 0.0f;
char g_szTargetText[256];
char g_szNumber[20];

int g_iTexCross = 0;
int g_iTexCircle = 0;
int g_iTexAwmLook = 0;
int g_iTexBlood = 0;
int g_iTexFlame = 0;
int g_iTexDust = 0;
int g_iTexExp = 0;
int g_iTexHudIcons = 0;
int g_iTexMotor2 = 0;
int g_iTexPlot = 0;

int g_iSndZuch = 0;
int g_iSndZoom = 0;
int g_iSndEnemyDown = 0;
int g_iSndFallback = 0;
int g_iSndHosDown = 0;
int g_iSndBlow = 0;
int g_iSndExplode = 0;
int g_iSndKrk = 0;
int g_iSndKill[3];
const char* const g_szKillSounds[3] = {"sound\\kill1.wav", "sound\\kill2.wav", "sound\\kill3.wav"};

// Forces a text field to end within its width; true when it did not.
static bool TerminateField(char* field, size_t width) {
    const bool open = std::memchr(field, '\0', width) == nullptr;
    field[width - 1] = '\0';
    return open;
}

// Brings a database read from disk within the limits the game relies on: at most 16 types in
// use and every text ending inside its field. Says once on standard error what it changed.
static void CheckGameDatabase(SGameDatabase* db) {
    std::string said;
    if (db->iTypeCount < 0 || db->iTypeCount > MAX_ENEMY_TYPES) {
        const int taken = db->iTypeCount < 0 ? 0 : MAX_ENEMY_TYPES;
        said = " type count " + std::to_string(db->iTypeCount) + " taken as " + std::to_string(taken) + ";";
        db->iTypeCount = taken;
    }
    std::string cut = TerminateField(db->szTopic, sizeof(db->szTopic)) ? " topic" : "";
    for (int i = 0; i < MAX_ENEMY_TYPES; ++i) {
        SEnemyType& t = db->types[i];
        const int open = TerminateField(t.szTexture, sizeof(t.szTexture)) + TerminateField(t.szName, sizeof(t.szName)) +
                         TerminateField(t.szTexture2, sizeof(t.szTexture2)) +
                         TerminateField(t.szDescription, sizeof(t.szDescription));
        if (open) cut += " type" + std::to_string(i);
    }
    if (!cut.empty()) said += " texts cut to end within their fields in:" + cut + ";";
    if (!said.empty()) std::fprintf(stderr, "trevok: db.cfg corrected:%s\n", said.substr(0, said.size() - 1).c_str());
}

// A file that opened but ended early has filled only the start of the block; the rest keeps what
// it held. The player is told, once, how much was there.
static void ReportShortDatabase(DWORD read) {
    char text[96];
    std::snprintf(text, sizeof text, "Soubor db.cfg je neuplny: nacteno %u z %u bajtu.", unsigned(read),
                  unsigned(sizeof(SGameDatabase)));
    MessageBoxA(nullptr, text, "Error", MB_ICONERROR);
}

void LoadGameDatabase() {
    CDiskFile* file = new CDiskFile("db.cfg", 0);
    const DWORD read = file->Read(&g_GameDB, sizeof(g_GameDB));
    const bool opened = file->IsOpen();
    delete file;
    if (opened && read < sizeof(g_GameDB)) ReportShortDatabase(read);
    CheckGameDatabase(&g_GameDB);
}

void SaveGameDatabase() {
    CDiskFile* file = new CDiskFile("db.cfg", 0xFFFF);
    file->Write(&g_GameDB, sizeof(g_GameDB));
    delete file;
}
