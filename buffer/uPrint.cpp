#include "buffer/uPrint.h"

#include "buffer/FileServFiles.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <algorithm>

namespace {

const char HexDigit[] = "0123456789ABCDEF";

// One part of the address area; -1 when it does not convert or is no
// address. The conversion wraps hexadecimal values: 16 digits with the top
// bit set come out negative, and longer ones lose their high digits.
int64_t AreaPart(const std::string& text)
{
    const std::optional<int64_t> v = TryStrToInt64(text);
    if (!v || *v < 0)
        return -1;
    const std::string t = Trim(text);
    const size_t significant = t.find_first_not_of("+$xX0");
    const bool hex = t.find_first_of("$xX") != std::string::npos;
    if (hex && significant != std::string::npos && t.size() - significant > 16)
        return -1;
    return *v;
}

class TRowBytes {
public:
    TRowBytes(const TDumpBuffer& buffer, const TPrintSpan& span) : buffer_(buffer), span_(span) {}
    bool InRange(int64_t i) const
    {
        return i >= 0 && i >= span_.First && i <= span_.Last && i <= buffer_.LastIndex;
    }
    bool InBuffer(int64_t i) const { return buffer_.InRange(i); }
    uint8_t At(int64_t i) const { return buffer_.Data[size_t(i)]; }
    void Hex(std::string& out, int64_t i) const
    {
        out += HexDigit[At(i) >> 4];
        out += HexDigit[At(i) & 15];
    }
    char Char(int64_t i) const { return At(i) >= 32 ? char(At(i)) : '.'; }

private:
    const TDumpBuffer& buffer_;
    const TPrintSpan& span_;
};

void ByteCells(std::string& out, const TRowBytes& bytes, int64_t o, bool grid)
{
    for (int k = 0; k < 16; ++k) {
        if (k > 0)
            out += (grid && k % 4 == 0) ? '|' : ' ';
        if (bytes.InRange(o + k))
            bytes.Hex(out, o + k);
        else
            out += "..";
    }
    out += "   ";
    for (int k = 0; k < 16; ++k)
        out += bytes.InRange(o + k) ? bytes.Char(o + k) : '.';
}

// Word cells show the byte at i + 1 before the byte at i. The last byte of
// an odd-sized buffer has no partner: its missing half shows as dots.
void WordCells(std::string& out, const TRowBytes& bytes, int64_t o, bool grid)
{
    for (int k = 0; k < 8; ++k) {
        const int64_t i = o + 2 * k;
        if (k > 0)
            out += (grid && k % 2 == 0) ? '|' : ' ';
        if (!bytes.InRange(i)) {
            out += "....";
            continue;
        }
        if (bytes.InBuffer(i + 1))
            bytes.Hex(out, i + 1);
        else
            out += "..";
        bytes.Hex(out, i);
    }
    out += "   ";
    for (int64_t p = o; p < o + 16; ++p)
        out += bytes.InRange(p) && bytes.InBuffer(p ^ 1) ? bytes.Char(p ^ 1) : '.';
}

// Writes each line and CR LF to a file's sink.
class TFileTarget : public TPrintTarget {
public:
    explicit TFileTarget(const TTextSink& sink) : sink_(sink) {}
    bool Line(const std::string& text) override { return sink_(text.data(), text.size()) && sink_("\r\n", 2); }

private:
    const TTextSink& sink_;
};

// Copies an existing file's bytes to the sink (a merge keeps them first).
bool CopyFileTo(const std::string& nativePath, const TTextSink& sink)
{
    TFileReader in(nativePath);
    if (!in.IsOpen())
        return false;
    char piece[65536];
    for (;;) {
        const int64_t n = in.Read(piece, sizeof piece);
        if (n == 0)
            return true;
        if (n < 0 || !sink(piece, size_t(n)))
            return false;
    }
}

} // namespace

bool ParsePrintArea(const std::string& text, int64_t& start, int64_t& end)
{
    const size_t dash = text.find('-');
    start = AreaPart(text.substr(0, dash));
    end = dash == std::string::npos ? -1 : AreaPart(text.substr(dash + 1));
    return start != -1 && end != -1 && end > start;
}

