#include "platform/SafeFileDevice.h"

qint64 TSafeFileDevice::writeData(const char* data, qint64 n)
{
    written_ = written_ && writer_.Write(data, size_t(n));
    return written_ ? n : -1;
}
