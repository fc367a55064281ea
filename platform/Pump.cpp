#include "platform/Pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <thread>

void PumpMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void PumpingSleep(int ms)
{
    for (int i = 0; i < ms; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        PumpMessages();
    }
}

void WaitForMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
