#pragma once
// The project's test skin for the adapter tests: a skin directory with the
// skin as a folder and its dusk variant packed, a manager that loads it,
// and pixel probes of grabbed widgets.
#include "../../skin/SkinPacker.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinManager.h"

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace adaptertest {

struct SkinDirectory {
    testsupport::TempDir dir;
    SkinDirectory()
    {
        EXPECT_TRUE(WriteSkinFolder(dir.file("Tarku"), ProjectPalette()));
        std::vector<TPackEntry> entries;
        for (const auto& [name, bytes] : SkinFiles(DuskPalette()))
            entries.push_back({name, bytes});
        testsupport::WriteFileBytes(dir.file("Dusk.asz"), PackSkin(entries));
    }
};

// A default manager with the project skin loaded.
struct SkinScope {
    SkinDirectory skins;
    std::unique_ptr<TsSkinManagerComponent> manager;
    SkinScope()
    {
        SkinLibraryInitialization();
        manager = std::make_unique<TsSkinManagerComponent>();
        manager->SetSkinDirectory(skins.dir.path());
        manager->SetSkinName("Tarku");
        EXPECT_TRUE(manager->Active()) << manager->LastError();
    }
    const TsGeneralData& Section(const char* name) const
    {
        return manager->Section(manager->GetSkinIndex(name));
    }
};

inline QImage Grab(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline int PixelsOf(const QImage& img, TColor color)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += ColorFromQColor(img.pixelColor(x, y)) == color;
    return n;
}

inline TColor PixelAt(const QImage& img, int x, int y) { return ColorFromQColor(img.pixelColor(x, y)); }

// How many pixels of a rectangle have the colour.
inline int CountColour(const QImage& image, const QRect& r, TColor colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += PixelAt(image, x, y) == colour;
    return n;
}

// The project skin alone, loaded from a folder by a manager of the test's own.
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

} // namespace adaptertest
