#include "skin/acShadows.h"

#include "skin/acResources.h"

std::unique_ptr<TPNGGraphic> ShadowImageA, ShadowImageI;

namespace {

std::unique_ptr<TPNGGraphic> LoadResourcePicture(const char* name)
{
    const std::string bytes = ReadResource(name);
    TByteStream stream(bytes);
    auto picture = std::make_unique<TPNGGraphic>();
    picture->LoadFromStream(stream);
    return picture;
}

} // namespace

bool BuiltInShadow(bool composition, TBitmap& active, TBitmap& inactive, TRect& margins)
{
    if (!ShadowImageA || !ShadowImageI)
        return false;
    const int grow = composition ? 1 : 0;
    margins = TRect{11 + grow, 7 + grow, 11 + grow, 11 + grow};
    active.Assign(*ShadowImageA);
    // The inactive form gets its own, fainter picture.
    inactive.Assign(*ShadowImageI);
    return true;
}

void acShadowsInitialization()
{
    if (ShadowImageA)
        return;
    // Both come from the program itself, so a failure here is a broken
    // build; it passes out as the resource reader raised it.
    auto active = LoadResourcePicture("acSHDA");
    ShadowImageI = LoadResourcePicture("acSHDI");
    ShadowImageA = std::move(active);
}

void acShadowsFinalization()
{
    ShadowImageA.reset();
    ShadowImageI.reset();
}
