#include "server/Merge.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <unordered_set>

#include "scores/ReplayFile.h"
#include "scores/ScoreFile.h"
#include "server/Upload.h"
#include "server/Verified.h"
#include "server/WorldPage.h"

namespace {
long ScoreOf(const ScoreRecord& r) {
    long v = 0;
    size_t i = 0;
    while (i < r.Score.size() && r.Score[i] >= '0' && r.Score[i] <= '9' && v < 1000000)
        v = v * 10 + (r.Score[i++] - '0');
    return v;
}

std::string Trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// Sorts by score, keeps the first of each player/date/score and cuts to WorldKeep.
void Prune(std::vector<ScoreRecord>& list) {
    std::vector<std::pair<long, size_t>> order;
    order.reserve(list.size());
    for (size_t i = 0; i < list.size(); i++) order.emplace_back(-ScoreOf(list[i]), i);
    std::sort(order.begin(), order.end());  // the index breaks ties: earlier first
    std::unordered_set<std::string> seen;
    std::vector<ScoreRecord> kept;
    for (auto& [negScore, i] : order) {
        if (kept.size() == WorldKeep) break;
        if (negScore >= 0) break;  // empty or worthless entries never show
        const ScoreRecord& r = list[i];
        if (!seen.insert(Trimmed(r.Score) + '\n' + Trimmed(r.Date) + '\n' + Trimmed(r.Name)).second) continue;
        kept.push_back(std::move(list[i]));
    }
    list = std::move(kept);
}

// ---- files ----

// At most cap + 1 bytes of a regular file (links are not followed, and a pipe
// cannot block the run); modified gets the file's time.
std::string ReadAll(const std::string& path, size_t cap, bool& tooBig, std::string& why,
                    std::time_t* modified = nullptr) {
    tooBig = false;
    std::string data;
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = fd >= 0 || errno == ELOOP ? "not a regular file" : std::strerror(errno);
        if (fd >= 0) close(fd);
        return data;
    }
    if (modified) *modified = st.st_mtime;
    data.resize(std::min<size_t>(cap + 1, st.st_size + 1));
    size_t got = 0;
    for (;;) {
        if (got == data.size()) {
            if (got > cap) break;
            data.resize(std::min(cap + 1, got * 2 + 4096));
        }
        ssize_t n = read(fd, &data[got], data.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) why = std::strerror(errno);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
        if (got == static_cast<size_t>(st.st_size)) break;  // all there was when opened
    }
    close(fd);
    data.resize(got);
    tooBig = got > cap;
    return data;
}

