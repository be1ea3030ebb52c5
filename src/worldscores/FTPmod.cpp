#include "worldscores/FTPmod.h"

#include <algorithm>
#include <ctime>
#include <random>
#include <vector>

#include "platform/Files.h"
#include "platform/Net.h"
#include "platform/Window.h"
#include "scores/ReplayFile.h"
#include "scores/ScoreFile.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "shell/Loading.h"
#include "shell/Replay.h"
#include "worldscores/ServerFile.h"
#include "worldscores/TopWorldScore.h"

Integer Connected;
std::string ScoreServerHost;
int ScoreServerPort = 21;
std::string ScoreServerUser = "trumol4";
std::string ScoreServerPassword = "zededor";
std::string VersionFileUrl;
Integer SendScores = 8;

namespace {
const char* ServerFileName = "\\OtherFiles\\Server.txt";
// A real score table is under 2 KB; anything far larger is not one.
constexpr size_t MaxUpload = 64 * 1024;
// The whole exchange, version check included, ends within this.
constexpr auto ExchangeLimit = std::chrono::seconds(19);

NetClock::time_point Deadline = NetClock::time_point::max();

// Beside the recordings: the server they were sent to, then the keys of the
// recordings it already has, so each goes once.
const char* SentFileName = "Sent.txt";

std::string ServerId() { return ScoreServerHost + ":" + std::to_string(ScoreServerPort); }

std::vector<std::string> SentRecordings() {
    std::vector<std::string> lines;
    if (!ReadTextLines(ReplayFolderPath() + "/" + SentFileName, lines) || lines.empty() || lines[0] != ServerId())
        return {};
    lines.erase(lines.begin());
    return lines;
}

bool Contains(const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

// Stores the recording of each table entry the server does not have yet as
// "incoming/<stem>.<key>.dvr"; gives the keys of the table's entries the
// server has after this (sent before or now).
std::vector<std::string> SendRecordings(FtpSession& session, const std::string& stem, const std::string& table) {
    ScoreRecord entries[ScoreEntries];
    std::vector<std::string> held;
    if (!ParseScoreFile(table, entries)) return held;
    const std::vector<std::string> before = SentRecordings();
    for (int i = 0; i < ScoreEntries - 1; i++) {
        if (entries[i].Score.empty()) continue;
        const std::string key = ReplayKey(entries[i]);
        if (Contains(held, key)) continue;
        if (Contains(before, key)) {
            held.push_back(key);
            continue;
        }
        std::string data;
        const std::string path = ReplayFolderPath() + "/" + key + ReplayExtension;
        if (!ReadWholeFile(path, data) || data.empty() || data.size() > ReplayMaxFileBytes) continue;
        if (FtpPutFile(session, "incoming/" + stem + "." + key + ReplayExtension, data)) held.push_back(key);
    }
    return held;
}

// Digits and dots only. (Empty or starting with a dot, it never reads as newer.)
bool LooksLikeVersion(const std::string& v) {
    for (char c : v)
        if ((c < '0' || c > '9') && c != '.') return false;
    return true;
}
}  // namespace

void LoadServerFile() {
    std::string text;
    ReadWholeFile(GamePath(ServerFileName), text);  // missing: the defaults
    const ScoreServerSettings s = ParseServerFile(text);
    ScoreServerHost = s.Host;
    ScoreServerPort = s.Port;
    ScoreServerUser = s.User;
    ScoreServerPassword = s.Password;
    VersionFileUrl = s.VersionUrl;
    SendScores = s.SendScores;
}

void SaveSendScores() {
    const std::string path = GamePath(ServerFileName);
    std::string text;
    if (!ReadWholeFile(path, text)) text = ServerFileText(ScoreServerSettings{});
    WriteFileAtomic(path, ServerFileWithSend(text, SendScores));
}

Integer CheckConnection() {
    Connected = InternetConnected() ? -1 : 0;
    return Connected;
}

bool DownloadToFile(const std::string& url, const std::string& file) { return HttpDownloadToFile(url, file, Deadline); }

bool CheckNewVersion() {
    if (VersionFileUrl.empty()) return false;  // none set: nothing to ask
    const std::string file = GamePath("\\OtherFiles\\NewVer.txt");
    DownloadToFile(VersionFileUrl, file);  // a failed download leaves an earlier copy
    std::vector<std::string> lines;
    std::string newest;
    if (ReadTextLines(file, lines) && !lines.empty()) newest = Trim(Mid(lines[0], 1, 4));
    // An error page that slipped through holds no version: it must not
    // announce one.
    if (!LooksLikeVersion(newest)) newest.clear();
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

std::string UploadName() {
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    std::random_device rd;
    std::uniform_int_distribution<unsigned> hex(0, 15);
    std::string random;
    for (int i = 0; i < 16; i++) random += "0123456789abcdef"[hex(rd)];
    return std::string(stamp) + "-" + random + ".dvk";
}

void SynchronizeScores() {
    if (ScoreServerHost.empty()) return;
    Deadline = NetClock::now() + ExchangeLimit;
    ResetLoadingProgress();
    DoEvents();
    // Said before the version check, which may take a while itself.
    LoadingText = "Connecting for download..";
    LoadingProgress();
    if (CheckNewVersion()) {
        Deadline = NetClock::time_point::max();
        return;
    }
    // One session, one control connection, for every step below.
    FtpSession session;
    FtpConnect(session, ScoreServerHost, ScoreServerPort, ScoreServerUser, ScoreServerPassword, Deadline);
    LoadingProgress();
    std::string dir;
    LoadingProgress();
    FtpGetCurrentDirectory(session, dir);
    if (SendScores == 0) {
        // The local table exactly as it lies on disk, with its entries' recordings.
        std::string table;
        if (ReadWholeFile(GamePath("\\AtopDv118.dvk"), table) && !table.empty() && table.size() <= MaxUpload) {
            LoadingText = "Sending scores..";
            LoadingProgress();
            // The recordings go first, so the table finds them complete when
            // the server sees it; they count as sent only once the table is.
            const std::string name = UploadName(), stem = name.substr(0, name.size() - 4);
            const std::vector<std::string> held = SendRecordings(session, stem, table);
            if (FtpPutFile(session, "incoming/" + name, table) && !held.empty()) {
                std::string memo = ServerId() + "\n";
                for (const std::string& key : held) memo += key + "\n";
                WriteFileAtomic(ReplayFolderPath() + "/" + SentFileName, memo);
            }
        }
    }
    LoadingText = "Downloading..";
    LoadingProgress();
    FtpSetCurrentDirectory(session, dir);
    FtpGetFile(session, "default.htm", GamePath("\\OtherFiles\\Default.htm"), true);
    // The world table is replaced only by a complete download, so a failed
    // exchange keeps the table the player had.
    const std::string world = GamePath("\\Vedov.dvk");
    FtpGetFile(session, "Vedov.dvk", world, false);
    FtpGetFile(session, "/Vedov.dvk", world, false);
    FtpClose(session);
    Deadline = NetClock::time_point::max();
    // The new table is shown at once.
    WorldReadCounter = 0;
    LoadingProgress();
    LoadingProgress();
    CheckConnection();
}

bool DownloadWorldRecording(const ScoreRecord& entry, std::string& bytes) {
    if (ScoreServerHost.empty()) return false;
    const auto deadline = NetClock::now() + ExchangeLimit;
    const std::string remote = std::string("replays/") + ReplayKey(entry) + ReplayExtension;
    // Beside the table's own recordings, under a name they never have.
    const std::string folder = ReplayFolderPath();
    const std::string local = folder + "/World.dvr";
    if (!MakeFolder(folder)) return false;
    LoadingText = "Downloading the recording..";
    ResetLoadingProgress();
    LoadingProgress();
    FtpSession session;
    // Where the server's login folder is not its served folder, from the root.
    const bool got = FtpConnect(session, ScoreServerHost, ScoreServerPort, ScoreServerUser, ScoreServerPassword,
                                deadline) &&
                     (FtpGetFile(session, remote, local, false) || FtpGetFile(session, "/" + remote, local, false));
    FtpClose(session);
    LoadingProgress();
    const bool read = got && ReadWholeFile(local, bytes);
    DeleteFileIfThere(local);
    return read;
}
