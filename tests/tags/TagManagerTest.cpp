// Loading, sharing, refreshing and failing loads, on small trees in a scratch directory.

#include "app/tags/PictureDecodeAhead.h"
#include "app/tags/TagParseAhead.h"
#include "app/tags/Tags.h"
#include "tests/tags/TagTestSupport.h"

#include <functional>

using tagtest::TagTest;

namespace {
const char* kMouse = "X: 1\nY: 2\nWidth: 30\nHeight: 40\nClick Event: Go\n";

std::string Button(const std::string& mouseRef) {
    return "X: 5\nY: 6\nBase Image: ref(img/a.png)\nHover Image: ref(img/a.png)\n"
           "Pressed Image: ref(img/b.png)\nMouse Region: ref(" +
           mouseRef + ")\n";
}

std::string ErrorText(const std::function<void()>& load) {
    try {
        load();
    } catch (const TagError& error) {
        return error.what();
    }
    return "no error";
}
} // namespace

class TagManagerTest : public TagTest {
protected:
    void WriteButtonTree() {
        WriteImage("img/a.png");
        WriteImage("img/b.png");
        Write("b.mouse.yml", kMouse);
        Write("b.btn.yml", Button("b.mouse.yml"));
    }
};

TEST_F(TagManagerTest, HandlesStartAtOneAndSharedTagsAreLoadedOnce) {
    WriteButtonTree();
    EXPECT_EQ(GetTag(0), nullptr);
    const TagHandle button = LoadTag("b.btn.yml");
    // Depth first in key-reading order: a.png, b.png, the mouse region, then the button.
    EXPECT_EQ(Get<TImage>(1)->path, "img/a.png");
    EXPECT_EQ(Get<TImage>(2)->path, "img/b.png");
    EXPECT_EQ(Get<TMouseRegion>(3)->clickEvent, "Go");
    EXPECT_EQ(button, 4);
    EXPECT_EQ(TagManager()->TagCount(), 4);
    EXPECT_EQ(decoder.images, 2); // a.png is referenced twice but decoded once

    const auto* tag = Get<TButton>(button);
    EXPECT_EQ(tag->baseImage, tag->hoverImage);
    EXPECT_EQ(tag->type, "btn");
    EXPECT_EQ(tag->fullPath, dir.string() + "/b.btn.yml");
    EXPECT_EQ(tag->handle, button);
    // A tag is found as its own class and as a base class, never as another class.
    EXPECT_EQ(GetTagAs<TPlaceable>(button), static_cast<const TPlaceable*>(tag));
    EXPECT_EQ(GetTagAs<TMouseRegion>(button), nullptr);
    EXPECT_EQ(GetTagAs<TButton>(3), nullptr);
    EXPECT_EQ(GetTagAs<TButton>(0), nullptr);
    EXPECT_THROW(GetTag(5), std::out_of_range);
    EXPECT_THROW(GetTag(-1), std::out_of_range);

    // A second load shares the tag without reading the file again.
    Write("b.btn.yml", "X: 99\n");
    EXPECT_EQ(LoadTag("b.btn.yml"), button);
    EXPECT_EQ(Get<TButton>(button)->x, 5);
}

TEST_F(TagManagerTest, TypeIsTheSecondDotSeparatedPieceOfThePath) {
    EXPECT_EQ(TagType("views/button_bar.btnb.yml"), "btnb");
    EXPECT_EQ(TagType("fonts/Exo-Bold.ttf"), "ttf");
    EXPECT_EQ(TagType("a.b/c.btn.yml"), "b/c");
    EXPECT_EQ(TagType("noextension"), "");

    static std::string traced;
    SetDebugTraceSink([](const std::string& line) { traced += line; });
    EXPECT_EQ(CTagManager::CreateTag("b/c"), nullptr);
    SetDebugTraceSink(nullptr);
    EXPECT_EQ(traced, "Unrecognized tag type, 'b/c'. Need to update CTagManager::CreateTag.\n");

    std::unique_ptr<Tag> region(CTagManager::CreateTag("diptubeparticleregion"));
    EXPECT_NE(dynamic_cast<TDipTubeParticleRegion*>(region.get()), nullptr);
    std::unique_ptr<Tag> preset(CTagManager::CreateTag("csgpreset"));
    EXPECT_NE(dynamic_cast<TComboBoxItem*>(preset.get()), nullptr);
    EXPECT_EQ(CTagManager::CreateTag("BTN"), nullptr); // extensions match case-sensitively
}

