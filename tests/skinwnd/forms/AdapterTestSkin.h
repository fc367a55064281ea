#pragma once
// The project skin loaded by a skin manager for the adapters' window tests,
// and pixel helpers over grabbed pictures.
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinManager.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

struct ProjectSkin {
    testsupport::TempDir dir;
    TsSkinManagerComponent manager;
    ProjectSkin()
    {
        SkinLibraryInitialization();
        EXPECT_TRUE(WriteSkinFolder(dir.file("Tarku"), ProjectPalette()));
        manager.SetSkinDirectory(dir.path());
        manager.SetSkinName("Tarku");
        EXPECT_TRUE(manager.Active()) << manager.LastError();
    }
    const TsGeneralData& Section(const char* name)
    {
        return manager.Section(manager.GetSkinIndex(name));
    }
};

inline TColor PixelAt(const QImage& image, int x, int y) { return ColorFromQColor(image.pixelColor(x, y)); }

// How many pixels of a rectangle have the colour.
inline int CountColour(const QImage& image, const QRect& r, TColor colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += PixelAt(image, x, y) == colour;
    return n;
}
