#include "worldscores/ServerFile.h"

#include <vector>

#include "opponents/KeyFile.h"

namespace {
constexpr size_t MaxValue = 255;
// Read past MaxValue so an over-long value is refused rather than cut into
// some other name.
constexpr size_t ReadWidth = MaxValue + 1;

bool Alnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool Hex(char c) { return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9'); }

std::string Lower(std::string_view s) {
    std::string r(s);
    for (auto& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string KeyLine(const std::string& key, const std::string& value) {
    std::string line = key;
    line.resize(20, ' ');
    return line + "=" + value + "\r\n";
}

std::string Key(std::string_view line) {
    std::string_view k = line.substr(0, 20);
    while (!k.empty() && k.front() == ' ') k.remove_prefix(1);
    while (!k.empty() && k.back() == ' ') k.remove_suffix(1);
    return std::string(k);
}
}  // namespace

bool ValidServerHost(std::string_view host) {
    if (host.empty() || host.size() > 253) return false;
    if (host.front() == '[') {  // IPv6 literal
        if (host.size() < 4 || host.back() != ']') return false;
        for (char c : host.substr(1, host.size() - 2))
            if (!Hex(c) && c != ':' && c != '.') return false;
        return true;
    }
    if (host.front() == '-' || host.front() == '.' || host.back() == '-') return false;
    for (char c : host)
        if (!Alnum(c) && c != '-' && c != '.') return false;
    return host.find("..") == std::string_view::npos;
}

bool ValidServerPort(std::string_view port, int& value) {
    if (port.empty() || port.size() > 5) return false;
    int v = 0;
    for (char c : port) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > 65535) return false;
    value = v;
    return true;
}

bool ValidServerText(std::string_view text) {
    if (text.size() > MaxValue) return false;
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

bool ValidVersionUrl(std::string_view url) {
    if (!ValidServerText(url)) return false;
    const std::string l = Lower(url.substr(0, 8));
    size_t rest = l.rfind("http://", 0) == 0 ? 7 : l.rfind("https://", 0) == 0 ? 8 : 0;
    if (rest == 0 || url.size() <= rest) return false;
    for (unsigned char c : url)
        if (c == ' ' || c >= 0x80) return false;
    // The host part must itself be a host we would accept.
    std::string_view authority = url.substr(rest);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (authority.find('@') != std::string_view::npos) return false;  // no credentials smuggled in
    std::string_view host = authority;
    if (!host.empty() && host.front() == '[') {
        size_t close = host.find(']');
        if (close == std::string_view::npos) return false;
        host = host.substr(0, close + 1);
        authority.remove_prefix(host.size());
    } else {
        host = host.substr(0, host.find(':'));
        authority.remove_prefix(host.size());
    }
    int port;
    if (!authority.empty() && (authority[0] != ':' || !ValidServerPort(authority.substr(1), port))) return false;
    return ValidServerHost(host);
}

ScoreServerSettings ParseServerFile(std::string_view text) {
    const std::vector<std::string> lines = KeyFileLines(text);
    ScoreServerSettings s;
    std::string v;  // each key that is found overwrites it
    bool usable = true;
    if (KeyFileValue(lines, ServerHostKey, ReadWidth, v) && !v.empty()) {
        if (ValidServerHost(v)) s.Host = v;
    }
    if (KeyFileValue(lines, ServerPortKey, ReadWidth, v) && !v.empty() && !ValidServerPort(v, s.Port)) usable = false;
    if (KeyFileValue(lines, ServerUserKey, ReadWidth, v) && !v.empty()) {
        if (ValidServerText(v))
            s.User = v;
        else
            usable = false;
    }
    if (KeyFileValue(lines, ServerPasswordKey, ReadWidth, v) && !v.empty()) {
        if (ValidServerText(v))
            s.Password = v;
        else
            usable = false;
    }
    if (KeyFileValue(lines, VersionUrlKey, ReadWidth, v) && ValidVersionUrl(v)) s.VersionUrl = v;
    if (KeyFileValue(lines, SendScoresKey, ReadWidth, v) && v == "0") s.SendScores = 0;
    if (!usable) {
        s.Host.clear();
        s.Port = 21;
    }
    return s;
}

std::string ServerFileText(const ScoreServerSettings& s) {
    return KeyLine(ServerHostKey, s.Host) + KeyLine(ServerPortKey, std::to_string(s.Port)) +
           KeyLine(ServerUserKey, s.User) + KeyLine(ServerPasswordKey, s.Password) +
           KeyLine(VersionUrlKey, s.VersionUrl) + KeyLine(SendScoresKey, s.SendScores == 0 ? "0" : "8") + "END\r\n";
}

std::string ServerFileWithSend(std::string_view text, Integer sendScores) {
    const std::string line = KeyLine(SendScoresKey, sendScores == 0 ? "0" : "8");
    std::string out;
    bool placed = false, ended = false;
    for (const std::string& l : KeyFileLines(text)) {
        if (!ended && l == "END") {
            if (!placed) out += line;
            placed = ended = true;
        }
        if (!ended && Key(l) == SendScoresKey) {
            if (!placed) out += line;  // one switch line, where the first stood
            placed = true;
            continue;
        }
        out += l + "\r\n";
    }
    if (!ended) {
        if (!placed) out += line;
        out += "END\r\n";
    }
    return out;
}