TPrintSpan PrintSpan(TPrintRange range, const TDumpBuffer& buffer, int64_t topIndex, int64_t lastRowIndex,
                     int64_t areaStart, int64_t areaEnd)
{
    TPrintSpan span;
    switch (range) {
    case prWholeBuffer:
        span = {0, buffer.LastIndex};
        break;
    case prSelectedArea:
        if (buffer.SelStart >= 0)
            span = {buffer.SelStart, buffer.SelEnd};
        break;
    case prEditorScreen:
        span = {topIndex, lastRowIndex + 15};
        break;
    case prAddressArea:
        span = {areaStart, areaEnd};
        break;
    }
    span.First = std::max<int64_t>(span.First, 0);
    return span;
}

std::string PrintHeaderLine(bool wordMode, bool grid)
{
    if (wordMode)
        return grid ? "        0000 0001|0002 0003|0004 0005|0006 0007   0 1 2 3 4 5 6 7"
                    : "        0000 0001 0002 0003 0004 0005 0006 0007   0 1 2 3 4 5 6 7";
    return grid ? "        00 01 02 03|04 05 06 07|08 09 0A 0B|0C 0D 0E 0F   0123456789ABCDEF"
                : "        00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F   0123456789ABCDEF";
}

std::string PrintRuleLine(bool wordMode, bool grid)
{
    if (wordMode)
        return grid ? "        ---------|---------|---------|---------   ----------------"
                    : "        ---------------------------------------   ----------------";
    return grid ? "        -----------|-----------|-----------|-----------   ----------------"
                : "        -----------------------------------------------   ----------------";
}

std::string PrintRowLine(const TDumpBuffer& buffer, int64_t rowStart, const TPrintSpan& span, bool wordMode,
                         bool grid)
{
    const TRowBytes bytes(buffer, span);
    std::string out = IntToHex(uint64_t(wordMode ? rowStart / 2 : rowStart), 5) + ":  ";
    if (wordMode)
        WordCells(out, bytes, rowStart, grid);
    else
        ByteCells(out, bytes, rowStart, grid);
    return out;
}

int64_t PrintFirstRow(const TPrintSpan& span)
{
    return std::max<int64_t>(span.First, 0) & ~int64_t(15);
}

int64_t PrintLastRow(const TDumpBuffer& buffer, const TPrintSpan& span)
{
    const int64_t end = std::min(span.Last, buffer.LastIndex);
    return std::max(end & ~int64_t(15), PrintFirstRow(span));
}

bool WritePrintLines(const TDumpBuffer& buffer, const TPrintJob& job, TPrintTarget& target)
{
    if (job.AddDescription)
        for (const std::string& line : job.Description)
            if (!target.Line(line))
                return false;
    for (int k = 0; k < target.SeparatorLines(); ++k)
        if (!target.Line(" "))
            return false;
    if (!target.Line(PrintHeaderLine(job.WordMode, job.Grid)) || !target.Line(PrintRuleLine(job.WordMode, job.Grid)))
        return false;
    const int64_t last = PrintLastRow(buffer, job.Span);
    for (int64_t o = PrintFirstRow(job.Span); o <= last; o += 16)
        if (!target.Line(PrintRowLine(buffer, o, job.Span, job.WordMode, job.Grid)) || !target.RowDone())
            return false;
    return true;
}

bool WritePrintFile(const std::string& fileName, bool merge, const TDumpBuffer& buffer, const TPrintJob& job,
                    std::string& error)
{
    const std::string native = NativePath(fileName);
    const std::string folder = ExtractFilePath(native);
    if (!folder.empty() && !ForceDirectories(folder)) {
        error = "Cannot create the folder \"" + ExtractFilePath(fileName) + "\".";
        return false;
    }
    const bool append = merge && FileExists(native);
    return WriteDumpText(
        fileName,
        [&](const TTextSink& sink) {
            if (append && !CopyFileTo(native, sink))
                return false;
            TFileTarget target(sink);
            return WritePrintLines(buffer, job, target);
        },
        error);
}

std::vector<std::string> PrintDescriptionLines(const std::string& chip, const std::string& date,
                                               const std::string& time)
{
    return {" CHIP: " + chip + ", Date: " + date + ", Time: " + time, " " + std::string(51, '-')};
}

std::string DefaultPrintFileName(const std::string& folder, const std::string& chip, const std::string& date,
                                 const std::string& time)
{
    return folder + ValidFileName(chip + " " + date + " " + time + " dump.txt");
}

std::string DefaultPrintFolder()
{
    return ProgramFolder() + "/Dumps/Print/";
}
