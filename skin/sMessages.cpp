#include "skin/sMessages.h"

int SkinCommandMessage = 0;

void sMessagesInitialization()
{
    SkinCommandMessage = 0xA100;
}
