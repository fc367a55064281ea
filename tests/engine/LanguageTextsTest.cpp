// Look-up of language texts by tag.
#include "engine/LanguageTexts.h"

#include "engine/Global.h"

#include "ProgramStateGuard.h"

#include <gtest/gtest.h>

namespace {

class LanguageTags : public ::testing::Test {
protected:
    testsupport::TProgramStateGuard state;
};

TEST_F(LanguageTags, OnlyTagLinesAreTags)
{
    // A caption that reads like a tag comes before the group of that tag.
    AddLanguageTag(LanguageTexts, "[FILE_MENU]");
    LanguageTexts.Add("[print]");
    AddLanguageTag(LanguageTexts, "[PRINT]");
    LanguageTexts.Add("Drucken");

    EXPECT_EQ(LanguageTagIndex("[Print]"), 2);
    EXPECT_EQ(LanguageText("[PRINT]", 1, "own"), "Drucken");
    EXPECT_EQ(LanguageTagIndex("[file_menu]"), 0);
    // A text alone is no tag.
    LanguageTexts.Add("[CALC_TREE]");
    EXPECT_EQ(LanguageTagIndex("[CALC_TREE]"), -1);
    EXPECT_EQ(LanguageText("[CALC_TREE]", 0, "own"), "own");
}

} // namespace
