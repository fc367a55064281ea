#include "calc/uCalcCompilerImage.h"

#include <cstring>

TCalcImage& CalcImage()
{
    static TCalcImage image{};
    return image;
}

int CalcOperandSize(char letter)
{
    switch (letter) {
    case 'b': return 1;
    case 'w':
    case 'l': return 2;
    case 'd': return 4;
    default: return 0;
    }
}

int CalcInstructionSize(uint8_t opcode)
{
    if (opcode >= CalcOpcodeCount)
        return 0;
    int size = 1;
    for (const char* p = CalcMnemonics[opcode].Operands; *p; ++p)
        size += CalcOperandSize(*p);
    return size;
}

void EncodeCalcText(const std::string& text, uint8_t& key, std::vector<uint8_t>& out)
{
    for (char ch : text) {
        if (ch == '\0')
            continue;
        out.push_back(static_cast<uint8_t>(static_cast<uint8_t>(ch) ^ key));
        ++key;
    }
    out.push_back(key);
}

void EncodeCalcItems(const std::vector<std::string>& items, uint8_t& key, std::vector<uint8_t>& out)
{
    for (size_t i = 0; i < items.size(); ++i) {
        for (char ch : items[i]) {
            if (ch == '\0' || ch == '\r')
                continue;
            out.push_back(static_cast<uint8_t>(static_cast<uint8_t>(ch) ^ key));
            ++key;
        }
        if (i + 1 < items.size())
            out.push_back(static_cast<uint8_t>('\r' ^ key));
    }
    out.push_back(key);
}

bool DecodeCalcText(const uint8_t* image, size_t size, uint8_t& key, std::string& text, size_t& pos, bool items)
{
    text.clear();
    while (pos < size) {
        const uint8_t b = image[pos++];
        if (b == key)
            return true;
        const char ch = static_cast<char>(b ^ key);
        text += ch;
        if (!(items && ch == '\r'))
            ++key;
    }
    return false;
}

std::vector<uint8_t> EncodeCalcLiteral(const std::string& text)
{
    std::string kept;
    for (char ch : text)
        if (ch != '\0')
            kept += ch;
    std::vector<uint8_t> out;
    if (kept.empty())
        kept = " ";
    const uint8_t first = static_cast<uint8_t>(kept[0]);
    out.push_back(first ^ 0x80);
    for (size_t i = 1; i < kept.size(); ++i)
        out.push_back(static_cast<uint8_t>(kept[i]) ^ first);
    out.push_back(first);
    return out;
}

bool DecodeCalcLiteral(const uint8_t* image, size_t size, size_t pos, std::string& text)
{
    text.clear();
    if (pos >= size)
        return false;
    const uint8_t first = image[pos++] ^ 0x80;
    text += static_cast<char>(first);
    while (pos < size) {
        const uint8_t b = image[pos++];
        if (b == first)
            return true;
        text += static_cast<char>(b ^ first);
    }
    return false;
}
