#include "skin/acSkinLoader.h"

#include "platform/BmpFile.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/JpegFile.h"
#include "skin/acPNG.h"
#include "skin/acSkinImageValue.h"

#include <algorithm>

namespace {

bool Contains(const std::string& s, const char* part)
{
    return s.find(part) != std::string::npos;
}

// The native path of a file named inside the folder, each component matched
// without regard to case when it does not exist as written. Empty for names
// that would leave the folder.
std::string FileInFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty() || name.empty() || name[0] == '/' || name[0] == '\\' || Contains(name, ":"))
        return {};
    std::string path = folder;
    size_t i = 0;
    while (i < name.size()) {
        size_t j = name.find_first_of("/\\", i);
        if (j == std::string::npos)
            j = name.size();
        std::string comp = name.substr(i, j - i);
        i = j + 1;
        if (comp.empty() || comp == ".")
            continue;
        if (comp == "..")
            return {};
        std::string next = path + "/" + comp;
        if (!FileExists(next) && !DirectoryExists(next))
            for (const std::string& entry : ListFolder(path, true, true))
                if (AnsiUpperCase(entry) == AnsiUpperCase(comp)) {
                    next = path + "/" + entry;
                    break;
                }
        path = next;
    }
    return path;
}

} // namespace

bool TacSkinFiles::ReadFromFolder(const std::string& name, std::string& bytes) const
{
    std::string path = FileInFolder(folder_, name);
    return !path.empty() && FileExists(path) && ReadWholeFile(path, bytes);
}

bool TacSkinFiles::Read(const std::string& name, const std::string& packedName, std::string& bytes) const
{
    if (!packed_)
        return ReadFromFolder(name, bytes);
    const TacSkinFile* f = packed_->FindFile(packedName);
    if (!f)
        return false;
    bytes = f->Data;
    return true;
}

namespace {

// A name says PNG when ".PNG" comes after any ".BMP" in it ("LOGO.PNG.BMP"
// is a bitmap).
bool IsPngName(const std::string& name)
{
    const std::string upper = AnsiUpperCase(name);
    const size_t png = upper.rfind(".PNG"), bmp = upper.rfind(".BMP");
    return png != std::string::npos && (bmp == std::string::npos || png > bmp);
}

// A picture from file bytes; nullptr when the bytes do not decode or the
// picture is empty. `pixels` is the size the decoder made room for, also
// when it failed: a small broken file may claim a large picture, and that
// work counts against the skin's budget like a picture that loaded.
std::shared_ptr<TBitmap> DecodePicture(const std::string& bytes, const std::string& name, TacPictureKind kind,
                                       uint64_t& pixels)
{
    auto bmp = std::make_shared<TBitmap>();
    TPNGGraphic png;
    auto size = [](const TBitmap& b) { return uint64_t(b.Width()) * uint64_t(b.Height()); };
    bool ok = true;
    try {
        TByteStream stream(bytes);
        if (kind == pkJpeg) {
            LoadJpegFromBytes(bytes, *bmp);
        } else if (kind != pkBitmap && IsPngName(name)) {
            png.LoadFromStream(stream);
            bmp->Assign(png);
            ClearTransparentWhite(*bmp);
        } else {
            LoadBmpFromStream(stream, *bmp);
            if (kind == pkPicture)
                bmp->SetPixelFormat(pf24bit);
        }
    } catch (const std::exception&) {
        ok = false;
    }
    pixels = std::max(size(*bmp), size(png));
    return ok && bmp->Width() > 0 && bmp->Height() > 0 ? bmp : nullptr;
}

} // namespace

