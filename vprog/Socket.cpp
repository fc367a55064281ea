#include "vprog/Socket.h"

#include "vprog/Chip24Cxx.h"
#include "vprog/Chip25Flash.h"

#include "platform/IniFiles.h"
#include "platform/Paths.h"

#include <filesystem>

const char* const SocketFileName = "vprog.ini";

namespace {

std::string ImagePath(const TSocketSetup& setup)
{
    const std::string image = setup.Image.empty() ? setup.Chip + ".bin" : setup.Image;
    if (!image.empty() && image[0] == '/')
        return image;
    return NativePath(image);
}

} // namespace

TSocketSetup LoadSocketSetup(const std::string& nativePath)
{
    TSocketSetup setup;
    const TIniFile ini(nativePath);
    setup.Chip = ini.ReadString("Socket", "Chip", setup.Chip);
    setup.Image = ini.ReadString("Socket", "Image", "");
    // The image belongs with the socket file that names it, wherever the
    // tool or the program runs from (never in a build folder it happens to
    // start in).
    if (!setup.Chip.empty()) {
        const std::string image = setup.Image.empty() ? setup.Chip + ".bin" : setup.Image;
        setup.Image = image[0] == '/' ? image
                                      : (std::filesystem::absolute(nativePath).parent_path() / image).string();
    }
    setup.NoContactLines = static_cast<uint8_t>(ini.ReadInteger("Faults", "NoContact", 0));
    setup.ShortedLines = static_cast<uint8_t>(ini.ReadInteger("Faults", "Shorted", 0));
    setup.Overload = ini.ReadInteger("Faults", "Overload", 0) != 0;
    return setup;
}

bool SaveSocketSetup(const std::string& nativePath, const TSocketSetup& setup)
{
    TIniFile ini(nativePath);
    ini.WriteString("Socket", "Chip", setup.Chip);
    ini.WriteString("Socket", "Image", setup.Image);
    ini.WriteInteger("Faults", "NoContact", setup.NoContactLines);
    ini.WriteInteger("Faults", "Shorted", setup.ShortedLines);
    ini.WriteInteger("Faults", "Overload", setup.Overload ? 1 : 0);
    return ini.UpdateFile();
}

bool KnownSocketChip(const std::string& name) { return Find24CxxType(name) || Find25FlashType(name); }

std::string InsertChip(TLineModel& lines, const TSocketSetup& setup, TSimChip** inserted)
{
    if (inserted)
        *inserted = nullptr;
    // The chip that leaves the socket writes its image first, so a chip put
    // back with the same file finds its contents.
    lines.RemoveChips();
    lines.SetShortedLines(setup.ShortedLines);
    lines.SetForcedOverload(setup.Overload);
    if (setup.Chip.empty())
        return "";
    std::unique_ptr<TSimChip> chip;
    if (const T24CxxType* t = Find24CxxType(setup.Chip))
        chip = std::make_unique<TChip24Cxx>(*t, TChipImage(t->Size, 0xFF, ImagePath(setup)));
    else if (const T25FlashType* f = Find25FlashType(setup.Chip))
        chip = std::make_unique<TChip25Flash>(*f, TChipImage(f->Size, 0xFF, ImagePath(setup)));
    if (!chip)
        return "Unknown chip \"" + setup.Chip + "\" in the socket";
    chip->ContactLines = static_cast<uint8_t>(~setup.NoContactLines);
    TSimChip* attached = lines.Attach(std::move(chip));
    if (inserted)
        *inserted = attached;
    return "";
}

std::string InsertChipFromSocketFile(TLineModel& lines)
{
    return InsertChip(lines, LoadSocketSetup(NativePath(SocketFileName)));
}
