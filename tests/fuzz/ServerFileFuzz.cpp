// libFuzzer target: any bytes as "\OtherFiles\Server.txt". The reader must not
// crash, and nothing it accepts may lead anywhere unsafe: a host of plain name
// characters, a port in range, no control characters in the account, and only
// http(s) web addresses. Writing the settings back must read the same.
// fuzz-sources: src/worldscores/ServerFile.cpp src/opponents/KeyFile.cpp
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "worldscores/ServerFile.h"

namespace {
bool Printable(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

bool HostChars(const std::string& h) {
    if (h.size() > 253) return false;
    for (unsigned char c : h)
        if (!(std::isalnum(c) && c < 0x80) && c != '.' && c != '-' && c != '[' && c != ']' && c != ':') return false;
    return true;
}

bool WebAddress(const std::string& u) {
    std::string head = u.substr(0, 8);
    for (auto& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (head.rfind("http://", 0) != 0 && head.rfind("https://", 0) != 0) return false;
    for (unsigned char c : u)
        if (c <= 0x20 || c >= 0x7F) return false;
    return true;
}

void Check(bool ok) {
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const ScoreServerSettings s = ParseServerFile(text);
    Check(s.Port >= 1 && s.Port <= 65535);
    Check(HostChars(s.Host));
    Check(!s.User.empty() && Printable(s.User) && !s.Password.empty() && Printable(s.Password));
    Check(s.VersionUrl.empty() || WebAddress(s.VersionUrl));
    Check(s.SendScores == 0 || s.SendScores == 8);

    const ScoreServerSettings again = ParseServerFile(ServerFileText(s));
    Check(again.Host == s.Host && again.Port == s.Port && again.User == s.User && again.Password == s.Password &&
          again.VersionUrl == s.VersionUrl && again.SendScores == s.SendScores);

    // The send switch changes that and nothing else.
    const ScoreServerSettings on = ParseServerFile(ServerFileWithSend(text, 0));
    Check(on.SendScores == 0 && on.Host == s.Host && on.Port == s.Port && on.User == s.User &&
          on.Password == s.Password && on.VersionUrl == s.VersionUrl);
    return 0;
}
