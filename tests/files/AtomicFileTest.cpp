// The atomic writer replaces nothing but a regular file the user may change, wherever the name
// leads, and puts only whole files in place.
#include "app/files/AtomicFile.h"
#include "app/platform/qt/PosixFileSystem.h"
#include "tests/files/TestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace fs = std::filesystem;
using Kinds = std::set<std::string>;

TEST(AtomicFile, OnlyARegularFileTheUserMayChangeIsReplacedNamedOrBehindLinks) {
    TestFolder folder("atomic-kinds");
    const std::string special = "not a regular file (a device, a FIFO, a folder)";
    std::vector<std::pair<std::string, std::string>> things = {
        {"fifo", special}, {"folder", "a folder"}, {"kept", "read-only"}};
    ASSERT_TRUE(MakeFifo(folder / "fifo"));
    fs::create_directory(folder / "folder");
    ASSERT_TRUE(WriteFileAtomically(folder / "kept", "mine")); // the owner's bits apply:
    fs::permissions(folder / "kept", fs::perms::owner_read | fs::perms::group_write);
    if (MakeDevice(folder / "null", DeviceKind::Null)) {
        things.push_back({"null", special});
    }
    for (const auto& [thing, what] : things) {
        fs::create_symlink(thing, folder / (thing + "-link"));
        fs::create_symlink(folder / (thing + "-link"), folder / (thing + "-chain"));
    }
    const Kinds before = Listing(folder.Path());
    for (const auto& [thing, what] : things) {
        for (const std::string& name : {thing, thing + "-link", thing + "-chain"}) {
            std::error_code error;
            EXPECT_FALSE(WriteFileAtomically(folder / name, "replaced", error)) << name;
            EXPECT_EQ(WriteFailureReason(folder / name, error),
                      name == thing ? "it is " + what
                                    : "it is a link to \"" + (folder / thing).string() +
                                          "\", which is " + what);
        }
    }
    EXPECT_EQ(Listing(folder.Path()), before); // every kind as it was, no stray temporary file
    EXPECT_EQ(KindOf(folder / "null"), things.size() == 4 ? "device 1,3" : "nothing");
}

TEST(AtomicFile, LinksStayAndALinkToNothingIsWrittenThrough) {
    TestFolder folder("atomic-links");
    ASSERT_TRUE(WriteFileAtomically(folder / "real", "old"));
    fs::create_symlink("real", folder / "link");
    fs::create_symlink("sub/new", folder / "dangling");
    fs::create_directory(folder / "sub");
    fs::create_symlink("loop", folder / "loop");
    std::error_code error;
    ASSERT_TRUE(WriteFileAtomically(folder / "link", "new", error)) << error.message();
    ASSERT_TRUE(WriteFileAtomically(folder / "dangling", "created", error)) << error.message();
    EXPECT_FALSE(WriteFileAtomically(folder / "loop", "x", error));
    EXPECT_EQ(error, std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(Listing(folder.Path()),
              (Kinds{"dangling link", "link link", "loop link", "real file", "sub folder"}));
    EXPECT_EQ(Listing(folder / "sub"), Kinds{"new file"});
    EXPECT_EQ(TextOf(folder / "real"), "new");
}

TEST(AtomicFileWriter, OnlyAWholeFileTakesTheNameAndOnlyOverARegularFile) {
    TestFolder folder("atomic-stream");
    const fs::path target = folder / "out.csv";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    std::error_code error;
    {
        AtomicFileWriter abandoned(target);
        ASSERT_TRUE(abandoned.Open(error) && abandoned.Write("half", error));
    }
    EXPECT_EQ(Listing(folder.Path()), Kinds{"out.csv file"});
    AtomicFileWriter writer(target), late(target);
    ASSERT_TRUE(writer.Open(error) && writer.Write("a,", error) && writer.Write("b\n", error));
    ASSERT_TRUE(writer.Commit(error)) << error.message();
    ASSERT_TRUE(late.Open(error));
    fs::remove(target); // something else takes the name while the file is written
    ASSERT_TRUE(MakeFifo(target));
    EXPECT_FALSE(late.Commit(error));
    EXPECT_EQ(error, FileError::NotRegularFile);
    EXPECT_EQ(Listing(folder.Path()), Kinds{"out.csv fifo"});
}

// The kernel's rule for an unprivileged user, applied to root as well (who may write anything).
TEST(PosixFileSystem, TheClassBitsThatApplyToTheUserDecideWhatIsReadOnly) {
    TestFolder folder("posix-read-only");
    const fs::path file = folder / "file";
    ASSERT_TRUE(WriteFileAtomically(file, "x"));
    const auto readOnly = [&](fs::perms mode) {
        fs::permissions(file, mode);
        return CPosixFileSystem().IsReadOnlyForUser(file, mode);
    };
    using P = fs::perms;
    EXPECT_TRUE(readOnly(P::owner_read | P::group_write | P::others_write));
    EXPECT_FALSE(readOnly(P::owner_write));
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a file of another owner needs root to make";
    }
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0); // nobody, nogroup
    EXPECT_TRUE(readOnly(P::owner_write | P::others_read));
    EXPECT_FALSE(readOnly(P::others_write));
}