std::shared_ptr<TBitmap> TacSkinFiles::Picture(const std::string& name, const std::string& packedName,
                                               TacPictureKind kind, bool inFolder)
{
    if (overBudget_)
        return nullptr;
    const bool packed = packed_ && !inFolder;
    // A PNG file decodes the same whatever becomes of a BMP file.
    if (kind == pkPictureAsIs && IsPngName(name))
        kind = pkPicture;
    const std::string key =
        std::to_string(int(kind)) + (packed ? "P" + packedName : "F" + FileInFolder(folder_, name));
    if (auto found = pictures_.find(key); found != pictures_.end())
        return found->second;
    std::string bytes;
    const bool read = packed ? Read(name, packedName, bytes) : ReadFromFolder(name, bytes);
    uint64_t pixels = 0;
    std::shared_ptr<TBitmap> bmp;
    if (read) {
        ++decodes_;
        bmp = DecodePicture(bytes, name, kind, pixels);
    }
    pixels_ += pixels;
    if (pixels_ > PixelBudget) {
        overBudget_ = true;
        pictures_.clear();
        return nullptr;
    }
    pictures_[key] = bmp;
    return bmp;
}

namespace {

void LoadMasterBitmap(const TacOptionsFile& options, TacSkinFiles& files, TacSkinContent& skin)
{
    std::string name = options.ReadString("GLOBALINFO", "MASTERBITMAP", "");
    // The skin's own copy: it is made 24-bit below.
    std::shared_ptr<TBitmap> bmp = name.empty() ? nullptr : files.Picture(name, name, pkBitmap);
    skin.MasterBitmap = bmp ? bmp : std::make_shared<TBitmap>();
    skin.MasterBitmap->SetPixelFormat(pf24bit);
    skin.MasterBitmap->SetTransparent(true);
    skin.MasterBitmap->SetTransparentColor(clFuchsia);
}

// A master-bitmap rectangle kept inside the master bitmap, so that no
// painter reads outside it; an inverted one becomes empty.
TRect ClipToMaster(TRect r, const TBitmap* master)
{
    int w = master ? master->Width() : 0, h = master ? master->Height() : 0;
    r.Left = std::clamp(r.Left, 0, w);
    r.Top = std::clamp(r.Top, 0, h);
    r.Right = std::clamp(r.Right, r.Left, w);
    r.Bottom = std::clamp(r.Bottom, r.Top, h);
    return r;
}

// The mask a value defines, if any; appended to the skin.
void AddMask(const TacImageValue& v, const std::string& section, const std::string& key, TacSkinFiles& files,
             TacSkinContent& skin)
{
    TacImageValue value = v;
    std::shared_ptr<TBitmap> own;
    if (v.Kind == ivOwnFile || v.Kind == ivPlainFile) {
        std::string packedName = v.Kind == ivOwnFile ? v.FileName : AnsiUpperCase(v.FileName);
        own = files.Picture(v.FileName, packedName,
                            v.Kind == ivOwnFile && v.ImgType == itisaTexture ? pkPictureAsIs : pkPicture);
        if (!own)
            return;
        value.R = {0, 0, own->Width(), own->Height()};
    } else {
        value.R = ClipToMaster(v.R, skin.MasterBitmap.get());
    }
    TsMaskData m = MakeMaskFromValue(value, section, key, value.R.Width(), value.R.Height());
    m.Bmp = own;
    skin.ma.push_back(std::move(m));
}

void LoadCommonMasks(const TacOptionsFile& common, TacSkinFiles& files, TacSkinContent& skin)
{
    bool master = skin.MasterBitmap && !skin.MasterBitmap->Empty();
    for (const std::string& section : common.Sections()) {
        if (AnsiUpperCase(section) == "GLOBALINFO")
            continue;
        for (const std::string& key : common.Keys(section)) {
            std::string value = common.ReadString(section, key, "-");
            bool hash = Contains(value, "#");
            if ((!master || !hash) && Contains(AnsiUpperCase(value), ".BMP")) {
                auto bmp = files.Picture(value, value, pkPicture, true);
                if (!bmp)
                    continue;
                TsMaskData m;
                m.Bmp = bmp;
                m.SectionName = AnsiUpperCase(section);
                m.PropertyName = AnsiUpperCase(key);
                m.R = {0, 0, bmp->Width(), bmp->Height()};
                m.ImageCount = 1;
                skin.ma.push_back(std::move(m));
            } else if (hash) {
                auto v = ParseImageValue(value);
                if (v && v->Kind == ivHash)
                    AddMask(*v, section, key, files, skin);
            }
        }
    }
}

bool IsJpegName(const std::string& value)
{
    std::string upper = AnsiUpperCase(value);
    return Contains(upper, ".JPG") || Contains(upper, ".JPEG");
}

} // namespace

