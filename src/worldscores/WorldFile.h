// The text of the world file "\Vedov.dvk": records coded by NumberCodeText,
// "END", the upload count and the last update date. Only the standard
// library, so the score server and the fuzz targets build it alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scores/TopScoreList.h"

constexpr int WorldEntries = 501;

// Every character as its decimal code followed by "-" (encode), or back.
std::string NumberCodeText(const std::string& text, bool encode);

struct WorldTable {
    std::vector<ScoreRecord> Records;  // entry 0 first
    long Uploads = 0;                  // UploadsByAll
    std::string LastUpdate;            // "dd.mm.yyyy"
};

// The whole file, CR LF line ends.
std::string WorldFileText(const WorldTable& table);
// Reads records up to "END" and the two trailer lines. False when there is no
// "END" within 501 records; an unreadable upload count reads as 0.
bool ParseWorldFile(std::string_view data, WorldTable& table);
