// A fresh temporary game folder for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Files.h"

struct TempGameDir {
    std::filesystem::path Path;
    TempGameDir() {
        char tmpl[] = "/tmp/dorvik-test-XXXXXX";
        Path = mkdtemp(tmpl);
        std::filesystem::create_directories(Path / "OtherFiles");
        std::filesystem::create_directories(Path / "Pictures");
        std::filesystem::create_directories(Path / "Sounds");
        SetAppPath(Path.string());
    }
    ~TempGameDir() {
        std::error_code ec;
        std::filesystem::permissions(Path / "OtherFiles", std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(Path, ec);
    }
    std::string File(const std::string& rel) const { return (Path / rel).string(); }
    void Write(const std::string& rel, const std::string& data) const {
        std::ofstream f(Path / rel, std::ios::binary);
        f << data;
    }
    std::string Read(const std::string& rel) const {
        std::ifstream f(Path / rel, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
};
