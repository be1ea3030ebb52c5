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

#include "server/Upload.h"
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
struct Entry {
    std::string Name;
    std::string Reason;  // empty: accepted
    std::vector<ScoreRecord> Records;
    bool Loaded = false;
};
struct Batch {
    long UploadsBefore = 0;
    std::vector<Entry> Entries;
};

const char* const BatchName = "merge.batch";

std::string BatchText(const Batch& b) {
    std::string out = "dorvik-scores batch\nuploads-before " + std::to_string(b.UploadsBefore) + "\n";
    for (const Entry& e : b.Entries)
        out += e.Reason.empty() ? "accept " + Escaped(e.Name) + "\n"
                                : "reject " + Escaped(e.Name) + "\t" + Escaped(e.Reason) + "\n";
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
    std::string Latest;  // last game date an upload may carry
    std::string Dir(const char* sub) const { return Options.Folder + "/" + sub; }
};

bool ApplyBatch(const Run& run, WorldTable& table, Batch& batch, std::string& error) {
    const std::string incoming = run.Dir("incoming");
    std::vector<ScoreRecord> records;
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
        for (ScoreRecord& r : e.Records) records.push_back(std::move(r));
    }
    MergeRecords(table.Records, std::move(records));
    table.Uploads = std::min(batch.UploadsBefore + accepted, std::max(UploadsShown, batch.UploadsBefore));
    if (accepted > 0 || table.LastUpdate.empty()) table.LastUpdate = ShownDate(run.Options.Today);

    if (!WriteAtomic(run.Options.Folder, "Vedov.dvk", WorldFileText(table))) {
        error = "cannot write " + run.Options.Folder + "/Vedov.dvk: " + std::strerror(errno);
        return false;
    }
    CrashPoint("table");
    if (!WriteAtomic(run.Options.Folder, "default.htm", WorldPageHtml(table))) {
        error = "cannot write " + run.Options.Folder + "/default.htm: " + std::strerror(errno);
        return false;
    }
    CrashPoint("page");
    std::string log;
    int moved = 0;
    for (const Entry& e : batch.Entries) {
        std::string path = incoming + "/" + e.Name;
        if (!MoveInto(path, run.Dir(e.Reason.empty() ? "done" : "rejected"), e.Name)) {
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
    unlink(run.Dir(BatchName).c_str());
    SyncDir(run.Options.Folder);
    return true;
}

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
    Run run{options, NextDayKey(options.Today)};
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
    for (const std::string& name : ListIncoming(run)) {
        Entry e{name, "", {}, true};
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
        } else {
            e.Reason = CheckUpload(data, run.Latest, pending);
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
    if (result == MergeOk)
        message = finished + "merged " + std::to_string(accepted) + " uploads, rejected " +
                  std::to_string(batch.Entries.size() - accepted) + ", " + std::to_string(waiting) +
                  " too recent for this run; the table holds " + std::to_string(table.Records.size()) + " records";
    close(lock);
    return result;
}
