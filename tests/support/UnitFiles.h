// Unit file lines in their fixed columns, for tests that need a player file.
#pragma once

#include <string>

// Key padded to column 20, one separator, the value from column 22.
inline std::string UnitLine(const std::string& key, const std::string& value) {
    std::string k = key;
    if (k.size() < 20) k.resize(20, ' ');
    return k + "|" + value + "\r\n";
}

// A player file whose values differ from every value a new game sets.
inline std::string OddDefaultFile() {
    return UnitLine("NA", "Rookie") + UnitLine("OM", "7") + UnitLine("DE", "25") + UnitLine("HT", "5") +
           UnitLine("EL", "90") + UnitLine("EE", "9") + UnitLine("ED", "1") + UnitLine("GN", "10") +
           UnitLine("EM", "99") + "END\r\n";
}
