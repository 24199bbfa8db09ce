#pragma once
// Reading and writing the user's files safely.
//
// Writing: the text goes to a new temporary file, created exclusively under a unique name beside
// the target, is flushed to the disk (through the platform's file system, when one is installed)
// and then takes the target's name in one step. A crash mid-write leaves the previous copy
// intact, and two processes never write into the same file. A replaced file keeps its
// permissions; a symbolic link to the target stays a link and the file it points to is replaced.
//
// Reading: only regular files (links are followed), up to a size limit, so a FIFO, a device or
// a huge file is refused instead of blocking or filling the memory.
//
// Nothing here throws: failures come back as the result and `error`, which holds the system's
// reason or one of the FileError values below.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <type_traits>

enum class FileError {
    NotRegularFile = 1, // a folder, a FIFO, a device, ...
    TooLarge,           // over the size limit of the reader
    NoFreeName,         // every candidate name was taken
};
std::error_code make_error_code(FileError error);
template <> struct std::is_error_code_enum<FileError> : std::true_type {};

// Replaces (or creates) the file at `path` with `contents`.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& contents,
                         std::error_code& error);
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& contents);

// Writes `contents` to a new file under the first of candidate(0), candidate(1), ... (at most
// `attempts` names) that nothing has yet, never replacing anything: two processes that save at
// once get two files. Returns the name it took, or an empty path and `error`.
std::filesystem::path
CreateFileWithFreeName(const std::function<std::filesystem::path(int)>& candidate, int attempts,
                       const std::string& contents, std::error_code& error);

// Renames `from` to `to` unless something already has that name (errc::file_exists). A hard
// link makes the check and the rename one step where the file system has hard links.
bool RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                            std::error_code& error);

// Reads the whole regular file at `path` if it holds at most `maxBytes` bytes.
bool ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& contents,
                     std::error_code& error);