bool SyncDir(const std::string& dir) {
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

// Temp file beside the target, flushed, renamed over it: readers and a crash
// see the old file or the new one, never half of one.
bool WriteAtomic(const std::string& dir, const std::string& name, const std::string& data) {
    std::string tmp = dir + "/." + name + ".tmp", path = dir + "/" + name;
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    bool ok = done == data.size() && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return SyncDir(dir);
}

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Moves an upload into done/ or rejected/ without replacing an earlier one
// of the same name. False with errno ENOENT when it is gone already.
bool MoveInto(const std::string& from, const std::string& dir, const std::string& name) {
    std::string to = dir + "/" + name;
    for (int n = 2; n < 1000; n++) {
        if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
        if (errno == EINVAL && !Exists(to)) return rename(from.c_str(), to.c_str()) == 0;  // no such flag here
        if (errno != EEXIST) return false;
        to = dir + "/" + name + "." + std::to_string(n);
    }
    return false;
}

// Names and reasons kept on one line: control bytes and '%' as %XX.
std::string Escaped(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x20 || c == 0x7F || c == '%') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string Unescaped(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); i++) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += static_cast<char>(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Tests end the run here, as a crash or power cut would.
void CrashPoint(const char* step) {
    const char* at = std::getenv("DORVIK_SCORES_CRASH_AT");
    if (at && std::strcmp(at, step) == 0) _exit(70);
}

// ---- one batch ----

// The batch file is the merge's commit point: it is written before anything
// else changes and names every upload of the run with its verdict and the
// upload count before it. Applying a batch is idempotent (records merge by
// player/date/score, the count is recomputed from the batch, uploads still in
// incoming/ are the ones not yet moved), so a run interrupted anywhere after
// it is finished by the next run, and no upload is ever counted twice.
// When verifying, each record's verdict is in it too: finishing a batch
// replays nothing.

// What became of one record of an accepted upload.
struct Verdict {
    char Kind = 'u';   // 'u' entered unverified, 'v' verified, 'r' rejected, 's' left out (below the table, or in it)
    std::string Text;  // 'v': the game's fingerprint; 'r': the reason
};
struct Entry {
    std::string Name;
    std::string Reason;  // empty: accepted
    std::vector<ScoreRecord> Records;
    bool Loaded = false;
    std::vector<Verdict> Verdicts;  // by record; missing ones are 'u'
    Verdict VerdictOf(size_t i) const { return i < Verdicts.size() ? Verdicts[i] : Verdict{}; }
};
struct Batch {
    long UploadsBefore = 0;
    std::vector<Entry> Entries;
};

const char* const BatchName = "merge.batch";

std::string BatchText(const Batch& b) {
    std::string out = "dorvik-scores batch\nuploads-before " + std::to_string(b.UploadsBefore) + "\n";
    for (const Entry& e : b.Entries) {
        out += e.Reason.empty() ? "accept " + Escaped(e.Name) + "\n"
                                : "reject " + Escaped(e.Name) + "\t" + Escaped(e.Reason) + "\n";
        for (size_t i = 0; i < e.Verdicts.size(); i++)
            if (e.Verdicts[i].Kind != 'u')
                out += "record " + std::to_string(i) + " " + e.Verdicts[i].Kind + "\t" + Escaped(e.Verdicts[i].Text) +
                       "\n";
    }
    return out;
}

bool ParseBatch(const std::string& text, Batch& b) {
    size_t pos = 0;
    auto line = [&](std::string& out) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) return false;
        out = text.substr(pos, end - pos);
        pos = end + 1;
        return true;
    };
    std::string l;
    if (!line(l) || l != "dorvik-scores batch" || !line(l) || l.rfind("uploads-before ", 0) != 0) return false;
    b.UploadsBefore = std::atol(l.c_str() + 15);
    while (line(l)) {
        if (l.rfind("record ", 0) == 0) {  // "record INDEX KIND\tTEXT" of the accepted upload above
            size_t tab = l.find('\t');
            if (b.Entries.empty() || !b.Entries.back().Reason.empty() || tab == std::string::npos || tab < 10)
                return false;
            char kind = l[tab - 1];
            long index = std::atol(l.c_str() + 7);
            if (l[tab - 2] != ' ' || index < 0 || index >= ScoreEntries ||
                std::string("vrs").find(kind) == std::string::npos)
                return false;
            std::vector<Verdict>& v = b.Entries.back().Verdicts;
            if (v.size() <= static_cast<size_t>(index)) v.resize(index + 1);
            v[index] = {kind, Unescaped(l.substr(tab + 1))};
            continue;
        }
        Entry e;
        if (l.rfind("accept ", 0) == 0) {
            e.Name = Unescaped(l.substr(7));
        } else if (l.rfind("reject ", 0) == 0 && l.find('\t') != std::string::npos) {
            size_t tab = l.find('\t');
            e.Name = Unescaped(l.substr(7, tab - 7));
            e.Reason = Unescaped(l.substr(tab + 1));
            if (e.Reason.empty()) return false;
        } else {
            return false;
        }
        b.Entries.push_back(std::move(e));
    }
    return pos == text.size();
}

std::string TimeStamp() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

