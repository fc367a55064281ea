#include "platform/DateTime.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// Each case sets the application's locale and puts the previous one back.
class DateTime : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(saved); }
    QLocale saved;
};

TEST_F(DateTime, TextsFollowTheLocaleAndTheTimeHasNoZone)
{
    const QDate date(2026, 12, 7);
    const QTime time(14, 5, 9);
    const struct {
        const char* locale;
        std::string date;
        std::string time;
    } cases[] = {
        {"ru_RU", "07.12.2026", "14:05:09"},
        {"de_DE", "07.12.26", "14:05:09"},
        {"en_US", "12/7/26", "2:05:09 PM"},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(c.locale));
        EXPECT_EQ(DateToStr(date), c.date) << c.locale;
        EXPECT_EQ(TimeToStr(time), c.time) << c.locale;
    }
}

} // namespace
