#include "platform/Net.h"

#include <curl/curl.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <algorithm>
#include <mutex>

#include "platform/Files.h"

namespace {
int TestConnected = -1;

constexpr long ConnectMs = 5000;
constexpr long TransferMs = 15000;
constexpr long LowSpeedBytes = 1024;  // per second ...
constexpr long LowSpeedSeconds = 5;   // ... for this long

void InitCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// A download in memory that refuses to grow past the limit, for servers that
// announce no size (or a false one).
struct Sink {
    std::string Data;
    bool Over = false;
};

size_t Collect(char* data, size_t size, size_t n, void* user) {
    auto* sink = static_cast<Sink*>(user);
    if (sink->Data.size() + size * n > NetMaxDownload) {
        sink->Over = true;
        return 0;  // aborts the transfer
    }
    sink->Data.append(data, size * n);
    return size * n;
}

size_t CollectReplies(char* data, size_t size, size_t n, void* user) {
    auto* text = static_cast<std::string*>(user);
    if (text->size() < 65536) text->append(data, size * n);
    return size * n;
}

struct Source {
    std::string_view Data;
    size_t At = 0;
};

size_t Feed(char* buffer, size_t size, size_t n, void* user) {
    auto* src = static_cast<Source*>(user);
    size_t k = std::min(size * n, src->Data.size() - src->At);
    std::copy_n(src->Data.data() + src->At, k, buffer);
    src->At += k;
    return k;
}

// The bounds every step shares; false when the deadline has already passed.
bool Bounded(CURL* c, NetClock::time_point deadline, const char* protocols) {
    long left = TransferMs;
    if (deadline != NetClock::time_point::max()) {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - NetClock::now()).count();
        if (ms <= 0) return false;
        left = static_cast<long>(std::min<long long>(ms, TransferMs));
    }
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, std::min(ConnectMs, left));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, left);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, LowSpeedSeconds);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, LowSpeedBytes);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, LowSpeedSeconds);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(NetMaxDownload));
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, protocols);
    return true;
}

// The session's handle, reset for the next step: the library keeps its open
// connection through a reset.
CURL* Prepared(FtpSession& s) {
    InitCurl();
    if (!s.Handle) s.Handle = curl_easy_init();
    auto* c = static_cast<CURL*>(s.Handle);
    if (!c) return nullptr;
    curl_easy_reset(c);
    if (!Bounded(c, s.Deadline, "ftp")) return nullptr;
    curl_easy_setopt(c, CURLOPT_USERNAME, s.User.c_str());
    curl_easy_setopt(c, CURLOPT_PASSWORD, s.Password.c_str());
    // The data connection goes to the server we talk to, whatever address
    // its passive reply names.
    curl_easy_setopt(c, CURLOPT_FTP_SKIP_PASV_IP, 1L);
    return c;
}

std::string Authority(const FtpSession& s) { return "ftp://" + s.Host + ":" + std::to_string(s.Port) + "/"; }

// An absolute server path as an address: every folder name escaped, so a
// blank or "#" in it stays part of the name; the leading %2F keeps it
// absolute rather than relative to the login folder.
std::string FtpUrl(CURL* c, const FtpSession& s, const std::string& path) {
    std::string url = Authority(s) + "%2F";
    size_t at = 0;
    bool first = true;
    while (at <= path.size()) {
        size_t slash = path.find('/', at);
        if (slash == std::string::npos) slash = path.size();
        std::string part = path.substr(at, slash - at);
        if (!part.empty()) {
            char* e = curl_easy_escape(c, part.c_str(), static_cast<int>(part.size()));
            if (!first) url += "/";
            url += e ? e : "";
            curl_free(e);
            first = false;
        }
        at = slash + 1;
    }
    return url;
}

std::string AbsolutePath(const FtpSession& s, const std::string& remote) {
    if (!remote.empty() && remote[0] == '/') return remote;
    std::string dir = s.Directory.empty() ? "/" : s.Directory;
    if (dir.back() != '/') dir += '/';
    return dir + remote;
}
}  // namespace

bool InternetConnected() {
    if (TestConnected >= 0) return TestConnected == 1;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool up = false;
    for (ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr) continue;
        if ((a->ifa_flags & IFF_UP) && (a->ifa_flags & IFF_RUNNING) && !(a->ifa_flags & IFF_LOOPBACK)) up = true;
    }
    freeifaddrs(list);
    return up;
}

