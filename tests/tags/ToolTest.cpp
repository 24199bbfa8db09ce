// The gas-separator-tags tool: its output and exit status on good and broken trees.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {
const std::string kTool = std::string(GS_BINARY_DIR) + "/bin/gas-separator-tags";
const std::filesystem::path kData = std::filesystem::path(GS_SOURCE_DIR) / "data";

struct ToolRun {
    int status = -1;
    std::string out; // standard output
    std::string err; // standard error
};

ToolRun RunTool(const std::string& arguments) {
    const std::filesystem::path errFile =
        std::filesystem::temp_directory_path() /
        ("gs_tags_tool_stderr_" + std::to_string(::getpid()) + ".txt"); // tests run in parallel
    const std::string command =
        "QT_QPA_PLATFORM=offscreen '" + kTool + "' " + arguments + " 2>'" + errFile.string() + "'";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) {
        run.out.append(buffer, n);
    }
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(errFile);
    run.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::filesystem::remove(errFile);
    return run;
}

bool HasData() {
    return std::filesystem::exists(kData / "app.app.yml");
}
} // namespace

TEST(TagsToolTest, EmbeddedTreeLoadsAndDumpsEveryTag) {
    if (!HasData()) {
        GTEST_SKIP() << "data/app.app.yml is not there yet";
    }
    const ToolRun plain = RunTool("");
    EXPECT_EQ(plain.status, 0) << plain.err;
    std::smatch count;
    ASSERT_TRUE(std::regex_match(plain.out, count, std::regex("(\\d+) tags\n")));
    const int tags = std::stoi(count[1]);
    EXPECT_GT(tags, 300);

    const ToolRun dump = RunTool("--dump");
    EXPECT_EQ(dump.status, 0);
    EXPECT_NE(dump.out.find("\tapp\tapp.app.yml\t0\t0\n"), std::string::npos);
    EXPECT_NE(dump.out.find("\theaderbar\tviews/header.headerbar.yml\t-2\t-2\n"),
              std::string::npos);
    EXPECT_NE(dump.out.find("1\tpng\t"), std::string::npos);
    EXPECT_NE(dump.out.find("\tpng\tapp_background.png\t-\t-\n"), std::string::npos);
    const auto lines = std::count(dump.out.begin(), dump.out.end(), '\n');
    EXPECT_EQ(lines, tags + 1);
}

TEST(TagsToolTest, DirectoryTreeLoadsAndABrokenOneFails) {
    if (!HasData() || !std::filesystem::exists(kData / "app_background.png")) {
        GTEST_SKIP() << "the shipped tree is not complete yet";
    }
    const ToolRun good = RunTool("--dir '" + kData.string() + "'");
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.out, RunTool("").out);

    const std::filesystem::path copy =
        std::filesystem::temp_directory_path() / ("gs_tags_tool_" + std::to_string(::getpid()));
    std::filesystem::remove_all(copy);
    std::filesystem::copy(kData, copy, std::filesystem::copy_options::recursive);
    std::ofstream(copy / "views/trapezoid_menu/helpbutton.mouse.yml")
        << "X: 0\nY: 0\nWidth: 183\nHeight: 34\n";
    const ToolRun broken = RunTool("--dir '" + copy.string() + "'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out, "");
    EXPECT_NE(broken.err.find("missing key \"Click Event\""), std::string::npos) << broken.err;
    EXPECT_NE(broken.err.find("app.app.yml -> views/button_bar.btnb.yml -> "
                              "views/trapezoid_menu/helpbutton.btn.yml -> "
                              "views/trapezoid_menu/helpbutton.mouse.yml"),
              std::string::npos)
        << broken.err;

    std::ofstream(copy / "views/trapezoid_menu/helpbutton.mouse.yml")
        << "X: 0\nY: 0\nWidth: 183\nHeight: 34\nClick Event: Open Help Dialog\n";
    std::filesystem::remove(copy / "views/header_bar/images/title.png");
    const ToolRun picture = RunTool("--dir '" + copy.string() + "'");
    EXPECT_EQ(picture.status, 1);
    EXPECT_NE(picture.err.find(copy.string() +
                               "/views/header_bar/images/title.png: cannot read "
                               "the picture: No such file or directory (loaded through "
                               "app.app.yml -> views/header.headerbar.yml -> "
                               "views/header_bar/images/title.png)"),
              std::string::npos)
        << picture.err;
    std::filesystem::remove_all(copy);
}

TEST(TagsToolTest, BadArgumentsAndMissingDirectories) {
    EXPECT_EQ(RunTool("--frobnicate").status, 64);
    EXPECT_EQ(RunTool("--dir").status, 64);
    const ToolRun missing = RunTool("--dir /nonexistent/gs_tags");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("not a directory"), std::string::npos);
    const std::filesystem::path loop =
        std::filesystem::temp_directory_path() / ("gs_tags_loop_" + std::to_string(::getpid()));
    std::filesystem::remove(loop);
    std::filesystem::create_symlink(loop, loop);
    EXPECT_EQ(RunTool("--dir '" + loop.string() + "'").status, 1); // not an uncaught exception
    std::filesystem::remove(loop);
}
