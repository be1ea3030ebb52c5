#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
bool IsDir(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0;
}

// Finds an entry of folder whose name equals name without regard to case.
std::string MatchEntry(const std::string& folder, const std::string& name) {
    if (Exists(folder + "/" + name)) return name;
    DIR* d = opendir(folder.empty() ? "/" : folder.c_str());
    if (!d) return name;
    std::string found = name;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}
}  // namespace

std::string ResolveCase(const std::string& path) {
    if (path.empty() || Exists(path)) return path;
    std::string result;
    size_t i = 0;
    if (path[0] == '/') {
        result = "";
        i = 1;
    } else {
        result = ".";
    }
    bool first = true;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        std::string part = path.substr(i, j - i);
        if (!part.empty()) {
            std::string folder = result.empty() ? "/" : result;
            std::string entry = IsDir(folder) ? MatchEntry(result, part) : part;
            if (first && path[0] != '/') result = entry;
            else result += "/" + entry;
            first = false;
        }
        i = j + 1;
    }
    return result;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::ostringstream ss;
    ss << f.rdbuf();
    if (f.bad()) return false;
    out = ss.str();
    return true;
}

std::vector<std::string> SplitTextLines(std::string_view data) {
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < data.size(); i++) {
        char c = data[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') i++;
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string data;
    if (!ReadWholeFile(path, data)) return false;
    lines = SplitTextLines(data);
    return true;
}

namespace {
// DORVIK_SLOW_SAVE_MS makes every save take about eight times that long (the
// data goes out in eight pieces with a pause after each), so a test can kill
// the game in the middle of a save. Read once.
int SlowSaveMs() {
    static const int ms = [] {
        const char* v = std::getenv("DORVIK_SLOW_SAVE_MS");
        return v ? std::max(0, std::atoi(v)) : 0;
    }();
    return ms;
}

bool WriteAll(int fd, std::string_view data) {
    const int pause = SlowSaveMs();
    const size_t piece = pause > 0 ? data.size() / 8 + 1 : data.size();
    size_t done = 0;
    while (done < data.size()) {
        const size_t want = std::min(piece, data.size() - done);
        ssize_t n = write(fd, data.data() + done, want);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
        if (pause > 0) usleep(static_cast<useconds_t>(pause) * 1000);
    }
    return true;
}

// A temporary save file: the target's name plus ".tmp", or plus ".tmp" and
// a process number (what older versions of the game left behind).
bool IsSaveLeftover(const std::string& name) {
    auto at = name.rfind(".tmp");
    if (at == std::string::npos || at == 0) return false;
    for (size_t i = at + 4; i < name.size(); i++)
        if (name[i] < '0' || name[i] > '9') return false;
    return name.find('.') < at;  // the target had an extension of its own
}
}  // namespace

namespace {
// Line by line from a stream, so reading ends where the lines are no longer wanted.
void LinesUntil(std::streambuf& in, std::string_view stop, size_t maxLines, std::vector<std::string>& lines) {
    lines.clear();
    std::string cur;
    while (lines.size() < maxLines) {
        int c = in.sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (!cur.empty() && cur != stop) lines.push_back(cur);
            return;
        }
        if (c != '\r' && c != '\n') {
            cur += static_cast<char>(c);
            continue;
        }
        if (c == '\r' && in.sgetc() == '\n') in.sbumpc();
        if (cur == stop) return;
        lines.push_back(std::move(cur));
        cur.clear();
    }
}
}  // namespace

bool ReadTextLinesUntil(const std::string& path, std::string_view stop, size_t maxLines,
                        std::vector<std::string>& lines) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    std::filebuf f;
    if (!f.open(path, std::ios::in | std::ios::binary)) return false;
    LinesUntil(f, stop, maxLines, lines);
    return true;
}

std::vector<std::string> TextLinesUntil(std::string_view data, std::string_view stop, size_t maxLines) {
    std::stringbuf in{std::string(data)};
    std::vector<std::string> lines;
    LinesUntil(in, stop, maxLines, lines);
    return lines;
}

bool WriteFileAtomic(const std::string& path, std::string_view data) {
    // One fixed name per target: one thread saves, and a save cut short
    // leaves at most this one file, which the next save or start removes.
    std::string tmp = path + ".tmp";
    // O_EXCL: never write through something already lying under that name.
    unlink(tmp.c_str());
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    if (!WriteAll(fd, data) || fsync(fd) != 0) {
        close(fd);
        unlink(tmp.c_str());
        return false;
    }
    if (close(fd) != 0 || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    auto slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int dfd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

int RemoveSaveLeftovers(const std::string& folder) {
    DIR* d = opendir(folder.c_str());
    if (!d) return 0;
    std::vector<std::string> found;
    while (dirent* e = readdir(d))
        if (IsSaveLeftover(e->d_name)) found.push_back(folder + "/" + e->d_name);
    closedir(d);
    int removed = 0;
    for (const std::string& p : found) {
        struct stat st;
        if (lstat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && unlink(p.c_str()) == 0) removed++;
    }
    return removed;
}

bool FileExistsOnDisk(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool CopyFileOver(const std::string& from, const std::string& to) {
    std::string data;
    if (!ReadWholeFile(from, data)) return false;
    return WriteFileAtomic(to, data);
}

bool DeleteFileIfThere(const std::string& path) { return unlink(path.c_str()) == 0; }

bool MakeFolder(const std::string& path) {
    struct stat st{};
    if (mkdir(path.c_str(), 0755) == 0) return true;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> FilesInFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* d = opendir(folder.c_str());
    if (!d) return names;
    while (const dirent* e = readdir(d)) {
        struct stat st{};
        const std::string name = e->d_name;
        if (lstat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

MemoryStatus ParseMemInfo(const std::string& text) {
    MemoryStatus m{0, 0, 0};
    uint64_t total = 0, avail = 0, freeKb = 0, buffers = 0, cached = 0;
    bool haveAvail = false;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        char key[64];
        unsigned long long kb = 0;
        if (std::sscanf(line.c_str(), "%63[^:]: %llu", key, &kb) != 2) continue;
        std::string k = key;
        if (k == "MemTotal") total = kb;
        else if (k == "MemAvailable") { avail = kb; haveAvail = true; }
        else if (k == "MemFree") freeKb = kb;
        else if (k == "Buffers") buffers = kb;
        else if (k == "Cached") cached = kb;
    }
    // Kernels before 3.14 have no MemAvailable; estimate it as they did.
    if (!haveAvail) avail = freeKb + buffers + cached;
    if (avail > total) avail = total;
    m.TotalPhys = total * 1024;
    m.AvailPhys = avail * 1024;
    if (total) m.MemoryLoad = static_cast<uint32_t>(100 - avail * 100 / total);
    return m;
}

MemoryStatus QueryMemoryStatus() {
    std::string text;
    if (!ReadWholeFile("/proc/meminfo", text)) return MemoryStatus{0, 0, 0};
    return ParseMemInfo(text);
}
