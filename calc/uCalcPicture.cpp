#include "calc/uCalcPicture.h"

#include "calc/uCreateCalcIndex.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* PictureFolder = "Calculators\\Pictures";

// One file name for a tree path: a blank for each backslash, and whatever
// a file name cannot hold (a "/" would name a folder) made harmless.
std::string PictureName(std::string treePath)
{
    std::replace(treePath.begin(), treePath.end(), '\\', ' ');
    return ValidFileName(treePath);
}

// The tree path of LastCalc, which may carry the calculators folder in front.
std::string TreePathOf(const std::string& lastCalc)
{
    const std::string prefix = ProgramFolder() + "\\Calculators";
    std::string path = lastCalc;
    if (path.size() >= prefix.size() && AnsiSameText(path.substr(0, prefix.size()), prefix))
        path.erase(0, prefix.size());
    if (!path.empty() && path[0] == '\\')
        path.erase(0, 1);
    return path;
}

// Another calculator of the index whose picture has the same file name
// (a backslash and a blank, or two characters made "-", look alike there);
// empty when there is none.
std::string PictureNameSharer(const std::string& treePath)
{
    const std::string name = PictureName(treePath);
    for (const std::string& other : IndexedCalculators())
        if (!AnsiSameText(other, treePath) && PictureName(other) == name)
            return other;
    return {};
}

} // namespace

std::string CalculatorPictureBase(const std::string& treePath)
{
    return ProgramFolder() + "\\" + PictureFolder + "\\" + PictureName(treePath);
}

std::string FindPictureFile(const std::string& base)
{
    if (base.empty())
        return {};
    for (const char* ext : {"", ".bmp", ".jpg"})
        if (FileExists(NativePath(base + ext)))
            return base + ext;
    return {};
}

bool SaveCalculatorPicture(const std::string& source, const std::string& lastCalc, std::string& error)
{
    const std::string treePath = TreePathOf(lastCalc);
    const std::string name = PictureName(treePath);
    std::string ext = AnsiLowerCase(ExtractFileExt(source));
    if (ext == ".jpeg")
        ext = ".jpg";
    std::string bytes;
    // That picture is shown for both: replacing or removing it for one
    // would change the other's unasked.
    const std::string sharer = name.empty() ? std::string() : PictureNameSharer(treePath);
    if (name.empty())
        error = "No calculator is chosen";
    else if (!sharer.empty())
        error = "The picture of the calculator " + treePath + " is not saved: the calculator " + sharer +
                " has the same picture name \"" + name + "\" in " + ProgramFolder() + "\\" + PictureFolder +
                ", so the picture would be its picture too. Rename one of the two calculators.";
    else if (ext != ".bmp" && ext != ".jpg")
        error = "A calculator picture is a bitmap (.bmp) or a JPEG picture (.jpg): " + source;
    else if (!ReadWholeFile(NativePath(source), bytes))
        error = "Cannot read the file " + source;
    else if (!ForceDirectories(NativePath(PictureFolder)) ||
             !WriteWholeFileSafely(NativePath(std::string(PictureFolder) + "\\" + name + ext), bytes))
        error = "Cannot write the picture into " + ProgramFolder() + "\\" + PictureFolder;
    else {
        // Both pictures stay unless the other one is found first and so
        // would hide the one just saved; only now, so that a failed save
        // never loses the picture there was.
        const std::string base = CalculatorPictureBase(treePath);
        const std::string other = base + (ext == ".bmp" ? ".jpg" : ".bmp");
        if (FindPictureFile(base) == other)
            std::remove(NativePath(other).c_str());
        return true;
    }
    return false;
}
