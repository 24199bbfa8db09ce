// The atomic writer never harms what is not a regular file or is read-only, wherever the name
// leads; the streaming writer puts only whole files in place.
#include "app/files/AtomicFile.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/PosixFileSystem.h"
#include "tests/files/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>

namespace fs = std::filesystem;

namespace {
std::string Read(const fs::path& path) {
    std::string text;
    std::error_code error;
    EXPECT_TRUE(ReadRegularFile(path, 1 << 24, text, error)) << path << ": " << error.message();
    return text;
}

// What a folder holds: names and kinds, so that a stray temporary file shows.
std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        entries.push_back(entry.path().filename().string() + " " + KindOf(entry.path()));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}
} // namespace

TEST(AtomicFile, NothingButARegularFileIsReplacedNamedDirectlyOrThroughLinks) {
    TestFolder folder("atomic-kinds");
    ASSERT_TRUE(MakeFifo(folder / "fifo"));
    fs::create_directory(folder / "folder");
    std::vector<std::string> things = {"fifo", "folder"};
    if (MakeDevice(folder / "null", DeviceKind::Null)) {
        things.push_back("null");
    }
    for (const std::string& thing : things) {
        fs::create_symlink(thing, folder / (thing + "-link"));
        fs::create_symlink(folder / (thing + "-link"), folder / (thing + "-chain"));
    }
    const std::vector<std::string> before = Listing(folder.Path());
    for (const std::string& thing : things) {
        for (const std::string& name : {thing, thing + "-link", thing + "-chain"}) {
            std::error_code error;
            EXPECT_FALSE(WriteFileAtomically(folder / name, "replaced", error)) << name;
            EXPECT_EQ(error, FileError::NotRegularFile) << name << ": " << error.message();
            const std::string reason = WriteFailureReason(folder / name, error);
            const std::string what = thing == "folder" ? "a folder"
                                                       : "not a regular file (a device, a FIFO, "
                                                         "a folder)";
            EXPECT_EQ(reason, name == thing ? "it is " + what
                                            : "it is a link to \"" + (folder / thing).string() +
                                                  "\", which is " + what);
        }
    }
    EXPECT_EQ(Listing(folder.Path()), before); // every kind and link as it was, no stray file
    if (things.size() < 3) {
        GTEST_SKIP() << "no device node could be made here (mknod not permitted)";
    }
    EXPECT_EQ(KindOf(folder / "null"), "device 1,3");
}

TEST(AtomicFile, RegularFilesBehindLinksAreReplacedAndTheLinksStay) {
    TestFolder folder("atomic-links");
    ASSERT_TRUE(WriteFileAtomically(folder / "real.txt", "old"));
    fs::create_symlink("real.txt", folder / "link");
    fs::create_symlink(folder / "link", folder / "chain");
    ASSERT_TRUE(WriteFileAtomically(folder / "chain", "new"));
    EXPECT_EQ(KindOf(folder / "chain"), "link");
    EXPECT_EQ(KindOf(folder / "link"), "link");
    EXPECT_EQ(Read(folder / "real.txt"), "new");

    // A link to nothing yet is written through: the file appears where it points.
    fs::create_directory(folder / "sub");
    fs::create_symlink("sub/later.txt", folder / "dangling");
    ASSERT_TRUE(WriteFileAtomically(folder / "dangling", "created"));
    EXPECT_EQ(KindOf(folder / "dangling"), "link");
    EXPECT_EQ(Read(folder / "sub" / "later.txt"), "created");

    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    std::error_code error;
    EXPECT_FALSE(WriteFileAtomically(folder / "loop-a", "x", error));
    EXPECT_EQ(error, std::errc::too_many_symbolic_link_levels) << error.message();
    EXPECT_EQ(KindOf(folder / "loop-a"), "link");
}

