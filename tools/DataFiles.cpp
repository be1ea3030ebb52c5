// Unit files, the shipped settings and the clean score templates.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "Pictures.h"
#include "platform/Files.h"

namespace {
const char* Eol = "\r\n";

// Key in columns 1-20, separator in column 21, value from column 22.
std::string KeyFile(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string o;
    for (const auto& [key, value] : entries) {
        std::string line = key;
        line.resize(20, ' ');
        o += line + "=" + value + Eol;
    }
    return o + "END" + Eol;
}

std::string Pad(const std::string& s, size_t width) {
    std::string r = s;
    r.resize(width, ' ');
    return r;
}

// An empty score record: every field blank, the keys in their columns.
std::string EmptyRecord() {
    std::string r = Pad("", 5) + "K=" + Pad("", 3) + " T=" + Pad("", 5) + " A=" + Pad("", 2) + " R=" + Pad("", 2) +
                    " B=" + Pad("", 2) + " M=" + Pad("", 2) + " MH=" + Pad("", 3) + " MA=" + Pad("", 3) +
                    " TP=" + Pad("", 5) + "HD=" + Pad("", 8) + "??????????" + " N=" + Pad("", 35);
    return r;
}
}  // namespace

bool GenerateDataFiles(const std::string& dir) {
    bool ok = true;
    auto write = [&](const std::string& name, const std::string& data) {
        if (!WriteFileAtomic(dir + "/" + name, data)) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name.c_str());
            ok = false;
        }
    };
    write("DEFAULT.txt", KeyFile({{"NA", "Player"}, {"OM", "20"}, {"DE", "10"}, {"HT", "100"}, {"EL", "30"},
                                  {"EE", "0"}, {"ED", "3"}, {"GN", "60"}, {"EM", "15"}}));
    write("LVL1.txt", KeyFile({{"NA", "Opponent"}, {"OM", "10"}, {"DE", "10"}, {"HT", "20"}, {"EL", "30"},
                               {"EE", "0"}, {"ED", "3"}, {"GN", "20"}, {"EM", "20"}}));

    // Blood fly, blood stays, bullet fly, debug info (off), score info, snow,
    // stereo, volume, minutes, games, footsteps, maps generated, windowed,
    // static movement, alpha blend, kills in a row.
    const int options[16] = {0, 0, 0, 8, 0, 0, 0, 80, 0, 0, 0, 0, 8, 0, 0, 0};
    std::string o;
    for (int v : options) o += " " + std::to_string(v) + " " + Eol;
    write("Options.txt", o);

    std::string scores;
    for (int i = 0; i < 11; i++) {
        std::string line = EmptyRecord();
        for (char& c : line) c = static_cast<char>(static_cast<unsigned char>(c) ^ 0xD3);
        scores += line + Eol;
    }
    write("Temp.txt", scores + "END" + Eol);
    write("Temp2.txt", std::string("END") + Eol + "0" + Eol + "01.01.2026" + Eol);
    // No score server and no version address until the player names them;
    // sending scores is off.
    write("Server.txt", KeyFile({{"FTP HOST", ""}, {"FTP PORT", "21"}, {"FTP ACCOUNT", "trumol4"},
                                 {"FTP PASSWORD", "zededor"}, {"VERSION FILE URL", ""}, {"SEND MY SCORES", "8"}}));
    return ok;
}
