// Time for the game: a millisecond tick count and the local date. Tests replace
// both with a manual clock so every rule can run without waiting.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start, like the system tick count, in 64
// bits so a game left running for weeks keeps its pace.
uint64_t GetTickCount();

// Sleeps until GetTickCount() > tick (frame pacing). With the test clock it
// moves the test clock forward instead of sleeping.
void WaitUntilTickPasses(uint64_t tick);

// Test clock: when on, GetTickCount() returns a value that only moves through
// AdvanceTestClock and WaitUntilTickPasses.
void UseTestClock(bool on, uint64_t start = 0);
void AdvanceTestClock(uint64_t ms);

struct LocalDate {
    int Year, Month, Day;
};
LocalDate GetLocalDate();
// Fixes the date for tests; Year 0 returns to the real date.
void SetTestDate(LocalDate d);
