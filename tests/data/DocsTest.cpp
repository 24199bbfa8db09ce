// The README and the engineer's guide state every input's allowed values as the parameter table
// does: a limit changed in the table and not in the documents fails here.
#include "tests/data/TagTreeSupport.h"

#include "app/model/ParameterRules.h"

using namespace tagtree;

namespace {
// The row both documents give an input: its full name, the values its rules allow (as its
// tooltip lists them) and its unit.
std::string RowOf(const ParameterEntry& parameter) {
    const std::string tooltip = FieldTooltip(parameter);
    return "| " + std::string(parameter.fullName) + " | " + tooltip.substr(tooltip.find(": ") + 2) +
           " | " + parameter.UnitIn(UnitSystem::Oilfield).symbol + " |";
}

void ExpectEveryLimitIn(const std::string& document) {
    const std::string text = ReadBytes(DataDir() / ".." / document);
    ASSERT_FALSE(text.empty()) << document;
    for (const ParameterEntry& parameter : Parameters()) {
        if (!parameter.fromList) {
            EXPECT_NE(text.find(RowOf(parameter)), std::string::npos)
                << document << " lacks the row " << RowOf(parameter);
        }
    }
}
} // namespace

TEST(Docs, TheReadmeStatesTheLimitsOfTheTable) {
    ExpectEveryLimitIn("README.md");
}

TEST(Docs, TheGuideStatesTheLimitsOfTheTable) {
    ExpectEveryLimitIn("tools/art/guide.md");
}
