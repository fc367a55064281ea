#include "platform/Pump.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <gtest/gtest.h>

TEST(Pump, WithoutApplicationNothingHappens)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    PumpMessages();
    const auto start = std::chrono::steady_clock::now();
    PumpingSleep(5);
    PumpingSleep(0);
    PumpingSleep(-3);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5));
}

TEST(Pump, SleepKeepsEventsFlowing)
{
    int argc = 1;
    char name[] = "pump";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    PumpMessages();
    EXPECT_EQ(fired, 1);

    // A timer that falls due while the work sleeps is served inside the sleep.
    QTimer::singleShot(2, [&] { ++fired; });
    PumpingSleep(40);
    EXPECT_EQ(fired, 2);
}
