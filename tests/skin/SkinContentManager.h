#pragma once
// A skin manager over a skin built in the test, for the painters' tables.
#include "SkinGenerator.h"
#include "skin/acSkinLoader.h"
#include "skin/sSkinData.h"
#include "skin/sSkinManagerIntf.h"

#include <QTemporaryDir>

#include <memory>
#include <string>

namespace skintest {

class ContentManager : public TsSkinManager {
public:
    TacSkinContent skin;

    bool Destroying() const override { return false; }
    bool Designing() const override { return false; }
    bool Active() const override { return true; }
    int SectionCount() const override { return int(skin.gd.size()); }
    bool IsValidSkinIndex(int i) const override { return skin.IsValidSkinIndex(i); }
    int GetSkinIndex(const std::string& s) const override { return skin.GetSkinIndex(s); }
    int GetTextureIndex(int i, const std::string& s, const std::string& p) const override
    {
        return skin.GetTextureIndex(i, s, p);
    }
    const TsGeneralData& Section(int i) const override { return skin.gd[size_t(i)]; }
    const TsMaskData* Mask(int i) const override { return skin.IsValidImageIndex(i) ? &skin.ma[size_t(i)] : nullptr; }
    bool AllowGlowing() const override { return false; }
    TColor GlobalColor() const override { return 0xC0C0C0; }
    TColor GlobalFontColor() const override { return 0; }
    void ClearRepaintFlag() override {}
    void SetActiveControl(QObject*) override {}
    void HookPopupMenu(QObject*) override {}
    const TacAnimEffects& AnimEffects() const override { return effects; }
    TacAnimEffects effects;
    const TacSkinContent* Content() const override { return &skin; }

    // Sets the master bitmap (24-bit) and returns it for drawing.
    TBitmap& Master(int w, int h)
    {
        skin.MasterBitmap = std::make_shared<TBitmap>();
        skin.MasterBitmap->SetPixelFormat(pf24bit);
        skin.MasterBitmap->SetSize(w, h);
        return *skin.MasterBitmap;
    }

    // Adds an image of the master bitmap and returns its index.
    int AddMask(const TRect& r, int imageCount, int maskType, int wl, int wt, int wr, int wb, int stretchMode = 4)
    {
        TsMaskData m;
        m.R = r;
        m.ImageCount = imageCount;
        m.MaskType = maskType;
        m.WL = wl;
        m.WT = wt;
        m.WR = wr;
        m.WB = wb;
        m.StretchMode = stretchMode;
        m.Manager = this;
        skin.ma.push_back(m);
        return int(skin.ma.size()) - 1;
    }
    const TsMaskData& M(int i) const { return skin.ma[size_t(i)]; }

    // Loads the generator's skin in the palette's colours, every mask bound
    // to this manager; false with the loader's error otherwise.
    bool LoadGenerated(const TSkinPalette& palette, std::string& error)
    {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        if (!WriteSkinFolder(folder, palette)) {
            error = "the skin folder could not be written";
            return false;
        }
        if (!LoadSkinFolder(folder, TacCommonSections(), skin, error))
            return false;
        for (TsMaskData& m : skin.ma)
            m.Manager = this;
        return true;
    }
};

} // namespace skintest