TEST_F(TagManagerTest, PathsWithoutAKnownTypeFailWithoutRegistering) {
    Write("a.b/c.btn.yml", Button("b.mouse.yml"));
    EXPECT_NE(ErrorText([] { LoadTag("a.b/c.btn.yml"); }).find("unrecognized tag type 'b/c'"),
              std::string::npos);
    EXPECT_NE(ErrorText([] { LoadTag("noextension"); }).find("no type"), std::string::npos);

    Write("bad.dim.yml", "X: 0\nY: 0\nImage: ref()\nLabel: ref(l.lbl.yml)\n");
    const std::string error = ErrorText([] { LoadTag("bad.dim.yml"); });
    EXPECT_NE(error.find("bad.dim.yml:3:"), std::string::npos) << error;
    EXPECT_NE(error.find("no type"), std::string::npos) << error;
    EXPECT_EQ(TagManager()->TagCount(), 0);
}

TEST_F(TagManagerTest, RefReaderDropsFourLeadingAndOneTrailingCharacterUnchecked) {
    WriteImage("img/a.png");
    Write("m.mouse.yml", kMouse);
    Write("b.btn.yml", "X: 0\nY: 0\nBase Image: 'xyz(img/a.png)'\nHover Image: abcdimg/a.png!\n"
                       "Pressed Image: ref(img/a.png)\nMouse Region: \"ref(m.mouse.yml)\"\n");
    const auto* button = Get<TButton>(LoadTag("b.btn.yml"));
    EXPECT_EQ(Get<TImage>(button->baseImage)->path, "img/a.png");
    EXPECT_EQ(button->hoverImage, button->baseImage);
    EXPECT_EQ(button->pressedImage, button->baseImage);

    Write("short.btn.yml", "X: 0\nY: 0\nBase Image: ref\n");
    EXPECT_NE(ErrorText([] { LoadTag("short.btn.yml"); }).find("short.btn.yml:3:13"),
              std::string::npos);
    Write("list.btn.yml", "X: 0\nY: 0\nBase Image: [ref(img/a.png)]\n");
    EXPECT_NE(ErrorText([] { LoadTag("list.btn.yml"); }).find("must be a scalar"),
              std::string::npos);
}

TEST_F(TagManagerTest, RefsWhoseCaseDiffersAreSeparateTags) {
    WriteImage("img/a.png");
    WriteImage("IMG/A.png");
    Write("v.valvebase.yml", "X: 0\nY: 0\nBackground Image: ref(img/a.png)\n");
    Write("w.valvebase.yml", "X: 0\nY: 0\nBackground Image: ref(IMG/A.png)\n");
    const auto* v = Get<TValveBase>(LoadTag("v.valvebase.yml"));
    const auto* w = Get<TValveBase>(LoadTag("w.valvebase.yml"));
    EXPECT_NE(v->backgroundImage, w->backgroundImage);
}

TEST_F(TagManagerTest, TagDirectoryIsJoinedToThePathAsItIs) {
    Write("views/x.mouse.yml", kMouse);
    Write("../" + dir.filename().string() + "views/x.mouse.yml", kMouse);
    InitTags(dir.string()); // no trailing slash: "<dir>views/x.mouse.yml"
    const auto* region = Get<TMouseRegion>(LoadTag("views/x.mouse.yml"));
    EXPECT_EQ(region->fullPath, dir.string() + "views/x.mouse.yml");
    EXPECT_EQ(region->clickEvent, "Go");
    std::filesystem::remove_all(dir.string() + "views");
}

