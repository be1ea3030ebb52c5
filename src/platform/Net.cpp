#include "platform/Net.h"

#include <curl/curl.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <cstdio>
#include <mutex>

#include "platform/Files.h"

namespace {
int TestConnected = -1;

void InitCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t Collect(char* data, size_t size, size_t n, void* user) {
    static_cast<std::string*>(user)->append(data, size * n);
    return size * n;
}

// Fetches url into memory; false on any failure.
bool Fetch(const std::string& url, std::string& body, std::string* headers, const std::string& user,
           const std::string& password, bool ascii, bool noBody) {
    InitCurl();
    CURL* c = curl_easy_init();
    if (!c) return false;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    if (headers) {
        curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, Collect);
        curl_easy_setopt(c, CURLOPT_HEADERDATA, headers);
    }
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, 60L);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    if (!user.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.c_str());
    }
    if (ascii) curl_easy_setopt(c, CURLOPT_TRANSFERTEXT, 1L);
    if (noBody) curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    CURLcode rc = curl_easy_perform(c);
    curl_easy_cleanup(c);
    return rc == CURLE_OK;
}

std::string FtpUrl(const FtpSession& s, const std::string& path) {
    // A leading %2F makes the path absolute on the server.
    std::string p = path;
    if (!p.empty() && p[0] == '/') p = "%2F" + p.substr(1);
    return "ftp://" + s.Host + ":" + std::to_string(s.Port) + "/" + p;
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

bool HttpDownloadToFile(const std::string& url, const std::string& path) {
    std::string body;
    if (!Fetch(url, body, nullptr, "", "", false, false)) return false;
    return WriteFileAtomic(path, body);
}

bool FtpConnect(FtpSession& s, const std::string& host, int port, const std::string& user,
                const std::string& password) {
    s = FtpSession{};
    s.Host = host;
    s.Port = port;
    s.User = user;
    s.Password = password;
    std::string dir;
    s.Connected = true;
    if (!FtpGetCurrentDirectory(s, dir)) {
        s.Connected = false;
        return false;
    }
    s.Directory = dir;
    return true;
}

bool FtpGetCurrentDirectory(FtpSession& s, std::string& dir) {
    if (!s.Connected) return false;
    if (!s.Directory.empty()) {
        dir = s.Directory;
        return true;
    }
    // The server's answer to PWD (which the library asks after logging in):
    // 257 "/path" ...
    std::string body, headers;
    if (!Fetch(FtpUrl(s, ""), body, &headers, s.User, s.Password, false, true)) return false;
    size_t at = headers.find("257 \"");
    if (at == std::string::npos) return false;
    size_t end = headers.find('"', at + 5);
    if (end == std::string::npos) return false;
    dir = headers.substr(at + 5, end - at - 5);
    return true;
}

bool FtpSetCurrentDirectory(FtpSession& s, const std::string& dir) {
    if (!s.Connected || dir.empty()) return false;
    s.Directory = dir;
    return true;
}

bool FtpGetFile(FtpSession& s, const std::string& remote, const std::string& local, bool ascii) {
    if (!s.Connected) return false;
    std::string path = remote;
    if (path.empty() || path[0] != '/') {
        std::string dir = s.Directory.empty() ? "/" : s.Directory;
        if (dir.back() != '/') dir += '/';
        path = dir + path;
    }
    std::string body;
    if (!Fetch(FtpUrl(s, path), body, nullptr, s.User, s.Password, ascii, false)) return false;
    return WriteFileAtomic(local, body);
}
