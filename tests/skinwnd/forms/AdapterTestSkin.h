#pragma once
// The project's test skin for the skinned windows' tests: a skin directory
// with the project skin and its dusk variant as folders ("Tarku",
// "TarkuDusk") and the dusk skin again as a packed file ("Dusk"), a manager
// that loads it, and pixel probes of grabbed widgets.
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
        EXPECT_TRUE(WriteSkinFolder(dir.file("TarkuDusk"), DuskPalette()));
        std::vector<TPackEntry> entries;
        for (const auto& [name, bytes] : SkinFiles(DuskPalette()))
            entries.push_back({name, bytes});
        testsupport::WriteFileBytes(dir.file("Dusk.asz"), PackSkin(entries));
    }
};

// A default manager over the skin directory, with the named skin loaded;
// nullptr leaves it without a skin until Use, so that a test can set the
// manager's options (or the skin's files) first.
struct SkinScope {
    SkinDirectory skins;
    std::unique_ptr<TsSkinManagerComponent> manager;
    explicit SkinScope(const char* name = "Tarku")
    {
        SkinLibraryInitialization();
        manager = std::make_unique<TsSkinManagerComponent>();
        manager->SetSkinDirectory(skins.dir.path());
        if (name) {
            manager->SetSkinName(name);
            EXPECT_TRUE(manager->Active()) << manager->LastError();
        }
    }
    // The manager's windows and the adapters it leaves go before the skin
    // files do.
    ~SkinScope()
    {
        manager.reset();
        QApplication::processEvents();
    }
    // Switches the manager on with the named skin and lets the windows
    // repaint.
    void Use(const char* name)
    {
        manager->SetActive(true);
        manager->SetSkinName(name);
        EXPECT_TRUE(manager->Active()) << manager->LastError();
        QApplication::processEvents();
    }
    const TsGeneralData& Section(const char* name) const
    {
        return manager->Section(manager->GetSkinIndex(name));
    }
};

// The widget as it paints now.
inline QImage Grab(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The widget as it paints once the events waiting for it have run.
inline QImage Grab(QWidget& w)
{
    QApplication::processEvents();
    return Grab(&w);
}

inline TColor PixelAt(const QImage& img, int x, int y) { return ColorFromQColor(img.pixelColor(x, y)); }

// How many pixels of a rectangle (clipped to the image) have the colour.
inline int CountColour(const QImage& image, const QRect& r, TColor colour)
{
    const QRect inside = r & image.rect();
    int n = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            n += PixelAt(image, x, y) == colour;
    return n;
}

inline int PixelsOf(const QImage& img, TColor color) { return CountColour(img, img.rect(), color); }

// As CountColour; no area counts the whole image.
inline int CountPixels(const QImage& img, TColor color, const QRect& area = {})
{
    return CountColour(img, area.isNull() ? img.rect() : area, color);
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
