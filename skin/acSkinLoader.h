#pragma once
// Turns a skin's options text and pictures into a TacSkinContent: the
// readers of images, patterns and sections, over a skin folder or a packed
// skin. Each load builds a new skin and hands it over only when it loaded,
// so a failed load leaves the caller's skin as it was.
#include "platform/StringList.h"
#include "skin/acOptionsFile.h"
#include "skin/acSkinPack.h"
#include "skin/sSkinData.h"

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

// Where pictures come from while one skin loads.
class TacSkinFiles {
public:
    TacSkinFiles(const TacSkinConvertor* packed, std::string folder) : packed_(packed), folder_(std::move(folder)) {}
    // The bytes of a picture: in a packed skin the entry whose upper-cased
    // name equals `packedName`; in a folder the file `name` inside it.
    bool Read(const std::string& name, const std::string& packedName, std::string& bytes) const;
    // A file inside the folder only, whatever the skin's kind.
    bool ReadFromFolder(const std::string& name, std::string& bytes) const;
    bool Packed() const { return packed_ != nullptr; }
    const std::string& Folder() const { return folder_; }

private:
    const TacSkinConvertor* packed_;
    std::string folder_;
};

// The steps of a load, for the loaders of each kind of skin.
namespace SkinReaders {
// Images and the master bitmap from the options, then those of the extra
// sections.
void LoadAllMasks(const TacOptionsFile& options, const TacSkinFiles& files, const TacOptionsFile& common,
                  TacSkinContent& skin);
void LoadAllPatterns(const TacOptionsFile& options, const TacSkinFiles& files, const TacOptionsFile& common,
                     TacSkinContent& skin);
// Skin-wide values and every section, then the extra sections and the
// resolved indexes.
void LoadAllGeneralData(const TacOptionsFile& options, const TacOptionsFile& common, TacSkinContent& skin);
// The extra sections not yet in the skin, and the resolved indexes.
void MergeCommonSections(const TacOptionsFile& common, TacSkinContent& skin);
} // namespace SkinReaders
