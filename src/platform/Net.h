// The network as the score exchange needs it: a cheap connection check, an
// HTTP download to a file, and an FTP session with a current directory from
// which files are fetched (passive mode, ASCII or binary).
#pragma once

#include <string>

// True when some network interface other than loopback is up.
bool InternetConnected();
// Tests: 1 connected, 0 not, -1 ask the system.
void SetTestConnected(int state);

// Downloads url into path (atomically); false on any failure, HTTP errors
// included, and the file is then left as it was.
bool HttpDownloadToFile(const std::string& url, const std::string& path);

struct FtpSession {
    std::string Host;
    int Port = 21;
    std::string User, Password;
    std::string Directory;  // the current directory, "/" style
    bool Connected = false;
};

// Logs in; false when the server cannot be reached or refuses the account.
bool FtpConnect(FtpSession& s, const std::string& host, int port, const std::string& user,
                const std::string& password);
bool FtpGetCurrentDirectory(FtpSession& s, std::string& dir);
bool FtpSetCurrentDirectory(FtpSession& s, const std::string& dir);
// Fetches remote (relative to the current directory, or absolute when it
// starts with "/") into local, replacing it only when the transfer succeeded.
bool FtpGetFile(FtpSession& s, const std::string& remote, const std::string& local, bool ascii);
