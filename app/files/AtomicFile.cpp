#include "app/files/AtomicFile.h"

#include "app/platform/FileSystem.h"
#include "app/platform/Platform.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {
// A clash of random names this often means something else is wrong.
constexpr int kTemporaryNameAttempts = 100;
constexpr std::size_t kReadChunk = 65536;

class FileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "file"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
        case FileError::NotRegularFile:
            return "not a regular file";
        case FileError::TooLarge:
            return "the file is too large";
        case FileError::NoFreeName:
            return "every file name tried is taken";
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

// The file a write to `path` replaces: the end of a chain of symbolic links, so the links stay;
// `path` itself when it is no link or the chain is broken.
fs::path ReplacedFile(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        fs::path resolved = fs::canonical(path, error);
        if (!error) {
            return resolved;
        }
    }
    return path;
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

std::error_code WriteAndSync(std::FILE* file, const std::string& contents) {
    errno = 0;
    if (std::fwrite(contents.data(), 1, contents.size(), file) != contents.size() ||
        std::fflush(file) != 0) {
        return LastError();
    }
    IFileSystem* system = Platform().fileSystem;
    return system ? system->SyncToDisk(file) : std::error_code();
}

// A complete temporary file "<target name>.<random>.tmp" beside its target, removed again
// unless it was given its final name.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() { Discard(); }

    bool Write(const fs::path& target, const std::string& contents, bool keepPermissions,
               std::error_code& error);
    const fs::path& Path() const { return path_; }
    void Keep() { path_.clear(); }
    void Discard() {
        std::error_code ignored;
        if (!path_.empty()) {
            fs::remove(path_, ignored);
        }
        path_.clear();
    }

private:
    std::FILE* Create(const fs::path& target, std::error_code& error);

    fs::path path_;
};

std::FILE* TemporaryFile::Create(const fs::path& target, std::error_code& error) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        fs::path candidate = target;
        candidate += "." + RandomSuffix() + ".tmp";
        errno = 0;
        if (std::FILE* file = std::fopen(candidate.string().c_str(), "wbx")) { // exclusive creation
            path_ = candidate;
            return file;
        }
        error = LastError();
        if (error != std::errc::file_exists) {
            return nullptr;
        }
    }
    return nullptr;
}

bool TemporaryFile::Write(const fs::path& target, const std::string& contents, bool keepPermissions,
                          std::error_code& error) {
    std::FILE* file = Create(target, error);
    if (!file) {
        return false;
    }
    if (keepPermissions) {
        CopyPermissions(target, path_);
    }
    error = WriteAndSync(file, contents);
    errno = 0;
    if (std::fclose(file) != 0 && !error) {
        error = LastError();
    }
    if (error) {
        Discard();
    }
    return !error;
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

bool WriteFileAtomically(const fs::path& path, const std::string& contents,
                         std::error_code& error) {
    error.clear();
    const fs::path target = ReplacedFile(path);
    TemporaryFile temporary;
    if (!temporary.Write(target, contents, true, error)) {
        return false;
    }
    fs::rename(temporary.Path(), target, error);
    if (error) {
        return false;
    }
    temporary.Keep();
    return true;
}

bool WriteFileAtomically(const fs::path& path, const std::string& contents) {
    std::error_code ignored;
    return WriteFileAtomically(path, contents, ignored);
}

fs::path CreateFileWithFreeName(const std::function<fs::path(int)>& candidate, int attempts,
                                const std::string& contents, std::error_code& error) {
    error.clear();
    TemporaryFile temporary;
    if (attempts <= 0 || !temporary.Write(candidate(0), contents, false, error)) {
        return {};
    }
    for (int n = 0; n < attempts; ++n) {
        const fs::path path = candidate(n);
        if (RenameWithoutReplacing(temporary.Path(), path, error)) {
            temporary.Keep();
            return path;
        }
        if (error != std::errc::file_exists) {
            return {};
        }
    }
    error = FileError::NoFreeName;
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
