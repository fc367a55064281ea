#include "platform/MessageBox.h"

namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler h;
    return h;
}

} // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    if (handler())
        return handler()(text, caption, flags);
    const unsigned buttons = flags & 0xF;
    switch (buttons) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
    }
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler h)
{
    MessageBoxHandler old = std::move(handler());
    handler() = std::move(h);
    return old;
}
