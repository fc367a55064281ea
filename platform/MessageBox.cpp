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
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler h)
{
    MessageBoxHandler old = std::move(handler());
    handler() = std::move(h);
    return old;
}
