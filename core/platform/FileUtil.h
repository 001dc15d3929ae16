#pragma once
// File-system helpers that every part shares. Paths are UTF-8.

#include <chrono>
#include <string>
#include <string_view>

namespace vesk::fsutil {

// Replaces the file atomically: temporary file in the same folder, write, flush, fsync,
// rename over the target, fsync of the folder. On failure the old file is untouched, the
// temporary file is removed and false is returned (errno-style reason in *error if given).
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Reads a whole file. False when it cannot be opened or read; maxBytes guards against
// unbounded allocation (a larger file fails with "too large").
bool ReadFile(const std::string& path, std::string& out, std::string* error = nullptr,
              size_t maxBytes = size_t(1) << 30);

// Creates the folder and every missing parent. True when the folder exists afterwards.
bool CreateFolders(const std::string& path);

// Removes a folder with everything in it, recursing into sub-folders; "." and ".." are never
// followed and symbolic links are removed, not followed. An empty path or a missing folder is
// skipped silently and counts as success.
bool RemoveFolderTree(const std::string& path);

bool FileExists(const std::string& path);

// A fresh temporary name beside path: path + "." + process id + "." + 8 hex digits + ".tmp".
std::string TempName(const std::string& path);

// True for a name TempName makes; *pid receives the process id it names.
[[nodiscard]] bool ParseTempName(std::string_view fileName, long* pid);

// Removes the temporaries a crashed writer left in folder: those older than an hour, and those
// whose process is no longer running here once they are a minute old (the name carries no
// host, and on a shared folder a process that is dead here may be writing from another
// workstation; no real write lasts a minute). Called before each atomic write; a folder is
// searched at most once a minute per process unless force is set. Returns how many it removed.
size_t RemoveStaleTemporaries(const std::string& folder, bool force = false);
size_t RemoveStaleTemporaries(const std::string& folder, std::chrono::system_clock::time_point now,
                              bool force);
bool FolderExists(const std::string& path);

}  // namespace vesk::fsutil
