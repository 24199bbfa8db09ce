#pragma once
// Reading and writing the user's files safely.
//
// Writing: the text goes to a new temporary file, created exclusively under a unique name beside
// the target, is flushed to the disk (through the platform's file system, when one is installed)
// and then takes the target's name in one step. A crash mid-write leaves the previous copy
// intact, and two processes never write into the same file. A replaced file keeps its
// permissions; a symbolic link to the target stays a link and the file it points to is replaced.
//
// Only regular files are ever replaced: a folder, a FIFO, a device or a socket, named directly
// or at the end of a chain of links, is refused, and so is a read-only file (IsReadOnlyForUser);
// the target is checked again just before the rename. A link whose target does not exist is
// written through, as a shell's redirection would: the file is created where the link points
// and the link stays.
//
// Reading: only regular files (links are followed), up to a size limit, so a FIFO, a device or
// a huge file is refused instead of blocking or filling the memory.
//
// Nothing here throws: failures come back as the result and `error`, which holds the system's
// reason or one of the FileError values below.

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

enum class FileError {
    NotRegularFile = 1, // a folder, a FIFO, a device, ...
    TooLarge,           // over the size limit of the reader
    NoFreeName,         // every candidate name was taken
    ReadOnly,           // its permission bits keep the user from changing it
};
std::error_code make_error_code(FileError error);
template <> struct std::is_error_code_enum<FileError> : std::true_type {};

// Replaces (or creates) the file at `path` with `contents`.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& contents,
                         std::error_code& error);
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& contents);

// The streaming form of WriteFileAtomically, for output that is made piece by piece: Open
// checks the target and creates the temporary file, Write appends, Commit flushes, syncs and
// renames. Without a successful Commit the temporary file is removed and the target stays as
// it was, so a failure half-way (a full disk) never leaves a cut-off file under its name.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool Open(std::error_code& error);
    // False, with the reason, once any write has failed; Commit then fails with it too.
    bool Write(std::string_view chunk, std::error_code& error);
    bool Commit(std::error_code& error);
    // The file that is replaced or created: the end of the path's chain of links.
    const std::filesystem::path& Target() const { return target_; }

private:
    void Discard();

    std::filesystem::path path_, target_, temporary_;
    std::FILE* file_ = nullptr;
    std::error_code failure_;
};

// The file a write to `path` replaces or creates: the end of its chain of symbolic links,
// `path` itself when it is no link. An empty path and `error` for a chain that loops.
std::filesystem::path WriteTarget(const std::filesystem::path& path, std::error_code& error);

// Whether the permission bits of the file keep the user from changing it, as the platform's
// file system judges them (IFileSystem::IsReadOnlyForUser); by the owner's bits without one.
bool IsReadOnlyForUser(const std::filesystem::path& file);

// Why a write to `path` failed, to follow "cannot write '<path>': ": "it is read-only", "it is
// a folder", "it is a link to "<target>", which is not a regular file (...)", or the system's
// reason.
std::string WriteFailureReason(const std::filesystem::path& path, const std::error_code& error);

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
