// The tag classes: value conversions, defaults of optional keys, placement and screen fonts.

#include "app/tags/Tags.h"
#include "tests/tags/TagTestSupport.h"

#include <limits>

using tagtest::TagTest;

class TagClassesTest : public TagTest {};

TEST_F(TagClassesTest, ScalarsConvertAsYamlDoes) {
    Write("t.text.yml", "X: 0x10\nY: 010\nWidth: -3\nHeight: 4\nRead Only: True\n"
                        "Default Text: \"\"\nFont Name: Exo\n");
    const auto* text = Get<TTextEdit>(LoadTag("t.text.yml"));
    EXPECT_EQ(text->x, 16);
    EXPECT_EQ(text->y, 8);
    EXPECT_EQ(text->width, -3);
    EXPECT_TRUE(text->readOnly);
    EXPECT_EQ(text->defaultText, "");

    Write("w.warning.yml", "X: 0\nY: 0\nBackground Image: ref(i.png)\nLifespan: .inf\n");
    WriteImage("i.png");
    EXPECT_EQ(Get<TWarning>(LoadTag("w.warning.yml"))->lifespan,
              std::numeric_limits<double>::infinity());

    // Windows line ends, comments, and only the first document counts.
    Write("d.mouse.yml", "# region\r\nX: 1\r\nY: 2\r\nWidth: 3\r\nHeight: 4\r\n"
                         "Click Event: Go \r\n---\r\nX: 9\r\n");
    const auto* region = Get<TMouseRegion>(LoadTag("d.mouse.yml"));
    EXPECT_EQ(region->x, 1);
    EXPECT_EQ(region->clickEvent, "Go");

    Write("o.mouse.yml", "X: 3000000000\nY: 0\nWidth: 1\nHeight: 1\nClick Event: E\n");
    EXPECT_THROW(LoadTag("o.mouse.yml"), TagError); // beyond a 32-bit integer
}

TEST_F(TagClassesTest, OptionalKeysTakeTheirDefaults) {
    Write("c.cmb.yml", "X: 1\nY: 2\nWidth: 3\nHeight: 4\n");
    const auto* combo = Get<TComboBox>(LoadTag("c.cmb.yml"));
    EXPECT_EQ(combo->selectedItemChangedEvent, "");
    EXPECT_EQ(combo->backgroundImage, 0);
    EXPECT_EQ(combo->dropdownBackgroundImage, 0);
    EXPECT_EQ(combo->selectionBackgroundImage, 0);
    EXPECT_TRUE(combo->items.empty());
    EXPECT_EQ(combo->defaultText, "");
    EXPECT_EQ(combo->fontSize, 0);

    Write("t.text.yml", "X: 1\nY: 2\nWidth: 3\nHeight: 4\n");
    const auto* text = Get<TTextEdit>(LoadTag("t.text.yml"));
    EXPECT_EQ(text->leftMargin + text->topMargin, 0);
    EXPECT_FALSE(text->readOnly);
    EXPECT_EQ(std::vector<int>({text->textColorR, text->textColorG, text->textColorB}),
              std::vector<int>({0, 0, 0}));
    EXPECT_EQ(
        std::vector<int>({text->errorTextColorR, text->errorTextColorG, text->errorTextColorB}),
        std::vector<int>({255, 0, 0}));

    Write("l.lbl.yml", "X: 1\nY: 2\n");
    const auto* label = Get<TLabel>(LoadTag("l.lbl.yml"));
    EXPECT_EQ(label->fillColor, 0xFFFFFFFFu);
    EXPECT_EQ(label->strokeColor, 0xFFFFFFFFu);
    EXPECT_EQ(label->fillAlpha, 255);
    EXPECT_EQ(label->strokeWidth, 0.0);
    EXPECT_EQ(label->horizontalAlignment, "Center");
    EXPECT_EQ(label->unit, "");

    Write("r.particleregion.yml", "X: 1\nY: 2\nHeight: 280\nWidth: 43\n"
                                  "Particle Creation Bounds Y: 250\n"
                                  "Particle Creation Bounds Height: 30\n");
    const auto* region = Get<TParticleRegion>(LoadTag("r.particleregion.yml"));
    EXPECT_EQ(region->minimumHeight, 280);
    EXPECT_EQ(region->creationBounds.left, 0);
    EXPECT_EQ(region->creationBounds.right, 43);
    EXPECT_EQ(region->creationBounds.top, 250);
    EXPECT_EQ(region->creationBounds.bottom, 280);
    EXPECT_EQ(region->bottomCurveRadius, 0);
    EXPECT_TRUE(region->particles.empty());
}

