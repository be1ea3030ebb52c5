// Where the game's files are. Two layouts, decided once from where the shipped
// files lie:
//   portable   the shipped files beside the executable; the game writes there too.
//   installed  PREFIX/bin/dorvik with the shipped files in PREFIX/share/dorvik;
//              every file the game writes lives in the player's data folder
//              ($XDG_DATA_HOME/dorvik, by default ~/.local/share/dorvik), and a
//              missing one is first copied from the shipped copy.
// Game code keeps asking GamePath for literal game paths; the mapping is here.
#pragma once

#include <string>
#include <string_view>

struct GameFolders {
    std::string Shipped;  // Pictures/, Sounds/, OtherFiles/ as built
    std::string Data;     // where the game writes; the same folder when portable
};

// The layout for an executable in exeFolder. xdgDataHome and home are the
// values of those variables ("" when unset).
GameFolders FindGameFolders(const std::string& exeFolder, const std::string& xdgDataHome, const std::string& home);

// The folders in use (found from the running executable on first use).
const GameFolders& CurrentGameFolders();
void SetGameFolders(const GameFolders& folders);

// The folder the game writes into.
const std::string& PlayerDataPath();

// Whether the game writes the file at this game path ("OtherFiles/Options.txt",
// slashes, no leading one): settings, score tables, the downloaded files, the
// generated terrain bitmaps and screenshots. Sets canonical to the spelling the
// file is created with.
bool IsPlayerFile(std::string_view relative, std::string& canonical);
