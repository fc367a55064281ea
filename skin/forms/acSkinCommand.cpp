#include "skin/forms/acSkinCommand.h"

#include <QCoreApplication>

QEvent::Type SkinCommandEventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

TSkinCommandEvent::TSkinCommandEvent(uint16_t subCode, uint16_t low, intptr_t lParam)
    : QEvent(SkinCommandEventType()), subCode_(subCode), low_(low), lParam_(lParam)
{
}

intptr_t SendSkinCommand(QObject* target, uint16_t subCode, uint16_t low, intptr_t lParam)
{
    if (!target)
        return 0;
    TSkinCommandEvent event(subCode, low, lParam);
    QCoreApplication::sendEvent(target, &event);
    return event.Result;
}

intptr_t ApplicationAnswer()
{
    return reinterpret_cast<intptr_t>(QCoreApplication::instance());
}

void acSkinCommandInitialization()
{
    SkinCommandEventType();
    sMessagesInitialization();
}
