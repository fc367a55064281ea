#pragma once
// The project skin for the edit and list adapters' tests: a skin directory
// with the skin as a folder ("Tarku"), its dusk variant as a folder and as a
// packed file, and a manager over it; pixel helpers for grab() probes.
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

namespace edittest {

struct SkinDirectory {
    testsupport::TempDir dir;
    SkinDirectory()
    {
        EXPECT_TRUE(WriteSkinFolder(dir.file("Tarku"), ProjectPalette()));
        EXPECT_TRUE(WriteSkinFolder(dir.file("TarkuDusk"), DuskPalette()));
        std::vector<TPackEntry> entries;
        for (const auto& [name, bytes] : SkinFiles(DuskPalette()))
            entries.push_back({name, bytes});
        testsupport::WriteFileBytes(dir.file("Packed.asz"), PackSkin(entries));
    }
};

// A manager with the project skin loaded from its folder.
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
    ~SkinScope()
    {
        manager.reset();
        QApplication::processEvents();
    }
    const TsGeneralData& Section(const char* name) const
    {
        return manager->Section(manager->GetSkinIndex(name));
    }
};

inline TColor PixelAt(const QImage& img, int x, int y) { return ColorFromQColor(img.pixelColor(x, y)); }

inline QImage Grab(QWidget& w)
{
    QApplication::processEvents();
    return w.grab().toImage();
}

inline int CountPixels(const QImage& img, TColor color, const QRect& area = {})
{
    const QRect r = area.isNull() ? img.rect() : area & img.rect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += PixelAt(img, x, y) == color;
    return n;
}

} // namespace edittest
