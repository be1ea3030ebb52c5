// The cleaning creature "Buger".
#pragma once

// Brings the creature now and then, moves it down the field wiping its track
// and draws it.
void CleanerStep();
// Sends it onto the field at once (its visit timer does this in play).
void StartCleaner();
void ResetCleaner();
