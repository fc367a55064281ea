#include "skin/acAlphaImageList.h"

#include "skin/acIcoFile.h"
#include "skin/acResources.h"

namespace {

// Holds the list's own-rebuild flag and clears it on every way out, a
// decoding error included, so later changes are not ignored for good.
class TUpdatingScope {
public:
    explicit TUpdatingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TUpdatingScope() { flag_ = false; }
    TUpdatingScope(const TUpdatingScope&) = delete;
    TUpdatingScope& operator=(const TUpdatingScope&) = delete;

private:
    bool& flag_;
};

bool HasAlpha(const TBitmap& image)
{
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* p = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x, p += 4)
            if (p[3] != 0)
                return true;
    }
    return false;
}

} // namespace

TsAlphaImageList::TsAlphaImageList(int width, int height) : width_(width), height_(height) {}

void TsAlphaImageList::CreateSystemList()
{
    handle_ = true;
    images_.clear();
}

void TsAlphaImageList::DoDraw(int index, TBitmap& canvas, int x, int y, bool) const
{
    if (!handle_ || index < 0 || index >= Count())
        return;
    const TIconBitmaps& icon = images_[size_t(index)];
    TPNGGraphic picture;
    picture.Assign(icon.Image);
    picture.SetPixelFormat(pf32bit);
    const bool masked = icon.Mask.Width() == picture.Width() && icon.Mask.Height() == picture.Height();
    for (int py = 0; masked && py < picture.Height(); ++py)
        for (int px = 0; px < picture.Width(); ++px)
            if (icon.Mask.Index(px, py) == 1)
                picture.ScanLine(py)[4 * px + 3] = 0;
    picture.Draw(canvas, TRect{x, y, x + picture.Width(), y + picture.Height()});
}

void TsAlphaImageList::AddIcon(TIconBitmaps icon)
{
    if (!handle_)
        CreateSystemList();
    images_.push_back(std::move(icon));
    Change();
}

void TsAlphaImageList::Clear()
{
    images_.clear();
    Change();
}

void TsAlphaImageList::GenerateImages()
{
    if (!handle_)
        return;
    TUpdatingScope updating(updating_);
    images_.clear();
    for (const TsImgListItem& item : Items) {
        TByteStream stream(item.ImgData);
        if (item.ImageFormat == ifICO) {
            images_.push_back(LoadIconFromStream(stream, width_, height_));
            continue;
        }
        TPNGGraphic png;
        png.LoadFromStream(stream);
        images_.push_back(png.CreateIconFromImage(false));
    }
    if (!StoreItems)
        Items.clear();
}

void TsAlphaImageList::AfterConstruction()
{
    if (Loading)
        return;
    if (!handle_)
        CreateSystemList();
    if (!imagesGenerated_) {
        GenerateImages();
        imagesGenerated_ = true;
    }
}

void TsAlphaImageList::Loaded()
{
    Loading = false;
    if (!handle_)
        CreateSystemList();
    if (!imagesGenerated_)
        GenerateImages();
    imagesGenerated_ = true;
}

void TsAlphaImageList::Assign(const TsAlphaImageList* source)
{
    if (source == this)
        return;
    TUpdatingScope updating(updating_);
    images_.clear();
    Items.clear();
    if (!source) {
        handle_ = false;
        return;
    }
    width_ = source->width_;
    height_ = source->height_;
    CreateSystemList();
    if (StoreItems) {
        Items = source->Items;
        GenerateImages();
    } else {
        images_ = source->images_;
    }
    imagesGenerated_ = true;
}

void TsAlphaImageList::MakeOpaque(TIconBitmaps& icon) const
{
    TBitmap& image = icon.Image;
    image.SetPixelFormat(pf32bit);
    if (HasAlpha(image))
        return;
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* p = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x, p += 4) {
            const bool key = p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF;
            p[3] = key ? 0 : 255;
        }
    }
}

void TsAlphaImageList::Change()
{
    if (updating_)
        return;
    if (OnChange)
        OnChange();
    if (!handle_ || Loading || !imagesGenerated_)
        return;
    if (StoreItems && Items.size() >= images_.size()) {
        if (Items.size() > images_.size())
            GenerateImages();
        return;
    }
    for (TIconBitmaps& icon : images_)
        MakeOpaque(icon);
}

std::unique_ptr<TsAlphaImageList> acGlyphList;

void acAlphaImageListInitialization()
{
    if (acGlyphList)
        return;
    auto list = std::make_unique<TsAlphaImageList>(48, 16);
    list->AfterConstruction();
    for (const char* name : {"SF", "SR", "SD", "SE", "SC"}) {
        const std::string bytes = ReadResource(name);
        TByteStream stream(bytes);
        TPNGGraphic png;
        png.LoadFromStream(stream);
        TIconBitmaps icon = png.CreateIconFromImage(false);
        if (!icon.Image.Empty())
            list->AddIcon(std::move(icon));
    }
    acGlyphList = std::move(list);
}

void acAlphaImageListFinalization()
{
    acGlyphList.reset();
}
