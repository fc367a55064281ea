#include "skin/acAnimEffects.h"

#include <gtest/gtest.h>

namespace {

TEST(acAnimEffects, Defaults)
{
    const TacAnimEffects effects;
    EXPECT_EQ(effects.SkinChanging.Time, 100);
    EXPECT_EQ(effects.FormShow.Time, 0);
    EXPECT_EQ(effects.DialogShow.Time, 0);
    EXPECT_TRUE(effects.PageChange.Active);
    EXPECT_EQ(effects.Buttons.Events, 0xFu);
}

TEST(acAnimEffects, ThirdPartyListsByIndex)
{
    ThirdPartyList props;
    std::string text = "kept";
    props.GetByIndex(18, text);
    EXPECT_EQ(text, "kept");
    props.GetByIndex(-1, text);
    EXPECT_EQ(text, "kept");
    props.SetByIndex(18, "nowhere");
    props.GetByIndex(1, text);
    EXPECT_EQ(text, "TButton");

    // Loaded from a stored form: an empty list takes its default, a stored
    // class name stays; forcing restores every default.
    props.SetByIndex(0, "");
    props.SetByIndex(7, "TMyList\r\nTOtherList");
    std::array<std::vector<std::string>, 18> lists;
    UpdateThirdNames(props, lists, false);
    props.GetByIndex(0, text);
    EXPECT_EQ(text, " ");
    EXPECT_EQ(lists[7], (std::vector<std::string>{"TMyList", "TOtherList"}));
    EXPECT_EQ(lists[1], (std::vector<std::string>{"TButton"}));
    UpdateThirdNames(props, lists, true);
    EXPECT_EQ(lists[7], (std::vector<std::string>{" "}));
}

TEST(acAnimEffects, VersionSwitch)
{
    const struct {
        std::vector<std::string> args;
        bool shown;
    } cases[] = {
        {{}, false},
        {{"/skinver"}, true},
        {{"-x", "/SKINVER"}, true},
        {{"/skinver", "/skinver"}, true},
        {{"/skinversion"}, false},
        {{"skinver"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SkinVersionRequest(c.args), c.shown ? "Quenderil v6.47" : "");
}

} // namespace