TEST_F(TagClassesTest, ColoursKeepTheLowEightBitsAndUnitsKeepEscapedQuotes) {
    Write("l.lbl.yml", "X: 1\nY: 2\nFill Color: [300, 0, 0]\nStroke Color: [53, 87, -1]\n"
                       "Unit: \"\\\"\"\nHorizontal Alignment: left\n");
    const auto* label = Get<TLabel>(LoadTag("l.lbl.yml"));
    EXPECT_EQ(label->fillColor, 0xFF2C0000u);
    EXPECT_EQ(label->strokeColor, 0xFF3557FFu);
    EXPECT_EQ(label->unit, "\"");
    EXPECT_EQ(label->horizontalAlignment, "left"); // kept as written; views centre it

    Write("s.lbl.yml", "X: 1\nY: 2\nFill Color: [1, 2]\n");
    EXPECT_THROW(LoadTag("s.lbl.yml"), TagError);
    Write("n.lbl.yml", "X: 1\nY: 2\nFill Color: [1, two, 3]\n");
    EXPECT_THROW(LoadTag("n.lbl.yml"), TagError);
}

TEST_F(TagClassesTest, ParticleDefaultsAndEdgeBehaviour) {
    WriteImage("i.png");
    Write("p.particle.yml", "Image: ref(i.png)\n");
    const auto* particle = Get<TParticle>(LoadTag("p.particle.yml"));
    EXPECT_EQ(particle->edgeBehaviorX, EdgeBehavior::Bounce);
    EXPECT_EQ(particle->particlesPerSecond, 0);
    EXPECT_EQ(particle->alphaMinimum, 255);
    EXPECT_EQ(particle->alphaMaximum, 255);
    EXPECT_EQ(particle->lifespan, 2147483647.0);
    EXPECT_EQ(particle->maxNumberOfParticles, 2147483647);
    EXPECT_EQ(particle->velocityYMinimum, -2147483647 - 1);
    EXPECT_EQ(particle->velocityXMaximum, 2147483647);
    EXPECT_EQ(particle->minimumWidth, 3); // the image's size (3 x 2 from the fake decoder)
    EXPECT_EQ(particle->minimumHeight, 2);

    Write("q.particle.yml", "Image: ref(i.png)\nEdge Behavior X: Flow\nEdge Behavior Y: death\n"
                            "Minimum Width: 1\n");
    const auto* other = Get<TParticle>(LoadTag("q.particle.yml"));
    EXPECT_EQ(other->edgeBehaviorX, EdgeBehavior::Flow);
    EXPECT_EQ(other->edgeBehaviorY, EdgeBehavior::Bounce);
    EXPECT_EQ(other->minimumWidth, 1);
    EXPECT_EQ(other->image, particle->image);

    Write("x.particle.yml", "Lifespan: 2\n");
    EXPECT_THROW(LoadTag("x.particle.yml"), TagError);
}

TEST_F(TagClassesTest, PresetsReadTheirOwnKeysThenTheItemKeys) {
    Write("p.seppreset.yml", "Display Name: Packer\nSeparator OD: 4.777\nSeparator ID: 4.776\n"
                             "Dip Tube OD: 3.75\nDip Tube ID: 1.38\nDip Tube Length: 56\n");
    Write("c.csgpreset.yml", "Display Name: '4.5\" 9.5 lbs/ft (ID 4.09\")'\nCasing Size: 4.09\n");
    Write("c.cmb.yml", "X: 0\nY: 0\nWidth: 1\nHeight: 1\n"
                       "Items: [ref(p.seppreset.yml), ref(c.csgpreset.yml)]\n");
    const auto* combo = Get<TComboBox>(LoadTag("c.cmb.yml"));
    ASSERT_EQ(combo->items.size(), 2u);
    const auto* preset = Get<TSeparatorPreset>(combo->items[0]);
    EXPECT_EQ(preset->preset.dimensions.GetSeparatorID(), 4.776);
    EXPECT_EQ(preset->preset.displayName, "Packer");
    EXPECT_EQ(preset->displayName, "Packer");
    EXPECT_EQ(Get<TCasingSize>(combo->items[1])->displayName, "4.5\" 9.5 lbs/ft (ID 4.09\")");

    Write("d.cmb.yml", "X: 0\nY: 0\nWidth: 1\nHeight: 1\nItems: [ref(c.cmb.yml)]\n");
    EXPECT_THROW(LoadTag("d.cmb.yml"), TagError); // a combo box is not a row
}

