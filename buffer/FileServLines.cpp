#include "buffer/FileServLines.h"

#include "buffer/FileServFiles.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

void Trim(const char*& b, const char*& e)
{
    while (b < e && static_cast<unsigned char>(*b) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(e[-1]) <= ' ')
        --e;
}

bool TooLong(int64_t index, TDumpError& error)
{
    error.Line = index;
    error.Text = "The line is too long.";
    return false;
}

} // namespace

bool TDumpLines::ForEach(const TDumpLineFunc& f, TDumpError& error) const
{
    error = TDumpError();
    if (!Rewind(error.Text))
        return false;
    // A block of new text after the unfinished line of the last one.
    std::vector<char> buffer(2 * blockSize_);
    char* const start = buffer.data();
    size_t held = 0; // characters of an unfinished line at start
    char separator = 0;
    int64_t index = 0;
    for (;;) {
        const int64_t got = Read(start + held, blockSize_, error.Text);
        if (got < 0)
            return false;
        const char* p = start;
        const char* const end = start + held + size_t(got);
        if (separator == 0 && got > 0)
            separator = std::memchr(start, '\n', size_t(got)) ? '\n' : '\r';
        for (;;) {
            const char* e = static_cast<const char*>(std::memchr(p, separator, size_t(end - p)));
            if (!e) {
                if (got > 0)
                    break;
                e = end; // the last line has no line end
                if (p == e)
                    return true;
            }
            if (size_t(e - p) > blockSize_)
                return TooLong(index, error);
            const char* b = p;
            const char* t = e;
            Trim(b, t);
            if (!f(index, b, t))
                return true;
            ++index;
            p = e + 1;
            if (p >= end)
                break;
        }
        if (got == 0)
            return true;
        held = size_t(end - p);
        if (held > blockSize_)
            return TooLong(index, error);
        std::memmove(start, p, held);
    }
}

bool TDumpTextLines::Rewind(std::string&) const
{
    pos_ = 0;
    return true;
}

int64_t TDumpTextLines::Read(char* out, size_t n, std::string&) const
{
    n = std::min(n, text_.size() - pos_);
    std::memcpy(out, text_.data() + pos_, n);
    pos_ += n;
    return int64_t(n);
}

TDumpFileLines::TDumpFileLines(const std::string& fileName, size_t blockSize)
    : TDumpLines(blockSize), fileName_(fileName), file_(NativePath(fileName))
{
}

bool TDumpFileLines::Rewind(std::string& error) const
{
    if (file_.Rewind())
        return true;
    error = CannotReadMessage(fileName_);
    return false;
}

int64_t TDumpFileLines::Read(char* out, size_t n, std::string& error) const
{
    const int64_t got = file_.Read(out, n);
    if (got < 0)
        error = CannotReadMessage(fileName_);
    return got;
}