std::string ShownDate(const std::string& key) {
    return key.substr(6, 2) + "." + key.substr(4, 2) + "." + key.substr(0, 4);
}

struct Run {
    MergeOptions Options;
    std::string Latest;                                 // last game date an upload may carry
    std::vector<VerifiedGame> Verified;                 // as "verified.txt" held them
    std::map<std::string, std::string> RecordingOfKey;  // a recording in incoming/ of each key
    std::string Dir(const char* sub) const { return Options.Folder + "/" + sub; }
    // The recording of a record of the upload with this stem: the one sent
    // with it, else one of the same game sent with another upload (a table
    // sent again goes without the recordings the server has).
    std::string RecordingPath(const std::string& stem, const std::string& key) const {
        const std::string own = Dir("incoming") + "/" + RecordingUploadName(stem, key);
        auto other = RecordingOfKey.find(key);
        if (access(own.c_str(), F_OK) != 0 && other != RecordingOfKey.end())
            return Dir("incoming") + "/" + other->second;
        return own;
    }
};

void IndexRecordings(Run& run, const std::vector<std::string>& names) {
    run.RecordingOfKey.clear();
    std::string stem, key;
    for (const std::string& name : names)
        if (ParseRecordingUploadName(name, stem, key)) run.RecordingOfKey.emplace(key, name);
}

// The recordings in incoming/, by the stem of the table they came with.
std::map<std::string, std::vector<std::string>> RecordingsByStem(const std::vector<std::string>& names) {
    std::map<std::string, std::vector<std::string>> out;
    std::string stem, key;
    for (const std::string& name : names)
        if (ParseRecordingUploadName(name, stem, key)) out[stem].push_back(name);
    return out;
}

// Admitted recordings are served as replays/<key>.dvr; a recording already
// there is the same game (the key names the record).
bool ServeRecording(const Run& run, const std::string& stem, const std::string& key, std::string& error) {
    const std::string dir = run.Dir(ServedReplayFolder), name = key + ReplayExtension;
    if (Exists(dir + "/" + name)) return true;
    bool tooBig;
    std::string why, from = run.RecordingPath(stem, key);
    if (!Exists(from)) return true;  // moved by the run this one finishes, which served it
    std::string data = ReadAll(from, ReplayMaxFileBytes, tooBig, why);
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) why = std::strerror(errno);
    if (why.empty() && !tooBig && WriteAtomic(dir, name, data)) return true;
    error = "cannot serve " + dir + "/" + name + ": " + (why.empty() ? std::strerror(errno) : why);
    return false;
}

// Recordings of records no longer in the table go.
void PruneServedRecordings(const Run& run, const std::vector<VerifiedGame>& kept) {
    DIR* d = opendir(run.Dir(ServedReplayFolder).c_str());
    if (!d) return;
    std::vector<std::string> gone;
    while (dirent* de = readdir(d)) {
        std::string name = de->d_name;
        if (name.size() != 16 + std::strlen(ReplayExtension) || !name.ends_with(ReplayExtension)) continue;
        if (std::none_of(kept.begin(), kept.end(), [&](const VerifiedGame& g) { return g.Key == name.substr(0, 16); }))
            gone.push_back(name);
    }
    closedir(d);
    for (const std::string& name : gone) unlink((run.Dir(ServedReplayFolder) + "/" + name).c_str());
}

std::string RecordTitle(const ScoreRecord& r) { return Trimmed(r.Score) + " by " + Trimmed(r.Name); }

