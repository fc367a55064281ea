#pragma once
// Record-by-record comparison of two loaded skins, for tests.
#include "skin/sSkinData.h"

#include <gtest/gtest.h>

#include <cstring>

inline bool SamePixels(const TBitmap* a, const TBitmap* b)
{
    if (!a || !b)
        return a == b;
    if (a->Width() != b->Width() || a->Height() != b->Height() || a->PixelFormat() != b->PixelFormat())
        return false;
    for (int y = 0; y < a->Height(); ++y)
        if (std::memcmp(a->ScanLine(y), b->ScanLine(y), a->BytesPerScanline()) != 0)
            return false;
    return true;
}

// Glyph and texture margins are not compared: the options forms of those
// kinds carry none, while a stored skin's items compute them.
inline void ExpectSameSkin(const TacSkinContent& a, const TacSkinContent& b)
{
    ASSERT_EQ(a.gd.size(), b.gd.size());
    for (size_t i = 0; i < a.gd.size(); ++i)
        EXPECT_EQ(a.gd[i], b.gd[i]) << "section " << a.gd[i].Name;
    ASSERT_EQ(a.ma.size(), b.ma.size());
    for (size_t i = 0; i < a.ma.size(); ++i) {
        const TsMaskData &x = a.ma[i], &y = b.ma[i];
        SCOPED_TRACE(x.SectionName + "." + x.PropertyName);
        EXPECT_EQ(x.SectionName, y.SectionName);
        EXPECT_EQ(x.PropertyName, y.PropertyName);
        EXPECT_EQ(x.R, y.R);
        EXPECT_EQ(x.ImageCount, y.ImageCount);
        EXPECT_EQ(x.MaskType, y.MaskType);
        EXPECT_EQ(x.BorderWidth, y.BorderWidth);
        EXPECT_EQ(x.StretchMode, y.StretchMode);
        EXPECT_EQ(x.ImgType, y.ImgType);
        if (x.ImgType == itisaBorder) {
            EXPECT_EQ(x.WL, y.WL);
            EXPECT_EQ(x.WT, y.WT);
            EXPECT_EQ(x.WR, y.WR);
            EXPECT_EQ(x.WB, y.WB);
        }
        EXPECT_TRUE(SamePixels(x.Bmp.get(), y.Bmp.get()));
    }
    ASSERT_EQ(a.pa.size(), b.pa.size());
    for (size_t i = 0; i < a.pa.size(); ++i) {
        EXPECT_EQ(a.pa[i].SectionName, b.pa[i].SectionName);
        EXPECT_EQ(a.pa[i].PropertyName, b.pa[i].PropertyName);
        EXPECT_TRUE(SamePixels(a.pa[i].Img.get(), b.pa[i].Img.get()));
    }
    TsSkinData da = a.SkinData, db = b.SkinData;
    da.ImageFolder = db.ImageFolder = "";
    EXPECT_EQ(da, db);
    EXPECT_EQ(a.CachedIndexes, b.CachedIndexes);
    EXPECT_TRUE(SamePixels(a.MasterBitmap.get(), b.MasterBitmap.get()));
}