namespace SkinReaders {

void LoadAllMasks(const TacOptionsFile& options, TacSkinFiles& files, const TacOptionsFile& common,
                  TacSkinContent& skin)
{
    skin.ma.clear();
    LoadMasterBitmap(options, files, skin);
    for (const std::string& section : options.Sections())
        for (const std::string& key : options.Keys(section)) {
            if (AnsiUpperCase(section) == "GLOBALINFO" && AnsiUpperCase(key) == "MASTERBITMAP")
                continue;
            if (auto v = ParseImageValue(options.ReadString(section, key, "")))
                AddMask(*v, section, key, files, skin);
        }
    LoadCommonMasks(common, files, skin);
}

void LoadAllPatterns(const TacOptionsFile& options, TacSkinFiles& files, const TacOptionsFile& common,
                     TacSkinContent& skin)
{
    skin.pa.clear();
    for (const std::string& section : options.Sections())
        for (const std::string& key : options.Keys(section)) {
            std::string value = options.ReadString(section, key, "");
            auto img = IsJpegName(value) ? files.Picture(value, AnsiUpperCase(value), pkJpeg) : nullptr;
            if (!img)
                continue;
            // Small pictures tile as textures; only large ones stay patterns.
            if (uint64_t(img->Width()) * uint64_t(img->Height()) >= 90000) {
                skin.pa.push_back({img, AnsiUpperCase(section), AnsiUpperCase(key)});
                continue;
            }
            TsMaskData m;
            m.Bmp = img;
            m.SectionName = AnsiUpperCase(section);
            m.PropertyName = AnsiUpperCase(key);
            m.R = {0, 0, img->Width(), img->Height()};
            m.ImgType = itisaTexture;
            m.ImageCount = 1;
            skin.ma.push_back(std::move(m));
        }
    for (const std::string& section : common.Sections())
        for (const std::string& key : common.Keys(section)) {
            std::string value = common.ReadString(section, key, "");
            if (auto img = IsJpegName(value) ? files.Picture(value, value, pkJpeg, true) : nullptr)
                skin.pa.push_back({img, AnsiUpperCase(section), AnsiUpperCase(key)});
        }
}

} // namespace SkinReaders

namespace {

bool LoadFromOptions(const std::string& optionsText, TacSkinFiles& files, const TacCommonSections& common,
                     TacSkinContent& skin, std::string& error)
{
    TacOptionsFile options(optionsText);
    TacOptionsFile extra(common.Text());
    TacSkinContent loaded;
    SkinReaders::LoadAllMasks(options, files, extra, loaded);
    SkinReaders::LoadAllPatterns(options, files, extra, loaded);
    if (files.OverBudget()) {
        error = "Skin pictures are too large";
        return false;
    }
    if (!SkinReaders::LoadAllGeneralData(options, extra, loaded, error))
        return false;
    if (!files.Packed())
        loaded.SkinData.ImageFolder = files.Folder() + "/";
    skin = std::move(loaded);
    return true;
}

} // namespace

bool LoadSkinFolder(const std::string& folder, const TacCommonSections& common, TacSkinContent& skin,
                    std::string& error)
{
    TacSkinFiles files(nullptr, folder);
    std::string text;
    if (!files.ReadFromFolder("Options.dat", text)) {
        error = "Skin options file not found in " + folder;
        return false;
    }
    return LoadFromOptions(text, files, common, skin, error);
}

bool LoadPackedSkin(std::string_view bytes, const TacCommonSections& common, const std::string& imageFolder,
                    TacSkinContent& skin, std::string& error)
{
    TacSkinConvertor convertor;
    try {
        convertor.Unpack(bytes);
    } catch (const EacSkinPack& e) {
        error = e.what();
        return false;
    }
    TacSkinFiles files(&convertor, imageFolder);
    return LoadFromOptions(convertor.Options, files, common, skin, error);
}
