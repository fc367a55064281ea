// The editor parameters dialog's rules: which bit each option control shows
// and in which sense, and the sample dump's drawing.
#include "app/uColorsAndFonts.h"

#include "app/MainBackup.h"
#include "engine/Global.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const TEditorOption& Option(const std::string& control)
{
    for (const TEditorOption& o : EditorOptions())
        if (control == o.Control)
            return o;
    ADD_FAILURE() << "no option control " << control;
    return EditorOptions().front();
}

TEST(EditorOptions, EachControlShowsItsBitInItsSense)
{
    struct Case {
        const char* Control;
        uint32_t Bit;
        bool ShownWhenSet; // checked, or item 1 of a combo box
    };
    const Case cases[] = {
        {"ComboBox2", 1u << 12, false}, // item 0 "On the top" when set
        {"ComboBox3", 1u << 13, false},
        {"CheckBox5", 1u << 14, false}, // "Do not show tab ...": checked when clear
        {"CheckBox4", 1u << 3, true},    {"CheckBox3", 1u << 4, true},   {"CheckBox8", 1u << 8, true},
        {"CheckBox9", 1u << 9, true},    {"CheckBox1", 1u << 15, true},  {"CheckBox6", 1u << 17, true},
        {"CheckBox11", 1u << 11, true},  {"cbNoMarkFile", 1u << 29, true},
        {"cbDisableBackup", 1u << 21, false}, // the backup runs while the bit is set
        {"ComboBox1", 1u << 27, true},   // item 1 "Date + time + IC type" when set
    };
    ASSERT_EQ(EditorOptions().size(), std::size(cases));
    uint32_t mask = 0;
    for (const Case& c : cases) {
        const TEditorOption& o = Option(c.Control);
        EXPECT_EQ(o.Bit, c.Bit) << c.Control;
        for (uint32_t others : {0u, 0xFFFFFFFFu, WorkParamDefault}) {
            EXPECT_EQ(OptionShown(o, others | c.Bit), c.ShownWhenSet) << c.Control;
            EXPECT_EQ(OptionShown(o, others & ~c.Bit), !c.ShownWhenSet) << c.Control;
            // Storing sets or clears this bit only.
            EXPECT_EQ(StoreOption(o, c.ShownWhenSet, others), others | c.Bit) << c.Control;
            EXPECT_EQ(StoreOption(o, !c.ShownWhenSet, others), others & ~c.Bit) << c.Control;
        }
        mask |= c.Bit;
    }
    EXPECT_EQ(EditorOptionMask(), mask);
}

TEST(EditorOptions, DisableBackupTellsTheTruthAboutTheBackup)
{
    const TEditorOption& box = Option("cbDisableBackup");
    for (uint32_t workParam : {0u, WorkParamDefault}) {
        for (bool checked : {false, true}) {
            const uint32_t stored = StoreOption(box, checked, workParam);
            EXPECT_EQ(AutoBackupWanted(BackupExitValue, stored), !checked) << checked;
            EXPECT_EQ(OptionShown(box, stored), checked);
        }
    }
    // The default option word makes backups, so the box starts unchecked.
    EXPECT_TRUE(AutoBackupWanted(BackupExitValue, WorkParamDefault));
    EXPECT_FALSE(OptionShown(box, WorkParamDefault));
}

TEST(EditorOptions, TheSpecificEdgeCases)
{
    // Unchecking "Do not show tab ..." sets bit 14; checking clears it.
    EXPECT_EQ(StoreOption(Option("CheckBox5"), false, 0), 1u << 14);
    EXPECT_EQ(StoreOption(Option("CheckBox5"), true, 0xFFFFFFFFu), ~(1u << 14));
    // "On the bottom" (item 1) for the tabs clears bit 12.
    EXPECT_EQ(StoreOption(Option("ComboBox2"), true, WorkParamDefault), WorkParamDefault & ~(1u << 12));
}

TEST(EditorColors, TheSixSettingsInSwatchOrder)
{
    const char* const keys[] = {"DefaultFontColor",    "DefaultBackGround",  "SelectionFontColor",
                                "SelectionBackGround", "MismatchFontColor", "AddressFontColor"};
    int32_t* const settings[] = {&DefaultFontColor,    &DefaultBackGround, &SelectionFontColor,
                                 &SelectionBackGround, &MismatchFontColor, &AddressFontColor};
    ASSERT_EQ(EditorColorSettings().size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_STREQ(EditorColorSettings()[i].Key, keys[i]);
        EXPECT_EQ(EditorColorSettings()[i].Setting, settings[i]);
    }
}

TEST(SampleSteps, FourRowsInTheirColours)
{
    const uint32_t colors[EditorColorCount] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    const int w = 8, h = 16, width = 261, height = 157;
    const std::vector<TSampleStep> steps = SampleSteps(width, height, w, h, colors);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps[0], (TSampleStep{true, 0, 0, width, height, 0x02, {}}));

    struct Row {
        const char* Address;
        const char* First;
        const char* Last;
        uint32_t Text;
        bool Selected;
    };
    // Bytes at x = 56, 80, ..., 224: eight fit whole into 261 pixels (the
    // ninth would end at 264).
    const Row rows[] = {{"00000", "01", "08", 0x01, false},
                        {"00010", "21", "28", 0x05, false},
                        {"00020", "E1", "E8", 0x03, true},
                        {"00030", "F1", "F8", 0x05, true}};
    size_t i = 1;
    for (int r = 0; r < 4; ++r) {
        const int y = 4 + r * h;
        if (rows[r].Selected) {
            ASSERT_LT(i, steps.size());
            EXPECT_EQ(steps[i++], (TSampleStep{true, 52, y, width - 52, h, 0x04, {}})) << r;
        }
        ASSERT_LT(i, steps.size());
        EXPECT_EQ(steps[i++], (TSampleStep{false, 4, y, 0, 0, 0x06, rows[r].Address})) << r;
        ASSERT_LE(i + 8, steps.size());
        EXPECT_EQ(steps[i], (TSampleStep{false, 56, y, 0, 0, rows[r].Text, rows[r].First})) << r;
        EXPECT_EQ(steps[i + 7], (TSampleStep{false, 224, y, 0, 0, rows[r].Text, rows[r].Last})) << r;
        i += 8;
    }
    EXPECT_EQ(i, steps.size());
}

TEST(SampleSteps, AFontWithoutWidthDrawsNoBytesAndEnds)
{
    const uint32_t colors[EditorColorCount] = {};
    const std::vector<TSampleStep> steps = SampleSteps(261, 157, 0, 0, colors);
    EXPECT_EQ(steps.size(), 1u + 4u + 2u); // background, four addresses, two selection fills
}

} // namespace
