// Dorvik: the program starts here, opens its window and hands over to StartUp.
#include <cstdio>
#include <string>

#include "input/DirectInputMod.h"
#include "platform/Window.h"
#include "shell/CommandLine.h"
#include "shell/Form1.h"
#include "shell/GameState.h"

int main(int argc, char** argv) {
    std::string out, err;
    if (int status = CommandLine(argc, argv, out, err); status >= 0) {
        std::fputs(out.c_str(), stdout);
        std::fputs(err.c_str(), stderr);
        return status;
    }
    if (!OpenWindow("Dorvik - Der ur Uruzu 1.22 - 01.01.2026.", 300, 379)) {
        std::fprintf(stderr, "Dorvik: cannot open the game window: %s\n", WindowError().c_str());
        return 1;
    }
    InstallWindowHandlers();
    StartUp();  // never returns; the program ends in ShutDown
    return 0;
}