void SetTestConnected(int state) { TestConnected = state; }

bool HttpDownloadToFile(const std::string& url, const std::string& path, NetClock::time_point deadline) {
    InitCurl();
    CURL* c = curl_easy_init();
    if (!c) return false;
    Sink body;
    bool ok = false;
    if (Bounded(c, deadline, "http,https")) {
        curl_easy_setopt(c, CURLOPT_URL, url.c_str());
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
        curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
        ok = curl_easy_perform(c) == CURLE_OK && !body.Over;
        // A redirect or any other non-success page is not the file asked for.
        long status = 0;
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
        if (status < 200 || status > 299) ok = false;
    }
    curl_easy_cleanup(c);
    return ok && WriteFileAtomic(path, body.Data);
}

bool ParsePwdReply(const std::string& replies, std::string& dir) {
    size_t at = replies.find("257 \"");
    if (at == std::string::npos) return false;
    std::string out;
    for (size_t i = at + 5; i < replies.size(); i++) {
        char c = replies[i];
        if (c == '\r' || c == '\n') return false;
        if (c == '"') {
            if (i + 1 < replies.size() && replies[i + 1] == '"') {  // "" stands for one quote
                out += '"';
                i++;
                continue;
            }
            dir = out;
            return true;
        }
        out += c;
    }
    return false;
}

bool FtpConnect(FtpSession& s, const std::string& host, int port, const std::string& user, const std::string& password,
                NetClock::time_point deadline) {
    FtpClose(s);
    s.Host = host;
    s.Port = port;
    s.User = user;
    s.Password = password;
    s.Deadline = deadline;
    CURL* c = Prepared(s);
    if (!c) return false;
    // Logging in without a transfer; the library asks PWD on the way.
    std::string replies;
    Sink unused;
    curl_easy_setopt(c, CURLOPT_URL, Authority(s).c_str());
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &unused);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, CollectReplies);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &replies);
    std::string dir;
    if (curl_easy_perform(c) != CURLE_OK || !ParsePwdReply(replies, dir)) {
        FtpClose(s);
        return false;
    }
    s.Directory = dir.empty() ? "/" : dir;
    s.Connected = true;
    return true;
}

bool FtpGetCurrentDirectory(FtpSession& s, std::string& dir) {
    if (!s.Connected) return false;
    dir = s.Directory;
    return true;
}

bool FtpSetCurrentDirectory(FtpSession& s, const std::string& dir) {
    if (!s.Connected || dir.empty()) return false;
    s.Directory = AbsolutePath(s, dir);
    return true;
}

bool FtpGetFile(FtpSession& s, const std::string& remote, const std::string& local, bool ascii) {
    if (!s.Connected) return false;
    CURL* c = Prepared(s);
    if (!c) return false;
    Sink body;
    curl_easy_setopt(c, CURLOPT_URL, FtpUrl(c, s, AbsolutePath(s, remote)).c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    if (ascii) curl_easy_setopt(c, CURLOPT_TRANSFERTEXT, 1L);
    if (curl_easy_perform(c) != CURLE_OK || body.Over) return false;
    return WriteFileAtomic(local, body.Data);
}

bool FtpPutFile(FtpSession& s, const std::string& remote, std::string_view data) {
    if (!s.Connected) return false;
    const std::string path = AbsolutePath(s, remote);
    if (path.empty() || path.back() == '/') return false;
    // Stored straight under its final name: score server accounts may only
    // store into incoming/ (no rename), and the merge leaves fresh files alone
    // until they are old enough to be complete.
    CURL* c = Prepared(s);
    if (!c) return false;
    Source src{data, 0};
    curl_easy_setopt(c, CURLOPT_URL, FtpUrl(c, s, path).c_str());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, Feed);
    curl_easy_setopt(c, CURLOPT_READDATA, &src);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(data.size()));
    return curl_easy_perform(c) == CURLE_OK;
}

void FtpClose(FtpSession& s) {
    if (s.Handle) curl_easy_cleanup(static_cast<CURL*>(s.Handle));  // sends QUIT
    s = FtpSession{};
}
