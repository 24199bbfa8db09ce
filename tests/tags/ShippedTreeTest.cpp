// The shipped tree, loaded as the program loads it: from the embedded store and from data/.

#include "app/tags/PictureDecodeAhead.h"
#include "app/tags/TagParseAhead.h"
#include "app/tags/Tags.h"
#include "tests/tags/QtTestSupport.h"
#include "tests/tags/TagTestSupport.h"

#include <map>
#include <set>

using tagtest::TagTest;

namespace {
const std::string kData = std::string(GS_SOURCE_DIR) + "/data/";

template <class T> T* Find(const std::string& path) {
    return GetTagAs<T>(TagManager()->FindTag(path));
}

std::pair<int, int> At(const TPlaceable* tag) {
    return tag ? std::pair(tag->absX, tag->absY) : std::pair(-9999, -9999);
}
} // namespace

class ShippedTreeTest : public TagTest {
protected:
    void SetUp() override {
        TagTest::SetUp();
        tagtest::EnsureQtMedia();
        if (!std::filesystem::exists(kData + "app.app.yml")) {
            GTEST_SKIP() << "data/app.app.yml is not there yet";
        }
    }

    // Every registered tag's path and type, in handle order.
    static std::vector<std::string> Listing() {
        std::vector<std::string> lines;
        for (TagHandle h = 1; h <= TagManager()->TagCount(); ++h) {
            lines.push_back(GetTag(h)->type + " " + GetTag(h)->path);
        }
        return lines;
    }

    void ExpectShippedTree(TagHandle root) {
        EXPECT_EQ(TagManager()->TagCount(), root);
        std::map<std::string, int> types;
        for (TagHandle h = 1; h <= root; ++h) {
            ++types[GetTag(h)->type];
        }
        EXPECT_EQ(types["png"], 91);
        EXPECT_EQ(types["csgpreset"], 90);
        EXPECT_EQ(types["seppreset"], 11);
        EXPECT_EQ(types["ttf"], 3);

        const auto* app = Get<TApp>(root);
        ASSERT_NE(app, nullptr);
        EXPECT_EQ(Get<TImage>(app->backgroundImage)->width, 1300);
        EXPECT_EQ(Get<TIcon>(app->icon)->smallIcon.width, 16);
        // The range warnings share two card pictures (pointing left and right): two tags.
        std::set<TagHandle> rangeCards;
        for (const TagHandle handle : app->warnings) {
            const auto* warning = Get<TWarning>(handle);
            if (warning->name.find("Range") != std::string::npos) {
                rangeCards.insert(warning->backgroundImage);
            }
        }
        EXPECT_EQ(rangeCards.size(), 2u); // pointing left and right
        ExpectPlacement(*app);
    }

    void ExpectPlacement(const TApp& app) {
        const auto* header = Get<THeaderBar>(app.headerBar);
        EXPECT_EQ(std::pair(header->titleAbsX, header->titleAbsY), std::pair(10, 12));
        const auto* bar = Get<TButtonBar>(app.buttonBar);
        const auto* go = Get<TButton>(bar->pumpButtonGo);
        EXPECT_EQ(At(go), std::pair(765, 50));
        EXPECT_EQ(At(Get<TMouseRegion>(go->mouseRegion)), std::pair(765, 50));
        EXPECT_EQ(At(Get<TButton>(bar->helpButton)), std::pair(779, 253));
        const auto* well = Get<TGasSeparator>(app.gasSeparator);
        EXPECT_EQ(std::pair(well->separatorAbsX, well->separatorAbsY), std::pair(986, 0));
        EXPECT_EQ(Get<TValve>(well->valve)->absX, 1110);
        EXPECT_EQ(Get<TValve>(Get<TPlunger>(well->plunger)->valve)->absX, 27);
        EXPECT_EQ(At(Get<TParticleRegion>(well->Region(FlowIndicator))), std::pair(1107, 160));
        const auto* casingLine = Get<TDimensionLine>(well->casingDimensionLine);
        const auto* casingLabel = Get<TLabel>(casingLine->label);
        EXPECT_EQ(At(casingLabel), std::pair(1137, 128));
        EXPECT_NE(casingLabel->screenFont, nullptr);
        const auto* panel = Get<TParametersPanel>(app.parametersPanel);
        const auto* separatorOd = Get<TTextEdit>(panel->fields.front());
        EXPECT_EQ(separatorOd->name, "Separator OD");
        EXPECT_EQ(At(separatorOd), std::pair(178, 221));
        EXPECT_NE(separatorOd->screenFont, nullptr);
        EXPECT_EQ(At(Get<TLabel>(panel->recommendedDipTubeLength)), std::pair(323, 469));
        const auto* save = Get<TSavePresetDialog>(app.savePresetDialog);
        EXPECT_EQ(At(Get<TButton>(save->saveButton)), std::pair(792, 425));
        EXPECT_EQ(At(Get<TTextEdit>(save->presetName)), std::pair(500, 295));
        const auto* capacity = Get<TWarning>(app.warnings.front());
        EXPECT_EQ(At(capacity), std::pair(491, 575));
        // The texts drawn over the cards and beside the boxes have their fonts made.
        EXPECT_NE(Get<TNotice>(capacity->titleStyle)->screenFont, nullptr);
        EXPECT_NE(Get<TNotice>(panel->captionStyle)->screenFont, nullptr);
    }
};

