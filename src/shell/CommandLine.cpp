#include "shell/CommandLine.h"

namespace {
const char* const Usage = "usage: dorvik [--help | --version]\n";
}

int CommandLine(int argc, const char* const* argv, std::string& out, std::string& err) {
    if (argc <= 1) return -1;
    const std::string arg = argv[1];
    if (argc == 2 && arg == "--help") {
        out = std::string(Usage) +
              "\n"
              "Dorvik, a top-down shooter. Walk with W, A, S, D or the arrow keys, aim with\n"
              "the mouse, fire with the left button, order bombs with the right one.\n"
              "Enter starts or resumes a game, Escape pauses, Insert takes a screenshot,\n"
              "X quits from the menus.\n"
              "\n"
              "  --help     show this text and exit\n"
              "  --version  show the version and exit\n"
              "\n"
              "Settings, score tables, maps and screenshots are kept in\n"
              "$XDG_DATA_HOME/dorvik (~/.local/share/dorvik) when the game is installed,\n"
              "and beside the program when it runs from its own folder.\n";
        return 0;
    }
    if (argc == 2 && arg == "--version") {
        out = "Dorvik for Linux 1.22\n";
        return 0;
    }
    err = "dorvik: unknown argument '" + arg + "'\n" + Usage;
    return 2;
}