// The names in incoming/ but folders, sorted: the game's names start with the date.
std::vector<std::string> ListIncoming(const Run& run) {
    std::vector<std::string> names;
    DIR* d = opendir(run.Dir("incoming").c_str());
    if (!d) return names;
    while (dirent* de = readdir(d)) {
        std::string name = de->d_name;
        if (name.empty() || name[0] == '.') continue;  // temporary files of FTP servers
        struct stat st;
        if (de->d_type == DT_DIR) continue;
        if (de->d_type == DT_UNKNOWN && lstat((run.Dir("incoming") + "/" + name).c_str(), &st) == 0 &&
            S_ISDIR(st.st_mode))
            continue;
        names.push_back(name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

bool ApplyBatch(Run& run, WorldTable& table, Batch& batch, std::string& error) {
    const std::string incoming = run.Dir("incoming");
    IndexRecordings(run, ListIncoming(run));
    std::vector<ScoreRecord> records;
    std::vector<VerifiedGame> verified = run.Verified;
    std::string recordLog;
    long accepted = 0;
    for (Entry& e : batch.Entries) {
        if (!e.Reason.empty()) continue;
        accepted++;
        if (!e.Loaded) {  // finishing an earlier run: uploads already moved are merged
            std::string path = incoming + "/" + e.Name, why;
            bool tooBig;
            if (!Exists(path)) continue;
            std::string data = ReadAll(path, UploadMaxBytes, tooBig, why);
            if (!tooBig && why.empty()) CheckUpload(data, run.Latest, e.Records);
        }
        for (size_t i = 0; i < e.Records.size(); i++) {
            const Verdict v = e.VerdictOf(i);
            ScoreRecord& r = e.Records[i];
            if (v.Kind == 'r')
                recordLog += TimeStamp() + " rejected the record " + Escaped(RecordTitle(r)) + " of " +
                             Escaped(e.Name) + ": " + Escaped(v.Text) + "\n";
            if (v.Kind == 'r' || v.Kind == 's') continue;
            if (v.Kind == 'v') {
                const std::string key = ReplayKey(r);
                if (!ServeRecording(run, UploadStem(e.Name), key, error)) return false;
                verified.push_back({key, v.Text, Trimmed(r.Name)});
            }
            records.push_back(std::move(r));
        }
    }
    MergeRecords(table.Records, std::move(records));
    // The verified games the table still holds, in its order.
    std::vector<VerifiedGame> kept;
    std::vector<bool> marks;
    for (const ScoreRecord& r : table.Records) {
        const std::string key = ReplayKey(r), name = Trimmed(r.Name);
        auto g = std::find_if(verified.begin(), verified.end(),
                              [&](const VerifiedGame& v) { return v.Key == key && v.Name == name; });
        marks.push_back(g != verified.end());
        if (g != verified.end()) kept.push_back(*g);
    }
    CrashPoint("replays");
    // Written before the table: a crash between the two leaves a mark for a
    // record not yet in the table, which marks nothing.
    if (!WriteAtomic(run.Options.Folder, VerifiedFileName, VerifiedText(kept))) {
        error = "cannot write " + run.Dir(VerifiedFileName) + ": " + std::strerror(errno);
        return false;
    }
    table.Uploads = std::min(batch.UploadsBefore + accepted, std::max(UploadsShown, batch.UploadsBefore));
    if (accepted > 0 || table.LastUpdate.empty()) table.LastUpdate = ShownDate(run.Options.Today);

    if (!WriteAtomic(run.Options.Folder, "Vedov.dvk", WorldFileText(table))) {
        error = "cannot write " + run.Options.Folder + "/Vedov.dvk: " + std::strerror(errno);
        return false;
    }
    CrashPoint("table");
    if (!WriteAtomic(run.Options.Folder, "default.htm", WorldPageHtml(table, marks))) {
        error = "cannot write " + run.Options.Folder + "/default.htm: " + std::strerror(errno);
        return false;
    }
    CrashPoint("page");
    std::string log = recordLog;
    int moved = 0;
    auto recordings = RecordingsByStem(ListIncoming(run));
    for (const Entry& e : batch.Entries) {
        std::string path = incoming + "/" + e.Name;
        const char* to = e.Reason.empty() ? "done" : "rejected";
        // The recordings go with their table, before it: a crash between
        // leaves no recording without its table in incoming/.
        for (const std::string& name : recordings[UploadStem(e.Name)])
            if (!MoveInto(incoming + "/" + name, run.Dir(to), name) && errno != ENOENT) {
                error = "cannot move " + incoming + "/" + name + ": " + std::strerror(errno);
                return false;
            }
        if (!MoveInto(path, run.Dir(to), e.Name)) {
            if (errno == ENOENT) continue;  // moved by the run this one finishes
            error = "cannot move " + path + ": " + std::strerror(errno);
            return false;
        }
        if (++moved == 1) CrashPoint("move");
        if (!e.Reason.empty()) log += TimeStamp() + " rejected " + Escaped(e.Name) + ": " + Escaped(e.Reason) + "\n";
    }
    SyncDir(incoming);
    SyncDir(run.Dir("done"));
    SyncDir(run.Dir("rejected"));
    log += TimeStamp() + " merged " + std::to_string(accepted) + " uploads, rejected " +
           std::to_string(batch.Entries.size() - accepted) + ", the table holds " +
           std::to_string(table.Records.size()) + " records\n";
    int fd = open(run.Dir("merge.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd >= 0) {
        ssize_t n = write(fd, log.data(), log.size());
        (void)n;  // the log is a courtesy: the table is already safe
        close(fd);
    }
    PruneServedRecordings(run, kept);
    run.Verified = std::move(kept);
    unlink(run.Dir(BatchName).c_str());
    SyncDir(run.Options.Folder);
    return true;
}

// Whether a record would enter the table as it stands (sorted by score).
bool WouldEnter(const std::vector<ScoreRecord>& table, const ScoreRecord& r) {
    return table.size() < WorldKeep || ScoreOf(r) > ScoreOf(table.back());
}

// The verdict on one record of an upload when verifying: replayed from the
// recording sent with it, or rejected with the reason.
Verdict JudgeRecord(const Run& run, const WorldTable& table, const std::string& stem, const ScoreRecord& r,
                    const std::vector<VerifiedGame>& verifiedNow) {
    const std::string key = ReplayKey(r), name = Trimmed(r.Name);
    // The same player, date and score already there: the table keeps that
    // one, so this one is checked only when it may mark that one verified.
    bool marksOneThere = false;
    for (const ScoreRecord& t : table.Records)
        if (Trimmed(t.Score) == Trimmed(r.Score) && Trimmed(t.Date) == Trimmed(r.Date) && Trimmed(t.Name) == name) {
            if (ReplayKey(t) != key || IsVerified(run.Verified, t) || IsVerified(verifiedNow, t)) return {'s', ""};
            marksOneThere = true;
        }
    if (!marksOneThere && !WouldEnter(table.Records, r)) return {'s', ""};
    const std::string path = run.RecordingPath(stem, key);
    if (!Exists(path)) return {'r', "no recording was sent with it"};
    bool tooBig;
    std::string why;
    const std::string data = ReadAll(path, ReplayMaxFileBytes, tooBig, why);
    if (tooBig) return {'r', "its recording is larger than " + std::to_string(ReplayMaxFileBytes) + " bytes"};
    if (!why.empty()) return {'r', "its recording: " + why};
    RecordingCheck check = run.Options.Verify(r, data);
    if (!check.Why.empty()) return {'r', check.Why};
    // Recordings are public: one replayed under another name is a copy.
    for (const auto* games : {&run.Verified, &verifiedNow})
        for (const VerifiedGame& g : *games)
            if (g.Fingerprint == check.Fingerprint && g.Name != name)
                return {'r', "the same game is in the table under the name " + g.Name};
    return {'v', check.Fingerprint};
}
}  // namespace

void MergeRecords(std::vector<ScoreRecord>& table, std::vector<ScoreRecord> records) {
    // Pruning as the list grows keeps memory small for any number of uploads;
    // a record cut once can never come back into the best WorldKeep.
    std::vector<ScoreRecord> list = std::move(table);
    list.reserve(8 * WorldKeep + 64);
    for (ScoreRecord& r : records) {
        list.push_back(std::move(r));
        if (list.size() >= 8 * WorldKeep) Prune(list);
    }
    Prune(list);
    table = std::move(list);
}

std::string LocalDateKey() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y%m%d", &tm);
    return buf;
}

std::string NextDayKey(const std::string& key) {
    using namespace std::chrono;
    if (key.size() != 8 || key.find_first_not_of("0123456789") != std::string::npos) return "";
    year_month_day d{year(std::stoi(key.substr(0, 4))), month(std::stoi(key.substr(4, 2))),
                     day(std::stoi(key.substr(6, 2)))};
    if (!d.ok()) return "";
    year_month_day n{sys_days(d) + days(1)};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u", static_cast<int>(n.year()), static_cast<unsigned>(n.month()),
                  static_cast<unsigned>(n.day()));
    return buf;
}

MergeExit RunMerge(const MergeOptions& options, std::string& message) {
    Run run{options, NextDayKey(options.Today), {}, {}};
    if (run.Latest.empty()) {
        message = "not a date: " + options.Today;
        return MergeUsage;
    }
    struct stat st;
    if (stat(options.Folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        message = "no folder " + options.Folder;
        return MergeFailed;
    }
    for (const char* sub : {"incoming", "done", "rejected"})
        if (mkdir(run.Dir(sub).c_str(), 0755) != 0 && errno != EEXIST) {
            message = "cannot make " + run.Dir(sub) + ": " + std::strerror(errno);
            return MergeFailed;
        }
    // One merge at a time; the lock goes with the process, even when it dies.
    int lock = open(run.Dir(".merge.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (lock < 0) {
        message = "cannot open the lock file in " + options.Folder + ": " + std::strerror(errno);
        return MergeFailed;
    }
    if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
        close(lock);
        message = "another merge is running in " + options.Folder;
        return MergeBusy;
    }

    MergeExit result = MergeOk;
    WorldTable table;
    bool tooBig;
    std::string why;
    std::string worldPath = run.Dir("Vedov.dvk");
    if (Exists(worldPath)) {
        std::string data = ReadAll(worldPath, 4 << 20, tooBig, why);
        if (!why.empty() || tooBig || !ParseWorldFile(data, table)) {
            message = worldPath + " is damaged (" +
                      (tooBig        ? "over 4 MB"
                       : why.empty() ? "no END line"
                                     : why) +
                      "); nothing was changed: mend or remove it";
            close(lock);
            return MergeFailed;
        }
    }
    if (Exists(run.Dir(VerifiedFileName))) {
        std::string text = ReadAll(run.Dir(VerifiedFileName), 4 << 20, tooBig, why);
        if (!why.empty() || tooBig) {
            message = run.Dir(VerifiedFileName) + " cannot be read (" + (tooBig ? "over 4 MB" : why) +
                      "); nothing was changed";
            close(lock);
            return MergeFailed;
        }
        run.Verified = ParseVerified(text);
    }

    std::string finished;
    if (Exists(run.Dir(BatchName))) {
        Batch old;
        std::string text = ReadAll(run.Dir(BatchName), 64 << 20, tooBig, why);
        if (!why.empty() || tooBig || !ParseBatch(text, old)) {
            message = run.Dir(BatchName) + " is damaged; nothing was changed";
            close(lock);
            return MergeFailed;
        }
        if (!ApplyBatch(run, table, old, message)) {
            close(lock);
            return MergeFailed;
        }
        finished = "finished an interrupted merge; ";
    }

    int waiting = 0;
    Batch batch;
    batch.UploadsBefore = table.Uploads;
    // Accepted records merge into the table in memory as they come, so any
    // number of uploads takes little memory; the disk changes only after the
    // batch file is written.
    std::vector<ScoreRecord> pending;
    std::time_t now = std::time(nullptr);
    const std::vector<std::string> names = ListIncoming(run);
    IndexRecordings(run, names);
    std::vector<VerifiedGame> verifiedNow;                // this run's, for spotting copies
    if (options.Verify) MergeRecords(table.Records, {});  // in order, so the last record is the bar
    for (const std::string& name : names) {
        std::string stem, key;
        if (ParseRecordingUploadName(name, stem, key)) {
            // A recording travels with its table; one whose table never came
            // is rejected once that table can no longer be arriving.
            struct stat rs;
            if (!std::binary_search(names.begin(), names.end(), stem + ".dvk") &&
                lstat(run.Dir("incoming").append("/" + name).c_str(), &rs) == 0 &&
                now - rs.st_mtime >= std::max(options.MinAgeSeconds, OrphanRecordingSeconds))
                batch.Entries.push_back({name, "a recording without its score table", {}, true, {}});
            continue;
        }
        Entry e{name, "", {}, true, {}};
        why.clear();
        std::time_t modified = 0;
        std::string data = ReadAll(run.Dir("incoming") + "/" + name, UploadMaxBytes, tooBig, why, &modified);
        if (why.empty() && now - modified < options.MinAgeSeconds) {
            waiting++;  // may still be arriving
            continue;
        }
        if (tooBig) {
            e.Reason = "larger than " + std::to_string(UploadMaxBytes) + " bytes";
        } else if (!why.empty()) {
            e.Reason = why;
        } else if (!options.Verify) {
            e.Reason = CheckUpload(data, run.Latest, pending);
        } else if ((e.Reason = CheckUpload(data, run.Latest, e.Records)).empty()) {
            bool keep = false;
            for (const ScoreRecord& r : e.Records) {
                e.Verdicts.push_back(JudgeRecord(run, table, UploadStem(name), r, verifiedNow));
                keep = keep || e.Verdicts.back().Kind != 's';
                if (e.Verdicts.back().Kind == 'v') {
                    MergeRecords(table.Records, {r});
                    verifiedNow.push_back({ReplayKey(r), e.Verdicts.back().Text, Trimmed(r.Name)});
                }
            }
            if (!keep) e.Records.clear();  // nothing left to do with them: memory stays small
        }
        if (pending.size() >= 4 * WorldKeep) {
            MergeRecords(table.Records, std::move(pending));
            pending.clear();
        }
        batch.Entries.push_back(std::move(e));
    }
    MergeRecords(table.Records, std::move(pending));
    long accepted =
        std::count_if(batch.Entries.begin(), batch.Entries.end(), [](const Entry& e) { return e.Reason.empty(); });
    if (!batch.Entries.empty() || !Exists(worldPath) || !Exists(run.Dir("default.htm"))) {
        if (!WriteAtomic(options.Folder, BatchName, BatchText(batch))) {
            message = "cannot write " + run.Dir(BatchName) + ": " + std::strerror(errno);
            close(lock);
            return MergeFailed;
        }
        CrashPoint("batch");
        if (!ApplyBatch(run, table, batch, message)) result = MergeFailed;
    }
    if (result == MergeOk) {
        message = finished + "merged " + std::to_string(accepted) + " uploads, rejected " +
                  std::to_string(batch.Entries.size() - accepted) + ", " + std::to_string(waiting) +
                  " too recent for this run; the table holds " + std::to_string(table.Records.size()) + " records";
        if (options.Verify) {
            long verified = 0, refused = 0;
            for (const Entry& e : batch.Entries)
                for (const Verdict& v : e.Verdicts) {
                    verified += v.Kind == 'v';
                    refused += v.Kind == 'r';
                }
            message +=
                "; replayed and admitted " + std::to_string(verified) + " records, rejected " + std::to_string(refused);
        }
    }
    close(lock);
    return result;
}
