// Unit files: key in columns 1-20, value from column 22 to 41, "END" ends.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Sets UnitFileValue to the value of key in folder\name.txt under the game
// folder. A missing file leaves UnitFileValue as it was and returns false.
bool ReadUnitFileKey(const std::string& folder, const std::string& name, const std::string& key);
// Fills the first free slot of Units from the file; LoadedSlot gets the slot
// (51 when none is free). A missing or unreadable file shows one message box
// naming it and returns false with the slot left free.
bool LoadUnitFile(const std::string& name);

// While set, LoadUnitFile reads from these texts (name, contents) instead of
// the files: a recorded battle uses the unit files it was played with.
void SetUnitFileSource(const std::vector<std::pair<std::string, std::string>>* source);

// The lines LoadUnitFile reads from a file's text: up to "END", at most 5001.
std::vector<std::string> UnitFileLines(std::string_view data);
// LoadUnitFile over lines already read.
void LoadUnitLines(const std::vector<std::string>& lines);