TEST(AtomicFile, AReadOnlyFileIsKeptWhoeverRunsTheProgram) {
    TestFolder folder("atomic-read-only");
    const fs::perms ownerReadGroupWrite =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::group_write;
    for (const fs::perms mode :
         {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, // 444
          ownerReadGroupWrite}) { // the owner's bits apply
        ASSERT_TRUE(WriteFileAtomically(folder / "kept.txt", "mine"));
        fs::permissions(folder / "kept.txt", mode);
        fs::create_symlink("kept.txt", folder / "link");
        for (const char* name : {"kept.txt", "link"}) {
            std::error_code error;
            EXPECT_FALSE(WriteFileAtomically(folder / name, "replaced", error)) << name;
            EXPECT_EQ(error, FileError::ReadOnly) << name << ": " << error.message();
            EXPECT_EQ(WriteFailureReason(folder / "kept.txt", error), "it is read-only");
        }
        EXPECT_EQ(Read(folder / "kept.txt"), "mine");
        fs::remove(folder / "link");
        fs::permissions(folder / "kept.txt", fs::perms::owner_write, fs::perm_options::add);
    }
    EXPECT_EQ(Listing(folder.Path()), std::vector<std::string>{"kept.txt file"});
}

// The kernel's rule for an unprivileged user, applied to root as well (who may write anything).
TEST(PosixFileSystem, TheClassBitsThatApplyToTheUserDecideWhatIsReadOnly) {
    TestFolder folder("posix-read-only");
    CPosixFileSystem system;
    const fs::path file = folder / "file";
    ASSERT_TRUE(WriteFileAtomically(file, "x"));
    const auto readOnly = [&](fs::perms mode) {
        fs::permissions(file, mode);
        return system.IsReadOnlyForUser(file, mode);
    };
    using P = fs::perms;
    EXPECT_TRUE(readOnly(P::owner_read | P::group_read | P::others_read));
    EXPECT_FALSE(readOnly(P::owner_read | P::owner_write));
    EXPECT_TRUE(readOnly(P::owner_read | P::group_write | P::others_write)); // the owner's bits
    if (::geteuid() != 0) {
        GTEST_SKIP() << "files of another owner need root to make";
    }
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0); // nobody, nogroup
    EXPECT_TRUE(readOnly(P::owner_read | P::owner_write | P::others_read));
    EXPECT_FALSE(readOnly(P::owner_read | P::others_read | P::others_write));
}

TEST(AtomicFileWriter, OnlyAWholeFileTakesTheName) {
    TestFolder folder("atomic-stream");
    const fs::path target = folder / "out.csv";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    std::error_code error;
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.Open(error)) << error.message();
        ASSERT_TRUE(writer.Write("half", error));
    } // given up
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Listing(folder.Path()), std::vector<std::string>{"out.csv file"});

    AtomicFileWriter writer(target);
    ASSERT_TRUE(writer.Open(error));
    ASSERT_TRUE(writer.Write("a,b\n", error) && writer.Write("1,2\n", error));
    ASSERT_TRUE(writer.Commit(error)) << error.message();
    EXPECT_EQ(Read(target), "a,b\n1,2\n");

    // Something else took the name while the file was being written: it is left alone.
    AtomicFileWriter late(target);
    ASSERT_TRUE(late.Open(error));
    fs::remove(target);
    ASSERT_TRUE(MakeFifo(target));
    EXPECT_FALSE(late.Commit(error));
    EXPECT_EQ(error, FileError::NotRegularFile);
    EXPECT_EQ(Listing(folder.Path()), std::vector<std::string>{"out.csv fifo"});
}

// A write that fails half-way (here at a file size limit, as on a full disk) leaves the old file.
TEST(AtomicFileWriter, AFailedWriteLeavesThePreviousFile) {
    TestFolder folder("atomic-full");
    const fs::path target = folder / "trace.csv";
    ASSERT_TRUE(WriteFileAtomically(target, std::string(100000, 'o')));
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8192, 8192};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        AtomicFileWriter writer(target);
        std::error_code error;
        bool written = writer.Open(error);
        for (int i = 0; written && i < 100; ++i) {
            written = writer.Write(std::string(1000, 'n'), error);
        }
        written = writer.Commit(error) && written;
        ::_exit(!written && error == std::errc::file_too_large ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Read(target), std::string(100000, 'o'));
    EXPECT_EQ(Listing(folder.Path()), std::vector<std::string>{"trace.csv file"});
}
