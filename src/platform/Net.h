// The network as the score exchange needs it: a cheap connection check, an
// HTTP download to a file, and one FTP session (one control connection) from
// which files are fetched and into which one file can be stored.
//
// Every step is bounded: 5 s to connect, 15 s for a whole transfer, cut off
// below 1 KB/s for 5 s, and never past the caller's deadline. Downloads over
// 2 MB are refused.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

using NetClock = std::chrono::steady_clock;
constexpr std::size_t NetMaxDownload = 2 * 1024 * 1024;

// True when some network interface other than loopback is up.
bool InternetConnected();
// Tests: 1 connected, 0 not, -1 ask the system.
void SetTestConnected(int state);

// Downloads an http:// or https:// address into path (atomically); false on
// any failure, HTTP errors and redirects included, and the file is then left
// as it was.
bool HttpDownloadToFile(const std::string& url, const std::string& path,
                        NetClock::time_point deadline = NetClock::time_point::max());

struct FtpSession {
    void* Handle = nullptr;  // kept between steps so the control connection stays open
    std::string Host;
    int Port = 21;
    std::string User, Password;
    std::string Directory;  // the current directory, "/" style
    bool Connected = false;
    NetClock::time_point Deadline = NetClock::time_point::max();
};

// Logs in and learns the login folder; false when the server cannot be
// reached or refuses the account. Steps past the deadline fail at once.
bool FtpConnect(FtpSession& s, const std::string& host, int port, const std::string& user, const std::string& password,
                NetClock::time_point deadline = NetClock::time_point::max());
bool FtpGetCurrentDirectory(FtpSession& s, std::string& dir);
bool FtpSetCurrentDirectory(FtpSession& s, const std::string& dir);
// Fetches remote (relative to the current directory, or absolute when it
// starts with "/") into local, replacing it only when the transfer succeeded.
bool FtpGetFile(FtpSession& s, const std::string& remote, const std::string& local, bool ascii);
// Stores data as remote (relative or absolute, as above): written under a
// hidden name (".name.part") and renamed when complete, so nobody reads half
// a file.
// The folder must exist.
bool FtpPutFile(FtpSession& s, const std::string& remote, std::string_view data);
// Says goodbye and closes the connection.
void FtpClose(FtpSession& s);

// The text of a 257 reply ("257 "/a ""quoted"" b" is ...") as a path; false
// when the reply holds none.
bool ParsePwdReply(const std::string& replies, std::string& dir);
