// "\OtherFiles\Server.txt": where the score server is, the account, the
// version file's web address and whether this player sends scores. A key file
// like the unit files. Only the standard library and the key-file reader, so
// the fuzz target can build it alone.
#pragma once

#include <string>
#include <string_view>

#include "shell/Basic.h"

struct ScoreServerSettings {
    std::string Host;  // empty: no score server set
    int Port = 21;
    std::string User = "trumol4";
    std::string Password = "zededor";
    std::string VersionUrl;  // empty: no version check
    Integer SendScores = 8;  // 0 on, 8 off, like the options
};

// The keys, as they stand in columns 1-20.
inline constexpr const char* ServerHostKey = "FTP HOST";
inline constexpr const char* ServerPortKey = "FTP PORT";
inline constexpr const char* ServerUserKey = "FTP ACCOUNT";
inline constexpr const char* ServerPasswordKey = "FTP PASSWORD";
inline constexpr const char* VersionUrlKey = "VERSION FILE URL";
inline constexpr const char* SendScoresKey = "SEND MY SCORES";

// Reads the file's text. Anything that fails its check leaves no server set
// (a bad host, port, account or password) or no version check (a bad web
// address), so a damaged file never leads anywhere it does not name.
ScoreServerSettings ParseServerFile(std::string_view text);
// A whole file for the settings.
std::string ServerFileText(const ScoreServerSettings& s);
// The file's text with only the send switch changed; every other line stays
// as the player wrote it.
std::string ServerFileWithSend(std::string_view text, Integer sendScores);

// A host name, an IPv4 address or an IPv6 address in brackets.
bool ValidServerHost(std::string_view host);
// 1..65535 in decimal digits.
bool ValidServerPort(std::string_view port, int& value);
// Printable, no control characters (no CR or LF to smuggle FTP commands).
bool ValidServerText(std::string_view text);
// http:// or https:// followed by printable characters without blanks.
bool ValidVersionUrl(std::string_view url);
