#include "calc/uCalcCompiler.h"

#include <memory>

#include "calc/uCalcCompilerAsm.h"
#include "calc/uCalcCompilerParser.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

std::string CalcTitle;

namespace {

// Lines as the tokenizer counts them: CR, LF and CR LF each end one.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

TCalcCompiler::TCalcCompiler(const std::string& source)
    : sourceLines_(SplitLines(source)), tokenizer_(source)
{
}

// Before each token the source lines read so far go into the listing as
// comments, so that the listing shows each line above its code.
void TCalcCompiler::Advance()
{
    cur_ = tokenizer_.NextCalcToken();
    curLine_ = tokenizer_.Line();
    const size_t upTo = std::min(static_cast<size_t>(curLine_) + 1, sourceLines_.size());
    for (; copiedLines_ < upTo; ++copiedLines_)
        Emit(";   " + sourceLines_[copiedLines_]);
}

void TCalcCompiler::Fail(TCalcMsg msg, const std::string& detail) const
{
    throw TCalcCompileError{CalcMessage(TCalcMsg::LinePrefix) + IntToStr(curLine_ + 1) + CalcMessage(msg) + detail};
}

void TCalcCompiler::FailQuoted(TCalcMsg msg, const std::string& token) const
{
    Fail(msg, "\"" + token + "\"");
}

void TCalcCompiler::FailExpression(TCalcMsg msg, const std::string& detail) const
{
    throw TCalcCompileError{CalcMessage(TCalcMsg::LinePrefix) + IntToStr(curLine_ + 1) + ": " + CalcMessage(msg) +
                            detail};
}

void TCalcCompiler::Expect(const char* delimiter, TCalcMsg msg)
{
    if (!cur_.Is(delimiter))
        Fail(msg);
    Advance();
}

std::vector<TCalcToken> TCalcCompiler::TokensUpToSemicolon()
{
    std::vector<TCalcToken> tokens;
    while (!cur_.Is(";")) {
        if (AtEnd())
            Fail(TCalcMsg::NoSemicolonShort);
        tokens.push_back(cur_);
        Advance();
    }
    return tokens;
}

void TCalcCompiler::Parse()
{
    Advance();
    ParseHeader();
    ParseForm();
    names_["SELSTART"] = CalcRegSelStart;
    names_["SELEND"] = CalcRegSelEnd;
    names_["BUFSIZE"] = CalcRegBufSize;
    names_["CURSORADR"] = CalcRegCursorAdr;
    ParseTopLevel();
}

std::vector<std::string> TCalcCompiler::Listing() const
{
    std::vector<std::string> listing;
    for (size_t i = 0; i < form_.size(); i += 16) {
        std::string line = ".db";
        for (size_t k = i; k < std::min(i + 16, form_.size()); ++k)
            line += " " + IntToHex(form_[k], 2);
        listing.push_back(line);
    }
    std::vector<std::string> code = code_;
    OptimizeCalcListing(code);
    listing.insert(listing.end(), code.begin(), code.end());
    for (size_t n = 0; n < literals_.size(); ++n) {
        listing.push_back("STR" + IntToStr(static_cast<int64_t>(n)) + ":");
        std::string line = ".db";
        for (uint8_t b : EncodeCalcLiteral(literals_[n]))
            line += " " + IntToHex(b, 2);
        listing.push_back(line);
    }
    return listing;
}

std::string CalcTitleOf(const std::string& source, const std::string& fileName)
{
    std::string title = source.substr(0, source.find_first_of("\r\n"));
    for (const char bracket : {'[', ']'}) {
        const size_t at = title.find(bracket);
        if (at != std::string::npos)
            title.erase(at, 1);
    }
    const size_t slash = title.rfind('\\');
    if (slash != std::string::npos)
        title = title.substr(slash + 1);
    return title.empty() ? ExtractFileName(fileName) : title;
}

bool CompileCalculatorSource(const std::string& source, TCalcImage& image, std::string& errorText, int& length,
                             std::vector<std::string>& listing)
{
    listing.clear();
    length = 0;
    TCalcCompiler compiler(source);
    try {
        compiler.Parse();
    } catch (const TCalcCompileError& e) {
        // The listing up to the error is what shows the author where it stopped.
        listing = compiler.Listing();
        errorText = e.Text;
        return false;
    }
    listing = compiler.Listing();
    // Assembled apart, so that a failed compilation leaves the image alone.
    auto work = std::make_unique<TCalcImage>();
    work->fill(0);
    int position = 0;
    if (!AssembleCalculator(listing, errorText, position, *work))
        return false;
    image = *work;
    length = position;
    return true;
}

void CompileCalculator(const std::string& fileName, TCalcImage& image, std::string& errorText, int& length)
{
    errorText.clear();
    length = 0;
    std::string source;
    if (!ReadWholeFile(NativePath(fileName), source)) {
        CalcTitle = ExtractFileName(fileName);
        errorText = CalcMessage(TCalcMsg::FileNotFound) + fileName;
        return;
    }
    CalcTitle = CalcTitleOf(source, fileName);
    std::vector<std::string> listing;
    CompileCalculatorSource(source, image, errorText, length, listing);
    WriteWholeFileSafely(NativePath("asource.asm"), JoinLines(listing));
}
