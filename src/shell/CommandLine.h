// The command line: --help and --version print and end the program; anything
// else given is refused with a usage line.
#pragma once

#include <string>

// Returns -1 when the game should start, otherwise the exit status, with the
// text for standard output in out and for standard error in err.
int CommandLine(int argc, const char* const* argv, std::string& out, std::string& err);
