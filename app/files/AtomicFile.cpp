#include "app/files/AtomicFile.h"

#include "app/platform/FileSystem.h"
#include "app/platform/Platform.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <utility>

namespace fs = std::filesystem;

namespace {
// A clash of random names this often means something else is wrong.
constexpr int kTemporaryNameAttempts = 100;
constexpr std::size_t kReadChunk = 65536;
// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinks = 40;

class FileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "file"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
        case FileError::NotRegularFile:
            return "not a regular file (a device, a FIFO, a folder)";
        case FileError::TooLarge:
            return "the file is too large";
        case FileError::NoFreeName:
            return "every file name tried is taken";
        case FileError::ReadOnly:
            return "the file is read-only";
        }
        return "unknown file error";
    }
};

// The C library's reason for the last failure; `fallback` when it left none.
std::error_code LastError(std::errc fallback = std::errc::io_error) {
    return errno != 0 ? std::error_code(errno, std::generic_category())
                      : std::make_error_code(fallback);
}

std::string RandomSuffix() {
    static thread_local std::mt19937 generator{std::random_device{}()};
    static constexpr char kCharacters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> pick(0, sizeof kCharacters - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix) {
        c = kCharacters[pick(generator)];
    }
    return suffix;
}

// Nothing, or a regular file the user may change: what a write may replace. Checked on the
// name itself (a link that appeared since the target was found is refused too).
std::error_code CheckReplaceable(const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(target, error);
    if (status.type() == fs::file_type::not_found) {
        return {};
    }
    if (error) {
        return error;
    }
    if (!fs::is_regular_file(status)) {
        return FileError::NotRegularFile;
    }
    if (IsReadOnlyForUser(target)) {
        return FileError::ReadOnly;
    }
    return {};
}

// Before anything is written, so a private file's text is never readable by others. A file
// system without permissions keeps its own.
void CopyPermissions(const fs::path& from, const fs::path& to) {
    std::error_code error;
    const fs::file_status status = fs::status(from, error);
    if (!error && fs::is_regular_file(status)) {
        fs::permissions(to, status.permissions(), error);
    }
}

// A new file "<target name>.<random>.tmp" beside `target`, created exclusively; its name goes
// to `path`.
std::FILE* CreateTemporary(const fs::path& target, fs::path& path, std::error_code& error) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        fs::path candidate = target;
        candidate += "." + RandomSuffix() + ".tmp";
        errno = 0;
        if (std::FILE* file = std::fopen(candidate.string().c_str(), "wbx")) { // exclusive creation
            path = candidate;
            return file;
        }
        error = LastError();
        if (error != std::errc::file_exists) {
            return nullptr;
        }
    }
    return nullptr;
}

std::error_code Append(std::FILE* file, std::string_view chunk) {
    errno = 0;
    if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size()) {
        return LastError();
    }
    return {};
}

// Flushes, syncs and closes `file`; the first failure.
std::error_code Finish(std::FILE* file) {
    errno = 0;
    std::error_code error = std::fflush(file) != 0 ? LastError() : std::error_code();
    if (IFileSystem* system = Platform().fileSystem; system && !error) {
        error = system->SyncToDisk(file);
    }
    errno = 0;
    if (std::fclose(file) != 0 && !error) {
        error = LastError();
    }
    return error;
}

void RemoveQuietly(const fs::path& path) {
    std::error_code ignored;
    if (!path.empty()) {
        fs::remove(path, ignored);
    }
}

// Hard links are not available on every file system (FAT), nor for folders.
bool LinksUnsupported(const std::error_code& error) {
    return error == std::errc::operation_not_permitted ||
           error == std::errc::operation_not_supported || error == std::errc::too_many_links ||
           error == std::errc::function_not_supported;
}
} // namespace

std::error_code make_error_code(FileError error) {
    static const FileErrorCategory category;
    return {static_cast<int>(error), category};
}

