#include "shell/DebugLine.h"

#include "shell/Basic.h"

std::string DebugMemoryLine(uint64_t totalPhys, uint64_t availPhys) {
    // Each quotient is rounded to a whole number before the integer division.
    const double avail = static_cast<double>(availPhys), total = static_cast<double>(totalPhys);
    std::string s = "Ram:" + StrInt(IDiv(Whole(avail / 1024), Whole(total / 1024 / 100))) + "%(" +
                    StrInt(static_cast<long long>(availPhys / 1024000)) + " Mb)";
    s.resize(40, ' ');  // a fixed width, so the old line is always written over
    return s;
}