TEST_F(ShippedTreeTest, LoadsFromTheEmbeddedStore) {
    InitTags("");
    const TagHandle root = LoadTag("app.app.yml");
    ExpectShippedTree(root);
    EXPECT_EQ(LoadTag("app.app.yml"), root); // shared, placed again

    const auto* combo = Find<TComboBox>("views/parameters_panel/casingsize.cmb.yml");
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->items.size(), 90u);
    EXPECT_EQ(Get<TCasingSize>(combo->items[0])->casingSize, 4.09);
    EXPECT_EQ(combo->defaultText, "");
    const auto* particle = Find<TParticle>("views/well_model/casing_bubble_02.particle.yml");
    ASSERT_NE(particle, nullptr);
    EXPECT_EQ(particle->imageWidth, 49);
    EXPECT_EQ(particle->minimumWidth, 14);
    EXPECT_EQ(particle->edgeBehaviorY, EdgeBehavior::Flow);

    // A ref differing only in case finds the same file but becomes a second tag.
    const TagHandle upper = ResolveRef("Views/Button_Bar.btnb.yml");
    EXPECT_NE(upper, Get<TApp>(root)->buttonBar);
    EXPECT_EQ(TagManager()->TagCount(), root + 1);
}

TEST_F(ShippedTreeTest, LoadsFromTheDataDirectoryLikeTheEmbeddedStore) {
    if (!std::filesystem::exists(kData + "app_background.png")) {
        GTEST_SKIP() << "the pictures are not in data/ yet";
    }
    InitTags("");
    LoadTag("app.app.yml");
    const std::vector<std::string> embedded = Listing();
    ResetTags();
    InitTags(kData);
    ExpectShippedTree(LoadTag("app.app.yml"));
    EXPECT_EQ(Listing(), embedded);
}

// Loaded as the program starts, the pictures decoded and the files parsed on a second thread
// racing the load, the tree is the one loaded in place; also when the worker may hold the text
// of only a few files.
TEST_F(ShippedTreeTest, LoadsWithItsFilesParsedAheadAsInPlace) {
    InitTags("");
    LoadTag("app.app.yml");
    const std::vector<std::string> inPlace = Listing();
    for (const std::size_t budget : {CTagParseAhead::kMaxSourceBytes, std::size_t{4096}}) {
        ResetTags();
        InitTags("");
        TagHandle root = 0;
        {
            CTagParseAhead documents("app.app.yml", "", budget);
            const CPictureDecodeAhead pictures(&documents);
            root = LoadTag("app.app.yml");
        }
        ExpectShippedTree(root);
        EXPECT_EQ(Listing(), inPlace) << "budget " << budget;
    }
}

TEST_F(ShippedTreeTest, RefreshRereadsSharedTagsAndKeepsHandles) {
    InitTags("");
    const TagHandle root = LoadTag("app.app.yml");
    const TagHandle bubble = TagManager()->FindTag("views/well_model/images/bubble_01.png");
    const Tag* before = GetTag(bubble);
    const int count = TagManager()->TagCount();
    RefreshTag(root);
    EXPECT_EQ(TagManager()->TagCount(), count);
    EXPECT_NE(GetTag(bubble), before);
    EXPECT_EQ(GetTag(bubble)->path, "views/well_model/images/bubble_01.png");
    ExpectShippedTree(root);
}