fs::path WriteTarget(const fs::path& path, std::error_code& error) {
    fs::path current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        const fs::file_status status = fs::symlink_status(current, error);
        if (!fs::is_symlink(status)) {
            if (status.type() == fs::file_type::not_found) {
                error.clear();
            }
            return error ? fs::path() : current;
        }
        const fs::path next = fs::read_symlink(current, error);
        if (error) {
            return {};
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

bool IsReadOnlyForUser(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (error) {
        return false;
    }
    if (IFileSystem* system = Platform().fileSystem) {
        return system->IsReadOnlyForUser(file, status.permissions());
    }
    return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

std::string WriteFailureReason(const fs::path& path, const std::error_code& error) {
    if (error != FileError::NotRegularFile && error != FileError::ReadOnly) {
        return error.message();
    }
    std::error_code ignored;
    const fs::path target = WriteTarget(path, ignored);
    const std::string what = error == FileError::ReadOnly ? "read-only"
                             : fs::is_directory(fs::symlink_status(target, ignored))
                                 ? "a folder"
                                 : error.message();
    if (target.empty() || target == path) {
        return "it is " + what;
    }
    return "it is a link to \"" + target.string() + "\", which is " + what;
}

AtomicFileWriter::AtomicFileWriter(fs::path path) : path_(std::move(path)) {}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    RemoveQuietly(temporary_);
    temporary_.clear();
}

bool AtomicFileWriter::Open(std::error_code& error) {
    Discard();
    failure_.clear();
    target_ = WriteTarget(path_, error);
    if (!error) {
        error = CheckReplaceable(target_);
    }
    if (!error) {
        file_ = CreateTemporary(target_, temporary_, error);
    }
    if (!file_) {
        failure_ = error;
        return false;
    }
    CopyPermissions(target_, temporary_);
    return true;
}

bool AtomicFileWriter::Write(std::string_view chunk, std::error_code& error) {
    if (!failure_ && !file_) {
        failure_ = std::make_error_code(std::errc::bad_file_descriptor); // never opened
    }
    if (!failure_) {
        failure_ = Append(file_, chunk);
    }
    error = failure_;
    return !failure_;
}

bool AtomicFileWriter::Commit(std::error_code& error) {
    error = failure_;
    if (!error && !file_) {
        error = std::make_error_code(std::errc::bad_file_descriptor);
    }
    if (!error) {
        error = Finish(std::exchange(file_, nullptr));
    }
    if (!error) { // as close to the rename as the standard library allows
        error = CheckReplaceable(target_);
    }
    if (!error) {
        fs::rename(temporary_, target_, error);
    }
    if (error) {
        failure_ = error;
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

bool WriteFileAtomically(const fs::path& path, const std::string& contents,
                         std::error_code& error) {
    AtomicFileWriter writer(path);
    return writer.Open(error) && writer.Write(contents, error) && writer.Commit(error);
}

bool WriteFileAtomically(const fs::path& path, const std::string& contents) {
    std::error_code ignored;
    return WriteFileAtomically(path, contents, ignored);
}

fs::path CreateFileWithFreeName(const std::function<fs::path(int)>& candidate, int attempts,
                                const std::string& contents, std::error_code& error) {
    error.clear();
    if (attempts <= 0) {
        return {};
    }
    fs::path temporary;
    std::FILE* file = CreateTemporary(candidate(0), temporary, error);
    if (!file) {
        return {};
    }
    error = Append(file, contents);
    const std::error_code finished = Finish(file);
    error = error ? error : finished;
    for (int n = 0; n < attempts && !error; ++n) {
        const fs::path path = candidate(n);
        if (RenameWithoutReplacing(temporary, path, error)) {
            return path;
        }
        if (error == std::errc::file_exists) {
            error = n + 1 < attempts ? std::error_code() : make_error_code(FileError::NoFreeName);
        }
    }
    RemoveQuietly(temporary);
    return {};
}

bool RenameWithoutReplacing(const fs::path& from, const fs::path& to, std::error_code& error) {
    error.clear();
    fs::create_hard_link(from, to, error);
    if (!error) {
        fs::remove(from, error);
        if (error) { // two names now: take the new one back
            std::error_code ignored;
            fs::remove(to, ignored);
        }
        return !error;
    }
    if (!LinksUnsupported(error)) {
        return false;
    }
    std::error_code statusError;
    const fs::file_type existing = fs::symlink_status(to, statusError).type();
    if (existing != fs::file_type::not_found) {
        error = existing == fs::file_type::none ? statusError
                                                : std::make_error_code(std::errc::file_exists);
        return false;
    }
    fs::rename(from, to, error);
    return !error;
}

bool ReadRegularFile(const fs::path& path, std::size_t maxBytes, std::string& contents,
                     std::error_code& error) {
    error.clear();
    const fs::file_status status = fs::status(path, error);
    if (error) {
        return false;
    }
    if (!fs::is_regular_file(status)) {
        error = FileError::NotRegularFile;
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = LastError(std::errc::permission_denied);
        return false;
    }
    // Read in chunks rather than trusting the size: the file may grow while it is read.
    std::string text;
    std::string chunk(kReadChunk, '\0');
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > maxBytes) {
            error = FileError::TooLarge;
            return false;
        }
    }
    if (in.bad()) {
        error = std::make_error_code(std::errc::io_error);
        return false;
    }
    contents = std::move(text);
    return true;
}
