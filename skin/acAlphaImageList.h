#pragma once
// An image list that keeps its images as PNG or icon files and builds
// 32-bit icons with alpha from them, so see-through edges survive. Images added as
// plain bitmaps without any alpha become opaque, magenta staying clear.
#include "skin/acPNG.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TsImageFormat { ifPNG = 0, ifICO = 1 };

struct TsImgListItem {
    TsImageFormat ImageFormat = ifPNG;
    TPixelFormat PixelFormat = pf32bit; // travels with the item, unused here
    std::string ImgData;                // the whole image file
};

class TsAlphaImageList {
public:
    TsAlphaImageList(int width = 16, int height = 16);

    std::vector<TsImgListItem> Items;
    // False: the items are dropped once the images are built.
    bool StoreItems = true;
    bool Loading = false;
    // Called on every change that is not the list's own rebuild.
    std::function<void()> OnChange;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool ImagesGenerated() const { return imagesGenerated_; }
    bool Updating() const { return updating_; }

    bool HandleAllocated() const { return handle_; }
    int Count() const { return int(images_.size()); }
    const TIconBitmaps& Image(int index) const { return images_[size_t(index)]; }

    // Draws an image with its top-left at (x, y): through its alpha, and
    // not at all where its mask marks it see-through. A disabled image is
    // drawn as it is.
    void DoDraw(int index, TBitmap& canvas, int x, int y, bool enabled) const;

    // The image-list operations a caller uses directly; each signals Change.
    void AddIcon(TIconBitmaps icon);
    void Clear();

    // A list made in code builds at once; one read from a stored form
    // builds in Loaded, after its items. Both raise the PNG reader's errors.
    void AfterConstruction();
    void Loaded();
    // nullptr empties the list; another list is copied with its items.
    void Assign(const TsAlphaImageList* source);
    void Change();

private:
    void CreateSystemList();
    void GenerateImages();
    void MakeOpaque(TIconBitmaps& icon) const;

    int width_, height_;
    bool handle_ = false;
    bool imagesGenerated_ = false;
    bool updating_ = false;
    std::vector<TIconBitmaps> images_;
};

// The start-up glyph list: 48 x 16, the glyphs of the resources "SF", "SR",
// "SD", "SE" and "SC" at indexes 0 to 4. Built by the unit's start-up (once)
// and freed by its shutdown; a missing resource raises EReadError.
extern std::unique_ptr<TsAlphaImageList> acGlyphList;
void acAlphaImageListInitialization();
void acAlphaImageListFinalization();
