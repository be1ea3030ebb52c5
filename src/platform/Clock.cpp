#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace {
bool TestClockOn = false;
uint64_t TestNow = 0;
LocalDate TestDate{0, 0, 0};
const auto StartTime = std::chrono::steady_clock::now();
}  // namespace

uint64_t GetTickCount() {
    if (TestClockOn) return TestNow;
    auto d = std::chrono::steady_clock::now() - StartTime;
    // Start well above zero so "now - 1000 >= last" works from the first frame.
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count()) + 100000u;
}

void WaitUntilTickPasses(uint64_t tick) {
    if (TestClockOn) {
        if (TestNow <= tick) TestNow = tick + 1;
        return;
    }
    for (;;) {
        uint64_t now = GetTickCount();
        int64_t left = static_cast<int64_t>(tick - now);
        if (left < 0) return;
        // Sleep until the frame is due instead of spinning a core.
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(left) * 1000 + 500));
    }
}

void UseTestClock(bool on, uint64_t start) {
    TestClockOn = on;
    TestNow = start;
}

void AdvanceTestClock(uint64_t ms) { TestNow += ms; }

LocalDate GetLocalDate() {
    if (TestDate.Year != 0) return TestDate;
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

void SetTestDate(LocalDate d) { TestDate = d; }
