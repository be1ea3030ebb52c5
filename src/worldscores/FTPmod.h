// The score exchange: the connection check, the new-version check and the
// exchange with the score server over FTP. The game downloads the world table
// and, only when the player has switched sending on, uploads its own score
// table file and the recordings of its entries, nothing else.
#pragma once

#include <string>

#include "scores/TopScoreList.h"
#include "shell/Basic.h"

extern Integer Connected;
// The score server, the version file and the send switch, from
// "\OtherFiles\Server.txt"; tests set them directly.
extern std::string ScoreServerHost;  // empty: no score server set
extern int ScoreServerPort;
extern std::string ScoreServerUser;
extern std::string ScoreServerPassword;
extern std::string VersionFileUrl;  // empty: no version check
extern Integer SendScores;          // 0 on, 8 off

// Reads "\OtherFiles\Server.txt" into the globals above (defaults when the
// file is missing or a value is unusable).
void LoadServerFile();
// Writes the send switch into "\OtherFiles\Server.txt", keeping every other line.
void SaveSendScores();

Integer CheckConnection();
void SynchronizeScores();
bool CheckNewVersion();
bool DownloadToFile(const std::string& url, const std::string& file);
// The name an upload gets in the server's "incoming/" folder: the date, the
// time and a random part, so two uploads never share a name.
std::string UploadName();
// Fetches the score server's recording of a world entry
// ("replays/<ReplayKey>.dvr") into bytes; false when it has none or cannot be
// reached.
bool DownloadWorldRecording(const ScoreRecord& entry, std::string& bytes);
