#include "skinwnd/forms/acAddedTitle.h"

void TacAddedTitle::SetText(const std::string& value)
{
    text_ = value;
    if (Changed)
        Changed();
}

void TacAddedTitle::SetFont(const QFont& font, TColor color)
{
    font_ = font;
    fontColor_ = color;
    if (Changed)
        Changed();
}
