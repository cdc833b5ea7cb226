// game_database_writer.cpp -- db.cfg: the topic of the day and the enemy types.
#include <cstring>

#include "content/content.h"
#include "game/game_database.h"

namespace content {

const char* const kTopicOfTheDay = "Vugy se mnozi ve vlhku. Nenechavej otevrene okno!";

// Rewards are set against the shop: a pistol after a handful of kills, the rifle after a long game.
// No type both rages and falls: the two share one timer, so such an enemy would leave a puff of
// dust and queue its blow warning in every frame from 17 s until it lands.
const EnemyTypeContent kEnemyTypes[] = {
    {"Hrbolak obecny", "graph\\potvory\\hrbolak.bmp", nullptr, 30, 10.0f, 0,
     "Nejobycejnejsi vuga. Vyleze ze zeme,\nkouka a nic nedela. Idealni terc\npro zacatecniky."},
    {"Vztekloun", "graph\\potvory\\vztekloun.bmp", nullptr, 60, 40.0f, ETF_RAGE,
     "Po deseti vterinach zrudne vzteky\na po dvaceti vybuchne. Nenechavej\nho dozrat!"},
    {"Padavka nebeska", "graph\\potvory\\padavka.bmp", nullptr, 50, 30.0f, ETF_FALLING,
     "Pada z mraku jako kroupa. Kdyz ti\npristane na hlave, boli to."},
    {"Plivac", "graph\\potvory\\plivac.bmp", "graph\\strely\\plivanec.bmp", 70, 12.0f, ETF_SHOOTER,
     "Kazdych osm vterin po tobe plivne.\nMieri spatne, ale vytrvale."},
    {"Slidil", "graph\\potvory\\slidil.bmp", "graph\\strely\\slidivka.bmp", 100, 15.0f, ETF_SHOOTER | ETF_HOMING,
     "Jeho strely te najdou i za kopcem.\nUtikat nema smysl, strilej."},
    {"Hodny Hubert", "graph\\potvory\\hubert.bmp", nullptr, 0, 0.0f, 0,
     "Neskodny a mily tvor, ktery jen\nhleda cestu domu. NESTRILET!\nZa chvili sam zaleze."},
    {"Rychlopal", "graph\\potvory\\rychlopal.bmp", "graph\\strely\\sipka.bmp", 90, 10.0f, ETF_SHOOTER | ETF_FAST,
     "Strili malo, ale rychle. Kdo zavaha,\nschyta to mezi oci."},
    {"Kvakoun granatnik", "graph\\potvory\\kvakoun.bmp", "graph\\strely\\granat.bmp", 150, 35.0f,
     ETF_SHOOTER | ETF_EXPLOSIVE,
     "Nejdriv zakvaka, pak hodi granat.\nKdyz ho slysis kvakat, uz je pozde."},
    {"Plivajici kroupa", "graph\\potvory\\kroupa.bmp", "graph\\strely\\kroupicka.bmp", 120, 20.0f,
     ETF_FALLING | ETF_SHOOTER,
     "Spadne z nebe, a kdyz ji hned\nnezastrelis, zacne po tobe plivat.\nDvojnasobna smula."},
    {"Hnevoplivec", "graph\\potvory\\hnevoplivec.bmp", "graph\\strely\\ohnivka.bmp", 140, 25.0f,
     ETF_RAGE | ETF_SHOOTER,
     "Plive a zuri zaroven. Nez\nvybuchne, stihne te jeste trefit."},
    {"Matka vug", "graph\\potvory\\matka.bmp", "graph\\strely\\vejce.bmp", 250, 30.0f,
     ETF_SHOOTER | ETF_HOMING | ETF_FAST | ETF_EXPLOSIVE,
     "Kralovna vsech vug. Jeji vejce\nleti rychle, najdou te a vybuchnou."},
};
const int kEnemyTypeCount = sizeof(kEnemyTypes) / sizeof(kEnemyTypes[0]);

static void CopyText(char* field, size_t width, const char* text) {
    std::strncpy(field, text, width - 1);
    field[width - 1] = '\0';
}

void WriteGameDatabase(const std::string& root) {
    SGameDatabase db;
    std::memset(&db, 0, sizeof(db));
    CopyText(db.szTopic, sizeof(db.szTopic), kTopicOfTheDay);
    db.iTypeCount = kEnemyTypeCount;
    for (int i = 0; i < kEnemyTypeCount; ++i) {
        const EnemyTypeContent& src = kEnemyTypes[i];
        SEnemyType& t = db.types[i];
        CopyText(t.szTexture, sizeof(t.szTexture), src.picture);
        CopyText(t.szName, sizeof(t.szName), src.name);
        t.iReward = src.reward;
        if (src.projectile) CopyText(t.szTexture2, sizeof(t.szTexture2), src.projectile);
        t.fDamage = src.damage;
        t.dwFlags = src.flags;
        CopyText(t.szDescription, sizeof(t.szDescription), src.description);
    }
    const uint8_t* raw = reinterpret_cast<const uint8_t*>(&db);
    WriteGameFile(root, "db.cfg", Bytes(raw, raw + sizeof(db)));
}

}  // namespace content
