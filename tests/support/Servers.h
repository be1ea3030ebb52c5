// Real servers on 127.0.0.1 for the online exchange: Debian's pyftpdlib and
// Python's http.server, started by a test and stopped when it ends.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <string>
#include <thread>
#include <vector>

struct LocalServer {
    pid_t Pid = -1;
    int Port = 0;
    std::string Log;

    // Runs argv with its output in a log file and waits for the line that
    // names the port.
    bool Start(std::vector<std::string> argv, const std::string& portPattern) {
        char logName[] = "/tmp/dorvik-server-XXXXXX";
        int fd = mkstemp(logName);
        if (fd < 0) return false;
        Log = logName;
        Pid = fork();
        if (Pid == 0) {
            dup2(fd, 1);
            dup2(fd, 2);
            std::vector<char*> args;
            for (auto& a : argv) args.push_back(a.data());
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        close(fd);
        std::regex re(portPattern);
        for (int i = 0; i < 100; i++) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            FILE* f = fopen(Log.c_str(), "r");
            if (!f) continue;
            std::string text;
            char buf[512];
            size_t n;
            while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
            fclose(f);
            std::smatch m;
            if (std::regex_search(text, m, re)) {
                Port = std::stoi(m[1]);
                return true;
            }
        }
        return false;
    }

    ~LocalServer() {
        if (Pid > 0) {
            kill(Pid, SIGTERM);
            int status;
            waitpid(Pid, &status, 0);
        }
        if (!Log.empty()) unlink(Log.c_str());
    }
};

inline bool StartFtpServer(LocalServer& s, const std::string& dir) {
    return s.Start({"/usr/bin/python3", "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", "0", "-u", "trumol4", "-P",
                    "zededor", "-d", dir},
                   "starting FTP server on 127\\.0\\.0\\.1:(\\d+)");
}

// An FTP server whose account logs in to login (a "/" path below root), so
// relative and absolute paths name different files.
inline bool StartFtpServerWithLoginFolder(LocalServer& s, const std::string& root, const std::string& login) {
    return s.Start({"/usr/bin/python3", "-u", DORVIK_SOURCE_DIR "/tests/support/login_folder_ftpd.py", root, login},
                   "starting FTP server on 127\\.0\\.0\\.1:(\\d+)");
}

inline bool StartHttpServer(LocalServer& s, const std::string& dir) {
    return s.Start({"/usr/bin/python3", "-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory", dir, "0"},
                   "port (\\d+)");
}

// A port where connections are taken (the system completes them) and never
// answered: a server that hangs.
struct SilentServer {
    int Fd = -1;
    int Port = 0;
    SilentServer() {
        Fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        if (bind(Fd, reinterpret_cast<sockaddr*>(&a), n) == 0 && listen(Fd, 16) == 0 &&
            getsockname(Fd, reinterpret_cast<sockaddr*>(&a), &n) == 0)
            Port = ntohs(a.sin_port);
    }
    // True once anybody has connected.
    bool Contacted() const {
        pollfd p{Fd, POLLIN, 0};
        return poll(&p, 1, 0) > 0;
    }
    ~SilentServer() { close(Fd); }
};