TEST_F(TagClassesTest, PlacementExceptionsAndScreenFonts) {
    WriteImage("i.png");
    Write("h.headerbar.yml", "X: -2\nY: -2\nBackground Image: ref(i.png)\n"
                             "Title Image X: 10\nTitle Image Y: 12\nTitle Image: ref(i.png)\n");
    auto* header = Get<THeaderBar>(LoadTag("h.headerbar.yml"));
    header->Place(0, 0);
    EXPECT_EQ(std::pair(header->absX, header->absY), std::pair(-2, -2));
    EXPECT_EQ(std::pair(header->titleAbsX, header->titleAbsY), std::pair(10, 12));

    Write("v.valve.yml", "X: 27\nUpper Stroke Y: 141\nLower Stroke Y: 156\n"
                         "Transition Time: 0.75\nBackground Image: ref(i.png)\n");
    Write("p.plng.yml", "X: 97\nUpper Stroke Y: -110\nLower Stroke Y: -35\nWidth: 81\n"
                        "Height: 187\nValve: ref(v.valve.yml)\nBackground Image: ref(i.png)\n");
    auto* plunger = Get<TPlunger>(LoadTag("p.plng.yml"));
    plunger->Place(704, 10);
    EXPECT_EQ(plunger->absX, 801);
    EXPECT_EQ(std::pair(plunger->absUpperY, plunger->absLowerY), std::pair(-100, -25));
    const auto* valve = Get<TValve>(plunger->valve);
    EXPECT_EQ(valve->absX, 27); // moves with the plunger picture
    EXPECT_EQ(std::pair(valve->absUpperY, valve->absLowerY), std::pair(141, 156));

    Write("l.lbl.yml", "X: 140\nY: 68\nFont Name: Exo Bold\nFont Size: 55\n");
    Write("z.lbl.yml", "X: 1\nY: 1\nFont Name: Exo Bold\nFont Size: 0\n");
    Write("d.dim.yml", "X: 11\nY: 60\nImage: ref(i.png)\nLabel: ref(l.lbl.yml)\n");
    auto* line = Get<TDimensionLine>(LoadTag("d.dim.yml"));
    line->Place(704, 0);
    const auto* label = Get<TLabel>(line->label);
    EXPECT_EQ(std::pair(label->absX, label->absY), std::pair(855, 128));
    ASSERT_NE(label->screenFont, nullptr);
    EXPECT_EQ(label->screenFont->FaceName(), "Exo Bold");
    EXPECT_EQ(label->screenFont->CellHeight(), 55);
    line->Place(704, 0); // a new placement replaces the font
    EXPECT_EQ(fonts.created, 2);
    EXPECT_EQ(fonts.live, 1);

    auto* noFont = Get<TLabel>(LoadTag("z.lbl.yml"));
    noFont->Place(0, 0);
    EXPECT_EQ(noFont->screenFont, nullptr);
}

// An optional reference is 0 only while its key is absent: one that is there must name a tag of
// its class that loads.
TEST_F(TagClassesTest, OptionalReferencesAreCheckedWhenThere) {
    WriteImage("i.png");
    Write("n.notice.yml", "X: 60\nY: 30\nFont Name: Exo\nFont Size: 20\nWrap Width: 100\n");
    Write("l.lbl.yml", "X: 1\nY: 2\n");
    Write("plain.warning.yml", "Name: W\nX: 0\nY: 0\nBackground Image: ref(i.png)\nLifespan: 0\n");
    const auto* plain = Get<TWarning>(LoadTag("plain.warning.yml"));
    EXPECT_EQ(plain->titleStyle, 0);
    EXPECT_EQ(plain->textStyle, 0);
    EXPECT_EQ(plain->title, "");

    Write("styled.warning.yml", "Name: S\nX: 5\nY: 6\nBackground Image: ref(i.png)\n"
                                "Lifespan: 0\nTitle: T\nTitle Style: ref(n.notice.yml)\n");
    const auto* styled = Get<TWarning>(LoadTag("styled.warning.yml"));
    ASSERT_NE(Get<TNotice>(styled->titleStyle), nullptr);
    EXPECT_EQ(Get<TNotice>(styled->titleStyle)->x, 60); // an offset, not moved by placement

    for (const char* bad : {"Title Style: ref(l.lbl.yml)\n", "Title Style: ref(none.notice.yml)\n",
                            "Text Style: ref(i.png)\n"}) {
        Write("bad.warning.yml", std::string("Name: B\nX: 0\nY: 0\nBackground Image: ref(i.png)\n"
                                             "Lifespan: 0\n") +
                                     bad);
        EXPECT_THROW(LoadTag("bad.warning.yml"), TagError) << bad;
    }
}
