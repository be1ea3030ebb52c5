// Files and folders of the game: the game folder, literal game paths, atomic
// replacement of every file the game writes, copy, delete and the memory figures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The game folder of the shipped files (the executable's folder when portable,
// PREFIX/share/dorvik when installed; see GameFolders.h). Tests point it
// elsewhere, which makes that folder a portable one.
const std::string& AppPath();
void SetAppPath(const std::string& folder);

// The file for a literal game path such as "\OtherFiles\Options.txt": in the
// game folder, or for a file the game writes in the player's data folder when
// installed. Backslashes become slashes and every existing component is matched
// without regard to case ("otherfiles" finds "OtherFiles").
std::string GamePath(std::string_view literal);

// Same matching for an arbitrary path (folder + name).
std::string ResolveCase(const std::string& path);

bool ReadWholeFile(const std::string& path, std::string& out);
// Splits at CR LF, LF or CR; a final line without an end is kept.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);
// The same split of text in memory.
std::vector<std::string> SplitTextLines(std::string_view data);
// The lines before the first line that is exactly stop, at most maxLines of
// them; nothing after that is read from the file.
bool ReadTextLinesUntil(const std::string& path, std::string_view stop, size_t maxLines,
                        std::vector<std::string>& lines);
std::vector<std::string> TextLinesUntil(std::string_view data, std::string_view stop, size_t maxLines);

// Writes a temporary file beside the target (its name plus ".tmp"), flushes
// it and renames it over the target, so a crash leaves either the old file or
// the new one.
bool WriteFileAtomic(const std::string& path, std::string_view data);
// Removes what saves cut short by a crash left in the folder ("Options.txt.tmp",
// and the numbered "Options.txt.tmp1234" of older versions); the count removed.
int RemoveSaveLeftovers(const std::string& folder);

bool FileExistsOnDisk(const std::string& path);
bool CopyFileOver(const std::string& from, const std::string& to);
bool DeleteFileIfThere(const std::string& path);
// Makes the folder when it is not there yet; true when it is there after.
bool MakeFolder(const std::string& path);
// The names of the plain files in a folder (none when it cannot be read).
std::vector<std::string> FilesInFolder(const std::string& folder);

struct MemoryStatus {
    uint32_t MemoryLoad;  // percent in use
    uint64_t TotalPhys;   // bytes
    uint64_t AvailPhys;   // bytes
};
// From /proc/meminfo.
MemoryStatus QueryMemoryStatus();
// The figures from the text of a meminfo file.
MemoryStatus ParseMemInfo(const std::string& text);
