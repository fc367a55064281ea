#pragma once
// Turns a skin's options text and pictures into a TacSkinContent: the
// readers of images, patterns and sections, over a skin folder or a packed
// skin. Each load builds a new skin and hands it over only when it loaded,
// so a failed load (no options, a broken archive, pictures beyond the
// budget) leaves the caller's skin as it was.
#include "platform/StringList.h"
#include "skin/acOptionsFile.h"
#include "skin/acSkinPack.h"
#include "skin/sSkinData.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

// Extra options text merged over every skin (section lines and key lines).
using TacCommonSections = TStringList;

// A folder skin: "Options.dat" and the pictures it names inside the folder
// (native path). Picture names that leave the folder (absolute names,
// drive names, "..") are refused.
bool LoadSkinFolder(const std::string& folder, const TacCommonSections& common, TacSkinContent& skin,
                    std::string& error);
// A packed skin held in bytes the caller keeps. imageFolder (native, may be
// empty) is where the extra sections' picture files are looked for.
bool LoadPackedSkin(std::string_view bytes, const TacCommonSections& common, const std::string& imageFolder,
                    TacSkinContent& skin, std::string& error);

// How a picture file is decoded.
enum TacPictureKind {
    pkBitmap,      // a BMP file in its own format (the master bitmap)
    pkPicture,     // PNG or BMP by the name's last extension; a BMP made 24-bit
    pkPictureAsIs, // the same with a BMP kept in its own format
    pkJpeg,
};

// Where pictures come from while one skin loads, and what was decoded of
// them: each file is decoded once however many keys name it, whether it
// decoded or not, and the pictures of one skin together hold at most
// PixelBudget pixels, counting those a broken file claimed.
class TacSkinFiles {
public:
    static constexpr uint64_t PixelBudget = TBitmap::MaxPixels;

    TacSkinFiles(const TacSkinConvertor* packed, std::string folder) : packed_(packed), folder_(std::move(folder)) {}
    // The bytes of a picture: in a packed skin the entry whose upper-cased
    // name equals `packedName`; in a folder the file `name` inside it.
    bool Read(const std::string& name, const std::string& packedName, std::string& bytes) const;
    // A file inside the folder only, whatever the skin's kind.
    bool ReadFromFolder(const std::string& name, std::string& bytes) const;
    bool Packed() const { return packed_ != nullptr; }
    const std::string& Folder() const { return folder_; }

    // The picture of a file found as Read finds it (inFolder: as
    // ReadFromFolder does). nullptr when the file is missing, does not
    // decode or is empty, and once the skin's pictures pass the budget.
    // Callers share the bitmap and must not change it.
    std::shared_ptr<TBitmap> Picture(const std::string& name, const std::string& packedName, TacPictureKind kind,
                                     bool inFolder = false);
    // A picture passed the budget: the skin is to be refused.
    bool OverBudget() const { return overBudget_; }
    // The files decoded so far (or tried).
    int Decodes() const { return decodes_; }

private:
    const TacSkinConvertor* packed_;
    std::string folder_;
    std::map<std::string, std::shared_ptr<TBitmap>> pictures_; // by file and kind; nullptr: refused
    uint64_t pixels_ = 0;
    bool overBudget_ = false;
    int decodes_ = 0;
};

// The steps of a load, for the loaders of each kind of skin.
namespace SkinReaders {
// Images and the master bitmap from the options, then those of the extra
// sections.
void LoadAllMasks(const TacOptionsFile& options, TacSkinFiles& files, const TacOptionsFile& common,
                  TacSkinContent& skin);
void LoadAllPatterns(const TacOptionsFile& options, TacSkinFiles& files, const TacOptionsFile& common,
                     TacSkinContent& skin);
// The deepest chain of parent classes a skin may hold; a skin with a deeper
// one, or one that loops, is refused.
constexpr size_t MaxParentDepth = 64;
// Skin-wide values and every section, then the extra sections and the
// resolved indexes. False with a message, and the skin untouched, when a
// chain of parent classes loops or is too deep.
bool LoadAllGeneralData(const TacOptionsFile& options, const TacOptionsFile& common, TacSkinContent& skin,
                        std::string& error);
// The extra sections not yet in the skin, and the resolved indexes.
void MergeCommonSections(const TacOptionsFile& common, TacSkinContent& skin);
} // namespace SkinReaders
