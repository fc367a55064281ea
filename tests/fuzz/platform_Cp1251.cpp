// Names from the file system and paths from settings files reach the code
// page conversions: any bytes must convert without reading out of bounds,
// and every name the system can give must come back unchanged.
#include "platform/Cp1251.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // As a name the system gave.
    const std::string page = Utf8ToCp1251(bytes);
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(size));
    if (text.toUtf8().toStdString() == bytes && (Cp1251ToUtf8(page) != bytes || Cp1251ToQString(page) != text))
        std::abort();
    // As a path read from a settings file.
    const std::string native = Cp1251ToUtf8(bytes);
    Cp1251ToQString(bytes);
    for (size_t i = 0; i < size; ++i)
        if (const size_t n = MarkedCharLength(bytes, i); n > size - i)
            std::abort();
    // What the page already holds stays as it was.
    if (Cp1251ToUtf8(Utf8ToCp1251(native)) != native)
        std::abort();
    return 0;
}
