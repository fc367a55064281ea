// Test main for window tests: one application object on the offscreen
// platform, created before any widget exists, seeing only the fonts of
// fonts.conf.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("FONTCONFIG_FILE", TARKU_TEST_FONTS);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
