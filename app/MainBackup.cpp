#include "app/MainBackup.h"

#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/DateTime.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"

#include <QDateTime>

namespace {

std::string chipNameOf(const std::string& chipEntry)
{
    const auto slash = chipEntry.rfind('\\');
    return slash == std::string::npos ? chipEntry : chipEntry.substr(slash + 1);
}

std::string noteText(const std::string& chip, const std::string& command, const TBackupMoment& moment)
{
    const TStringList lines = {
        "CHIP=" + chip, "", "--  Autobackup file  --", "", "   Command: " + command + " " + chip, "",
        "   Date: " + moment.Date, "   Time: " + moment.Time,
    };
    return lines.Text();
}

// The first of "<base>", "<base> (2)", "<base> (3)" ... that names no note
// and no data file yet, claimed by creating its note: two programs backing
// up in one second never take the same name. Empty when none can be made.
std::string claimBaseName(const std::string& base)
{
    std::string candidate = base;
    for (int n = 2; n < 10000; candidate = base + " (" + IntToStr(n++) + ")") {
        if (FileExists(candidate + ".bin"))
            continue;
        if (CreateNewFile(candidate + ".txt"))
            return candidate;
        if (!FileExists(candidate + ".txt"))
            break;
    }
    return {};
}

bool reportFailure(const std::string& what, const std::string& nativePath)
{
    ShowMessageBox(what + " \"" + Utf8ToCp1251(nativePath) + "\".", "Tarku", MB_OK | MB_ICONERROR);
    return false;
}

bool writeData(const std::string& nativePath, std::span<const uint8_t> data)
{
    TSafeFileWriter writer(nativePath);
    return writer.Write(data.data(), data.size()) && writer.Commit();
}

} // namespace

bool AutoBackupWanted(int32_t exitValue, uint32_t workParam)
{
    return exitValue == BackupExitValue && (workParam & wpBackupControl) != 0;
}

TBackupMoment BackupMomentNow()
{
    // One reading of the clock for folder, names and note alike, so that a
    // backup at midnight does not file a note dated one day into the
    // folder of the other.
    const QDateTime now = QDateTime::currentDateTime();
    return {DateToStr(now.date()), TimeToStr(now.time())};
}

bool AutoBackup(const TBackupSource& source, const TBackupMoment& moment)
{
    const std::string folder =
        NativePath(source.ProgramFolder + "\\Dumps\\Backup\\" + ValidFileName(moment.Date));
    if (!ForceDirectories(folder))
        return reportFailure("Cannot create folder", folder);
    const std::string chip = chipNameOf(source.CurrentChip);
    const std::string wanted = folder + "/" + Cp1251ToUtf8(ValidFileName(chip + " " + moment.Time));
    const std::string base = claimBaseName(wanted);
    if (base.empty())
        return reportFailure("Cannot create file", wanted + ".txt");
    if (!WriteWholeFileSafely(base + ".txt", noteText(chip, source.LastCommand, moment))) {
        std::remove((base + ".txt").c_str());
        return reportFailure("Cannot create file", base + ".txt");
    }
    if (!writeData(base + ".bin", source.Data)) {
        std::remove((base + ".txt").c_str());
        return reportFailure("Cannot create file", base + ".bin");
    }
    return true;
}
