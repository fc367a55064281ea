#include "platform/Cp1251.h"

#include <QChar>
#include <QList>
#include <array>
#include <unordered_map>
#include <vector>

namespace {

// Code points of the bytes 0x80..0xFF; 0x98 has no character and maps to
// itself so that every byte survives a round trip.
constexpr std::array<char16_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

struct Tables {
    std::unordered_map<char32_t, unsigned char> fromUnicode;
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};

    Tables()
    {
        for (int i = 0; i < 128; ++i)
            fromUnicode[kHigh[static_cast<size_t>(i)]] = static_cast<unsigned char>(0x80 + i);
        for (int b = 0; b < 256; ++b) {
            const auto c = static_cast<unsigned char>(b);
            const char32_t u = Cp1251ToUnicode(c);
            upper[c] = map(QChar::toUpper(u), c);
            lower[c] = map(QChar::toLower(u), c);
        }
    }

    unsigned char map(char32_t u, unsigned char fallback) const
    {
        if (u < 0x80)
            return static_cast<unsigned char>(u);
        auto it = fromUnicode.find(u);
        return it == fromUnicode.end() ? fallback : it->second;
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

void appendUtf8(std::string& out, char32_t u)
{
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// The length and code point of a well-formed UTF-8 sequence at s[i]; 0 when
// none begins there.
size_t utf8Sequence(const std::string& s, size_t i, char32_t& u)
{
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        u = c;
        return 1;
    }
    size_t n = 0;
    char32_t least = 0;
    if ((c & 0xE0) == 0xC0) {
        n = 2, u = c & 0x1F, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3, u = c & 0x0F, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4, u = c & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - i < n)
        return 0;
    for (size_t k = 1; k < n; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80)
            return 0;
        u = u << 6 | (cc & 0x3F);
    }
    if (u < least || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF))
        return 0;
    return n;
}

constexpr unsigned char Mark = 0x98;

// Whether the page writes the code point as one byte of its own; U+0098,
// which stands in for the byte without a character, is marked like any
// character the page lacks.
bool inPage(char32_t u) { return u < 0x80 || (u != Mark && tables().fromUnicode.count(u) != 0); }

} // namespace

size_t MarkedCharLength(const std::string& s, size_t i)
{
    if (i + 1 >= s.size() || static_cast<unsigned char>(s[i]) != Mark)
        return 0;
    char32_t u = 0;
    const size_t n = utf8Sequence(s, i + 1, u);
    return n >= 2 && !inPage(u) ? n + 1 : 0;
}

char32_t Cp1251ToUnicode(unsigned char c)
{
    return c < 0x80 ? c : kHigh[static_cast<size_t>(c - 0x80)];
}

unsigned char UnicodeToCp1251(char32_t u)
{
    if (u < 0x80)
        return static_cast<unsigned char>(u);
    auto it = tables().fromUnicode.find(u);
    return it == tables().fromUnicode.end() ? '?' : it->second;
}

std::string Cp1251ToUtf8(const std::string& s)
{
    std::string out;
    out.reserve(s.size() * 2);
    for (size_t i = 0; i < s.size(); ++i) {
        if (const size_t n = MarkedCharLength(s, i)) {
            out.append(s, i + 1, n - 1);
            i += n - 1;
        } else {
            appendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(s[i])));
        }
    }
    return out;
}

std::string Utf8ToCp1251(const std::string& s)
{
    // Each character's bytes, in order.
    std::vector<std::string> pieces;
    for (size_t i = 0; i < s.size();) {
        char32_t u = 0;
        const size_t n = utf8Sequence(s, i, u);
        if (n == 0) {
            pieces.emplace_back("?");
            ++i;
        } else if (inPage(u)) {
            pieces.emplace_back(1, static_cast<char>(UnicodeToCp1251(u)));
            i += n;
        } else if (u == Mark) {
            pieces.emplace_back(1, static_cast<char>(Mark));
            i += n;
        } else {
            pieces.push_back(static_cast<char>(Mark) + s.substr(i, n));
            i += n;
        }
    }
    // U+0098 stays the lone byte it stood for, unless what follows would
    // make it read as a marked character: then it is marked itself.
    std::string after;
    for (size_t k = pieces.size(); k-- > 0;) {
        if (pieces[k].size() == 1 && static_cast<unsigned char>(pieces[k][0]) == Mark &&
            MarkedCharLength(pieces[k] + after, 0) != 0)
            pieces[k] = "\x98\xC2\x98";
        after = (pieces[k] + after).substr(0, 5);
    }
    std::string out;
    for (const std::string& p : pieces)
        out += p;
    return out;
}

QString Cp1251ToQString(const std::string& s)
{
    QString out;
    out.reserve(static_cast<qsizetype>(s.size()));
    for (size_t i = 0; i < s.size(); ++i) {
        if (const size_t n = MarkedCharLength(s, i)) {
            out += QString::fromUtf8(s.data() + i + 1, static_cast<qsizetype>(n - 1));
            i += n - 1;
        } else {
            out += QChar(static_cast<char16_t>(Cp1251ToUnicode(static_cast<unsigned char>(s[i]))));
        }
    }
    return out;
}

std::string QStringToCp1251(const QString& s)
{
    std::string out;
    out.reserve(static_cast<size_t>(s.size()));
    for (char32_t u : s.toUcs4())
        out += static_cast<char>(UnicodeToCp1251(u));
    return out;
}

unsigned char AnsiUpperChar(unsigned char c) { return tables().upper[c]; }

unsigned char AnsiLowerChar(unsigned char c) { return tables().lower[c]; }

std::string AnsiUpperCase(const std::string& s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(c)));
    return out;
}

std::string AnsiLowerCase(const std::string& s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(AnsiLowerChar(static_cast<unsigned char>(c)));
    return out;
}

int AnsiCompareText(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = AnsiUpperChar(static_cast<unsigned char>(a[i]));
        const int cb = AnsiUpperChar(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool AnsiSameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}
