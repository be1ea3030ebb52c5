// dorvik-scores: the score server's tool. Run it on the machine whose FTP
// server receives the players' uploads.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "server/Merge.h"
#include "server/Verify.h"

namespace {
const char* const Usage =
    "Usage: dorvik-scores merge FOLDER [--today yyyymmdd] [--min-age SECONDS]\n"
    "                              [--verify --game DIR]\n"
    "\n"
    "Merges the players' uploads in FOLDER/incoming/ into the world table\n"
    "FOLDER/Vedov.dvk (best 500 by score) and writes FOLDER/default.htm.\n"
    "Accepted uploads move to FOLDER/done/, all others to FOLDER/rejected/ with\n"
    "the reason in FOLDER/merge.log. Run it as often as you like (cron, a timer).\n"
    "\n"
    "  --today yyyymmdd   the date of the update (default: today, local time)\n"
    "  --min-age SECONDS  leave uploads younger than this for the next run,\n"
    "                     as they may still be arriving (default 60)\n"
    "  --verify           admit a record only when the recording sent with it\n"
    "                     replays to the same game (needs --game); without it\n"
    "                     records are admitted unverified\n"
    "  --game DIR         the game folder this server replays with: the same\n"
    "                     version as the players', its OtherFiles/DEFAULT.txt and\n"
    "                     LVL1.txt as shipped\n"
    "\n"
    "Exit status: 0 done, 1 failed (nothing lost; run again), 2 usage error,\n"
    "3 another merge is running in FOLDER.\n";

int UsageError(const std::string& why) {
    std::fprintf(stderr, "dorvik-scores: %s\n\n%s", why.c_str(), Usage);
    return MergeUsage;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc < 3 || std::strcmp(argv[1], "merge") != 0) return UsageError("expected: merge FOLDER");
    MergeOptions options;
    options.Folder = argv[2];
    options.Today = LocalDateKey();
    bool verify = false;
    std::string game;
    for (int i = 3; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--verify") {
            verify = true;
            continue;
        }
        if (i + 1 >= argc) return UsageError("missing value after " + arg);
        std::string value = argv[++i];
        if (arg == "--today") {
            options.Today = value;
        } else if (arg == "--min-age") {
            char* end = nullptr;
            options.MinAgeSeconds = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end || options.MinAgeSeconds < 0)
                return UsageError("not a number of seconds: " + value);
        } else if (arg == "--game") {
            game = value;
        } else {
            return UsageError("unknown option " + arg);
        }
    }
    if (verify != !game.empty()) return UsageError("--verify and --game go together");
    if (verify) {
        std::string why;
        if (!LoadShippedUnitFiles(game, why)) {
            std::fprintf(stderr, "dorvik-scores: %s\n", why.c_str());
            return MergeFailed;
        }
        options.Verify = CheckRecording;
    }
    std::string message;
    MergeExit code = RunMerge(options, message);
    if (code == MergeUsage) return UsageError(message);
    std::fprintf(code == MergeOk ? stdout : stderr, "%s%s\n",
                 code == MergeOk ? "" : "dorvik-scores: ", message.c_str());
    return code;
}
