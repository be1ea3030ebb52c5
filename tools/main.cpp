// dorvik_assets GAME_DIR CONTACT_SHEET [ICON_DIR]: writes Pictures/, Sounds/
// and OtherFiles/ of the game folder, and the desktop icons into ICON_DIR.
// The output is the same on every run.
#include <cstdio>
#include <filesystem>

#include "Icons.h"
#include "Pictures.h"
#include "Sounds.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dorvik_assets GAME_DIR CONTACT_SHEET [ICON_DIR]\n");
        return 2;
    }
    const std::string game = argv[1];
    std::filesystem::create_directories(game + "/Pictures");
    std::filesystem::create_directories(game + "/Sounds");
    std::filesystem::create_directories(game + "/OtherFiles");
    bool ok = GeneratePictures(game + "/Pictures", argv[2]);
    ok = GenerateSounds(game + "/Sounds") && ok;
    ok = GenerateDataFiles(game + "/OtherFiles") && ok;
    if (argc > 3) {
        std::filesystem::create_directories(argv[3]);
        ok = GenerateIcons(argv[3]) && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "dorvik_assets: some files could not be written\n");
        return 1;
    }
    return 0;
}
