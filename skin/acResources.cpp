#include "skin/acResources.h"

#include "platform/Bitmap.h"
#include "platform/Cp1251.h"

std::string ReadResource(const std::string& name)
{
    for (size_t i = 0; i < acResourceCount; ++i)
        if (AnsiSameText(acResourceTable[i].Name, name))
            return std::string(reinterpret_cast<const char*>(acResourceTable[i].Data), acResourceTable[i].Size);
    throw EReadError("Resource " + name + " not found");
}
