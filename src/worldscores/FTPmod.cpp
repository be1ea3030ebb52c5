#include "worldscores/FTPmod.h"

#include <vector>

#include "platform/Files.h"
#include "platform/Net.h"
#include "platform/Window.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "shell/Loading.h"

Integer Connected;
std::string ScoreServerHost = "scores.snowfield-works.example";
int ScoreServerPort = 21;
std::string VersionFileUrl = "http://www.snowfield-works.example/dorvik/NewVer.txt";

namespace {
// The handles stay open for the rest of the run, as the exchange leaves them.
FtpSession Session;
}

Integer CheckConnection() {
    Connected = InternetConnected() ? -1 : 0;
    return Connected;
}

bool DownloadToFile(const std::string& url, const std::string& file) { return HttpDownloadToFile(url, file); }

bool CheckNewVersion() {
    const std::string file = GamePath("\\OtherFiles\\NewVer.txt");
    DownloadToFile(VersionFileUrl, file);  // a failed download leaves an earlier copy
    std::vector<std::string> lines;
    std::string newest;
    if (ReadTextLines(file, lines) && !lines.empty()) newest = Trim(Mid(lines[0], 1, 4));
    // Compared as text, as the version file has always been read.
    if (newest > "1.22") {
        ShowMessageBox("Dorvik", "New Dorvik " + newest + " is online.\r\n" +
                                     "If you want to upload scores you must download the latest version of Dorvik",
                       MB_OK_INFO);
        ShowMessageBox("Dorvik", "Do you want to download it now?", MB_YESNO_QUESTION);
        return true;
    }
    return false;
}

void SynchronizeScores() {
    if (CheckNewVersion()) return;
    ResetLoadingProgress();
    DoEvents();
    LoadingText = "Connecting for download..";
    LoadingProgress();
    FtpConnect(Session, ScoreServerHost, ScoreServerPort, "trumol4", "zededor");
    LoadingProgress();
    std::string dir;
    LoadingProgress();
    FtpGetCurrentDirectory(Session, dir);
    LoadingText = "Downloading..";
    LoadingProgress();
    FtpSetCurrentDirectory(Session, dir);
    FtpGetFile(Session, "default.htm", GamePath("\\OtherFiles\\Default.htm"), true);
    // The world table is replaced only by a complete download, so a failed
    // exchange keeps the table the player had.
    const std::string world = GamePath("\\Vedov.dvk");
    FtpGetFile(Session, "Vedov.dvk", world, false);
    FtpGetFile(Session, "/Vedov.dvk", world, false);
    LoadingProgress();
    LoadingProgress();
    CheckConnection();
}
