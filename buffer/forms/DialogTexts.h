#pragma once
// Language texts for the buffer dialogs' widgets: text `offset` of a tag's
// group, or the window's own caption, converted for display.
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"

#include <QString>

inline QString GroupText(const TLanguageGroup& group, int offset, const char* own)
{
    return Cp1251ToQString(group.Text(offset, own));
}

// Tags shared by every dialog.
inline constexpr const char* CommonButtonsTag = "[COMMON_BUTTONS]";
// Caption of the program's own message boxes.
inline constexpr const char* ProgramBoxCaption = "Morvane";
