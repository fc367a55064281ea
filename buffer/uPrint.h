#pragma once
// Printing of a buffer range as a hex dump: the address-area text, the range
// chosen in the print dialog, the printed lines (description, header, rule,
// rows of 16 bytes) and the text-file output of the same lines. The printer
// output draws these lines too (buffer/forms/uPrintCanvas.h).
#include "buffer/HDumpBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

// Bits of the setting PrintParameters.
enum TPrintRange : int32_t {
    prWholeBuffer = 0,
    prSelectedArea = 1,
    prEditorScreen = 2,
    prAddressArea = 3,
};
constexpr int32_t ppRangeMask = 0x3;
constexpr int32_t ppToFile = 1 << 3;
constexpr int32_t ppAddDescription = 1 << 4;
constexpr int32_t ppShowGrid = 1 << 5;

// The address area "start-end": split at the first "-", each part a decimal
// number, "$" or "0x" hexadecimal. Valid when both parts convert to
// addresses (0 and up) and the end lies after the start; start and end are
// set either way, -1 for a part that does not convert. Hexadecimal values of
// 8 digits and more never wrap to a negative start.
bool ParsePrintArea(const std::string& text, int64_t& start, int64_t& end);

// Bytes first..last (inclusive) to print.
struct TPrintSpan {
    int64_t First = 0;
    int64_t Last = -1;
};

// The span of a range choice. The editor screen is every row shown, the
// last one included; topIndex and lastRowIndex are the view's first bytes
// of its top and last rows.
TPrintSpan PrintSpan(TPrintRange range, const TDumpBuffer& buffer, int64_t topIndex, int64_t lastRowIndex,
                     int64_t areaStart, int64_t areaEnd);

// Column header and the rule under it.
std::string PrintHeaderLine(bool wordMode, bool grid);
std::string PrintRuleLine(bool wordMode, bool grid);

// The row of the 16 bytes from `rowStart` (a multiple of 16): address, hex
// cells (bytes or words) and characters; bytes outside the span or the
// buffer show as dots.
std::string PrintRowLine(const TDumpBuffer& buffer, int64_t rowStart, const TPrintSpan& span, bool wordMode,
                         bool grid);

// First byte of every row printed for a span: from the span's row, 16 bytes
// a row, at least one row, never past the buffer's last row (an address area
// reaching beyond the buffer prints no rows of nothing but dots).
int64_t PrintFirstRow(const TPrintSpan& span);
int64_t PrintLastRow(const TDumpBuffer& buffer, const TPrintSpan& span);

// What one print produces.
struct TPrintJob {
    TPrintSpan Span;
    bool WordMode = false;
    bool Grid = false;
    bool AddDescription = false;
    std::vector<std::string> Description; // code page 1251 lines
};

// Where the lines go: a text file or a printer page.
class TPrintTarget {
public:
    virtual ~TPrintTarget() = default;
    // false stops the print (a failed write).
    virtual bool Line(const std::string& text) = 0;
    // Blank lines between description and header (a printer leaves two).
    virtual int SeparatorLines() const { return 1; }
    // After each row: the printer begins a new page when the page is full;
    // false stops the print.
    virtual bool RowDone() { return true; }
};

// Description (when asked for), blank line, header, rule, rows. false when
// the target stopped it.
bool WritePrintLines(const TDumpBuffer& buffer, const TPrintJob& job, TPrintTarget& target);

// Writes the lines, each ending in CR LF, to the file (program path, code
// page 1251), making its folder when missing. With `merge` the lines follow
// an existing file's content. The file is replaced only when everything was
// written; false with a message otherwise.
bool WritePrintFile(const std::string& fileName, bool merge, const TDumpBuffer& buffer, const TPrintJob& job,
                    std::string& error);

// The default description: " CHIP: <chip>, Date: <date>, Time: <time>" and
// a rule of 51 "-" after a blank.
std::vector<std::string> PrintDescriptionLines(const std::string& chip, const std::string& date,
                                               const std::string& time);

// folder + "<chip> <date> <time> dump.txt", the generated name made a valid
// file name (":" and "/" of dates and times become "-"); the folder stays as
// it is.
std::string DefaultPrintFileName(const std::string& folder, const std::string& chip, const std::string& date,
                                 const std::string& time);

// "Dumps/Print/" in the program folder.
std::string DefaultPrintFolder();
