// Files that are replaced whole: the new content is written to "<path>.tmp", synced, and renamed
// over the file, so a kill, a crash of the machine or a full disk leaves either the old file or the
// new one, never a short one. Used by the programs (the desktop's settings and pre-order files, the
// simulator's day file), not by the library.
//
// Thread contract: none; each call stands alone.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace quorex::files {

// write(2) until everything is out; a signal's interruption is retried. False when a write failed.
bool WriteWhole(int fd, const void* data, std::size_t size);

// Replaces the file at path with content, created with the given mode (the mode also applies when
// the file existed with another one). False, with the old file untouched and no temporary file
// left behind, when any step failed.
bool ReplaceFile(const std::string& path, std::string_view content, mode_t mode = 0644);

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace quorex::files
