// generate_content.cpp -- writes the game's data files into the directory given on the command line.
#include <cstdio>
#include <string>

#include "content/content.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    content::WriteGameDatabase(root);
    content::WriteTerrain(root);
    content::WriteWorldTextures(root);
    content::WriteHudPictures(root);
    content::WriteWeaponPictures(root);
    content::WriteCreaturePictures(root);
    content::WriteIntroPictures(root);
    content::WriteSoundEffects(root);
    content::WriteIntroMusic(root);
    return 0;
}
