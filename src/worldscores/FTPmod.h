// The score exchange: the connection check, the new-version check and the
// download of the world table from the score server over FTP. The game only
// downloads; it sends nothing.
#pragma once

#include <string>

#include "shell/Basic.h"

extern Integer Connected;
// The score server and the version file; tests point them at local servers.
extern std::string ScoreServerHost;
extern int ScoreServerPort;
extern std::string VersionFileUrl;

Integer CheckConnection();
void SynchronizeScores();
bool CheckNewVersion();
bool DownloadToFile(const std::string& url, const std::string& file);
