#include "app/uLanguage.h"
#include "app/uLoadLanguages.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// The name the shipped Russian language file declares in its first line.
std::string shippedRussianName()
{
    std::ifstream file(testsupport::DataPath("Languages/ru.lng"), std::ios::binary);
    std::string line;
    std::getline(file, line);
    return LanguageNameFromLine(line).value_or("(not a language line)");
}

using Choices = std::vector<std::string>;

TEST(LanguageChoices, EnglishThenTheNamesOfTheList)
{
    EXPECT_EQ(LanguageChoices({}), Choices{"English"});
    EXPECT_EQ(LanguageChoices({"Russian", "ru.lng", "Deutsch", "de.lng"}),
              (Choices{"English", "Russian", "Deutsch"}));
    // An empty name (a first line of just the brackets) is listed too.
    EXPECT_EQ(LanguageChoices({"", "empty.lng"}), (Choices{"English", ""}));
}

TEST(LanguageChoices, TheLastExactMatchIsSelected)
{
    const Choices choices = {"English", "Russian", "Deutsch", "Russian", "English"};
    const struct {
        const char* name;
        int index;
    } cases[] = {
        {"Russian", 3}, {"Deutsch", 2}, {"English", 4}, {"russian", 0}, {"Klingon", 0}, {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageChoiceIndex(choices, c.name), c.index) << c.name;
    EXPECT_EQ(LanguageChoiceIndex({"English"}, "Russian"), 0);
}

TEST(DefaultLanguageName, RussianLocalesGetTheShippedRussianFile)
{
    const std::string russian = shippedRussianName();
    ASSERT_EQ(russian, "Russian(\xD0\xF3\xF1\xF1\xEA\xE8\xE9)");
    const struct {
        const char* locale;
        std::string language;
    } cases[] = {
        {"ru_RU", russian}, {"ru_UA", russian}, {"ru", russian},          {"en_US", "English"},
        {"uk_UA", "English"}, {"de_DE", "English"}, {"C", "English"}, {"", "English"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultLanguageName(c.locale), c.language) << c.locale;
}

} // namespace
