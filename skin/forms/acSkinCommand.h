#pragma once
// The library's command message as a Qt event: one registered event type
// that carries the sub-code, the word argument, the pointer argument and the
// answer. Sent synchronously, so the answer is there when the send returns;
// a widget outside the library ignores it and the answer stays 0.
#include "skin/sMessages.h"

#include <QEvent>
#include <cstdint>

class QObject;

class TSkinCommandEvent : public QEvent {
public:
    TSkinCommandEvent(uint16_t subCode, uint16_t low = 0, intptr_t lParam = 0);

    uint16_t SubCode() const { return subCode_; }
    uint16_t Low() const { return low_; }
    uint32_t WParam() const { return MakeSkinWParam(subCode_, low_); }
    intptr_t LParam() const { return lParam_; }
    intptr_t Result = 0;

private:
    uint16_t subCode_;
    uint16_t low_;
    intptr_t lParam_;
};

// The registered event type (registered on first use when start-up has not
// run yet).
QEvent::Type SkinCommandEventType();

// Sends the command to an object and returns its answer (0 for a null
// object or one outside the library).
intptr_t SendSkinCommand(QObject* target, uint16_t subCode, uint16_t low = 0, intptr_t lParam = 0);

// The answer of sub-code 60: the application object.
intptr_t ApplicationAnswer();

// Start-up of the command message: registers the event type and fixes the
// message number (sMessagesInitialization).
void acSkinCommandInitialization();