TEST_F(TagManagerTest, MissingKeyNamesTheKeyAndTheChainAndRegistersNoPartialTag) {
    WriteButtonTree();
    Write("b.mouse.yml", "X: 1\nY: 2\nWidth: 30\nHeight: 40\n");
    Write("bar.btnb.yml", "X: 0\nY: 0\nBackground Image: ref(img/b.png)\n"
                          "Pump Button Go: ref(b.btn.yml)\n");
    try {
        LoadTag("bar.btnb.yml");
        FAIL() << "the load should fail";
    } catch (const TagError& error) {
        EXPECT_EQ(error.Detail(), "missing key \"Click Event\"");
        EXPECT_EQ(error.File(), dir.string() + "/b.mouse.yml");
        EXPECT_EQ(error.Chain(),
                  (std::vector<std::string>{"bar.btnb.yml", "b.btn.yml", "b.mouse.yml"}));
        EXPECT_NE(std::string(error.what()).find("bar.btnb.yml -> b.btn.yml -> b.mouse.yml"),
                  std::string::npos);
    }
    // The images that loaded completely stay; nothing on the failing path is registered.
    EXPECT_EQ(TagManager()->FindTag("b.mouse.yml"), 0);
    EXPECT_EQ(TagManager()->FindTag("b.btn.yml"), 0);
    EXPECT_EQ(TagManager()->FindTag("bar.btnb.yml"), 0);
    EXPECT_GT(TagManager()->FindTag("img/b.png"), 0);
}

TEST_F(TagManagerTest, BadValuesReportLineAndColumn) {
    Write("m.mouse.yml", "X: 1\nY: 2\nWidth: wide\nHeight: 40\nClick Event: Go\n");
    try {
        LoadTag("m.mouse.yml");
        FAIL() << "the load should fail";
    } catch (const TagError& error) {
        EXPECT_EQ(error.Line(), 3);
        EXPECT_EQ(error.Column(), 8);
        EXPECT_NE(error.Detail().find("\"Width\""), std::string::npos);
        EXPECT_NE(error.Detail().find("'wide'"), std::string::npos);
    }
    Write("p.mouse.yml", "X: [1\n");
    EXPECT_NE(ErrorText([] { LoadTag("p.mouse.yml"); }).find("p.mouse.yml:"), std::string::npos);
    Write("s.mouse.yml", "- X\n- Y\n");
    EXPECT_NE(ErrorText([] { LoadTag("s.mouse.yml"); }).find("expected a map"), std::string::npos);
    // A missing file reads as an empty document: the first required key fails.
    const std::string missing = ErrorText([] { LoadTag("gone.mouse.yml"); });
    EXPECT_NE(missing.find("missing key \"X\" (the tag file is missing or empty)"),
              std::string::npos)
        << missing;
    // A present optional key that does not convert fails like a required one.
    Write("t.text.yml", "X: 0\nY: 0\nWidth: 1\nHeight: 1\nRead Only: maybe\n");
    EXPECT_NE(ErrorText([] { LoadTag("t.text.yml"); }).find("t.text.yml:5:12"), std::string::npos);
    // A key added again at the end would silently lose to the first.
    Write("r.mouse.yml", "X: 1\nY: 2\nWidth: 3\nHeight: 40\nClick Event: Go\nX: 400\n");
    EXPECT_NE(ErrorText([] {
                  LoadTag("r.mouse.yml");
              }).find("r.mouse.yml:6:1: \"X\" is given twice (lines 1 and 6)"),
              std::string::npos)
        << ErrorText([] { LoadTag("r.mouse.yml"); });
}

TEST_F(TagManagerTest, RefToTheWrongClassFails) {
    WriteButtonTree();
    Write("x.btn.yml", Button("img/a.png"));
    const std::string error = ErrorText([] { LoadTag("x.btn.yml"); });
    EXPECT_NE(error.find("x.btn.yml:6:"), std::string::npos) << error;
    EXPECT_NE(error.find("img/a.png is not a TMouseRegion"), std::string::npos) << error;
}

