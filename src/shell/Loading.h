// The loading screen: MainLogo with the Loading bar sliding in as loading
// advances and LoadingText written over it.
#pragma once

// One step of loading progress: redraws the screen and presents it.
void LoadingProgress();
// Starts the bar from the left again.
void ResetLoadingProgress();
// Steps taken since the last reset (tests).
int LoadingSteps();