TEST_F(TagManagerTest, ReferenceCyclesAreReported) {
    Write("a.dim.yml", "X: 0\nY: 0\nImage: ref(b.dim.yml)\n");
    Write("b.dim.yml", "X: 0\nY: 0\nImage: ref(a.dim.yml)\n");
    try {
        LoadTag("a.dim.yml");
        FAIL() << "the load should fail";
    } catch (const TagError& error) {
        EXPECT_NE(error.Detail().find("cycle"), std::string::npos);
        EXPECT_EQ(error.Chain(), (std::vector<std::string>{"a.dim.yml", "b.dim.yml", "a.dim.yml"}));
    }
    Write("self.warning.yml", "X: 0\nY: 0\nBackground Image: ref(self.warning.yml)\n");
    EXPECT_NE(ErrorText([] { LoadTag("self.warning.yml"); }).find("cycle"), std::string::npos);
    EXPECT_EQ(TagManager()->TagCount(), 0);
}

TEST_F(TagManagerTest, RefreshKeepsHandlesAndRereadsEveryReference) {
    WriteButtonTree();
    const TagHandle button = LoadTag("b.btn.yml");
    const TagHandle region = Get<TButton>(button)->mouseRegion;
    const Tag* before = GetTag(region);
    EXPECT_EQ(decoder.images, 2);

    Write("b.mouse.yml", "X: 1\nY: 2\nWidth: 30\nHeight: 40\nClick Event: Stop\n");
    RefreshTag(button);
    EXPECT_EQ(Get<TButton>(button)->mouseRegion, region);
    EXPECT_NE(GetTag(region), before);
    EXPECT_EQ(Get<TMouseRegion>(region)->clickEvent, "Stop");
    EXPECT_EQ(decoder.images, 5); // a.png once per reference (twice), b.png once
    EXPECT_EQ(TagManager()->TagCount(), 4);
    EXPECT_FALSE(TagManager()->Refreshing());

    // A failed refresh leaves the manager usable and the flag cleared.
    Write("b.mouse.yml", "X: 1\n");
    EXPECT_THROW(RefreshTag(button), TagError);
    EXPECT_FALSE(TagManager()->Refreshing());
    EXPECT_EQ(Get<TMouseRegion>(region)->clickEvent, "Stop");
    RefreshTag(0); // an empty slot is ignored
}

// Tag files parsed ahead load as they load in place, errors included: with everything parsed
// before the load comes to it, and with the worker racing the load.
TEST_F(TagManagerTest, FilesParsedAheadLoadAsInPlaceErrorsIncluded) {
    WriteButtonTree();
    Write("p.btn.yml", Button("p.mouse.yml"));
    Write("p.mouse.yml", "X: [1\n"); // bad YAML
    Write("q.btn.yml", Button("none.mouse.yml"));
    Write("l.btn.yml", Button("l.btn.yml"));
    const auto describe = [this](const std::string& root) {
        ResetTags();
        InitTags(dir.string() + "/");
        return ErrorText([&] {
            const auto* button = GetTagAs<TButton>(LoadTag(root));
            throw TagError(root, 0, 0,
                           "loaded: " + Get<TMouseRegion>(button->mouseRegion)->clickEvent);
        });
    };
    for (const std::string root : {"b.btn.yml", "p.btn.yml", "q.btn.yml", "l.btn.yml"}) {
        const std::string inPlace = describe(root);
        std::string ahead;
        {
            CTagParseAhead documents(root, dir.string() + "/");
            documents.Work([] { return false; });
            ahead = describe(root);
            EXPECT_FALSE(documents.Take(root)) << "taken by the load";
        }
        std::string racing;
        {
            CTagParseAhead documents(root, dir.string() + "/");
            const CPictureDecodeAhead worker(std::vector<CPictureDecodeAhead::Source>{},
                                             &documents);
            racing = describe(root);
        }
        EXPECT_NE(inPlace, "no error");
        EXPECT_EQ(ahead, inPlace) << root;
        EXPECT_EQ(racing, inPlace) << root;
    }
    EXPECT_EQ(CTagParseAhead::Current(), nullptr);
    EXPECT_EQ(CTagParseAhead::DocumentRefs("A: ref(a.btn.yml)\nB: ref(b.png)\nC: ref(c.dim.yml)\n"
                                           "D: ref(d.btn.yml\nE: [ref(e.mouse.yml)]"),
              (std::vector<std::string>{"a.btn.yml", "c.dim.yml", "e.mouse.yml"}));
}
