#include "calc/uCalcCompilerAsm.h"

#include <unordered_map>

#include "calc/uCalcCompilerMessages.h"
#include "platform/SysUtils.h"

namespace {

constexpr size_t MnemonicWidth = 8;
constexpr size_t OperandStride = 9;
constexpr int HighestLabelOffset = 0xFFFE; // 0xFFFF means "none"

std::string Padded(const std::string& line)
{
    std::string head = line.substr(0, MnemonicWidth);
    head.resize(MnemonicWidth, ' ');
    return head;
}

bool IsLabelLine(const std::string& line)
{
    return line.size() > 1 && line.back() == ':' && line.find(' ') == std::string::npos;
}

bool ParseHex(const std::string& text, uint32_t& value)
{
    if (text.empty() || text.size() > 8)
        return false;
    value = 0;
    for (char ch : text) {
        const int digit = HexDigitValue(ch);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return true;
}

class TCalcAssembler {
public:
    TCalcAssembler(const std::vector<std::string>& listing, TCalcImage& image) : listing_(listing), image_(image) {}

    bool Run(std::string& errorText, int& position)
    {
        for (pass_ = 1; pass_ <= 2; ++pass_) {
            position_ = 0;
            for (line_ = 0; line_ < listing_.size(); ++line_)
                if (!Line(listing_[line_])) {
                    errorText = error_;
                    position = position_;
                    return false;
                }
        }
        position = position_;
        return true;
    }

private:
    bool Fail(TCalcMsg msg, const std::string& detail)
    {
        error_ = CalcMessage(TCalcMsg::AsmLine) + IntToStr(static_cast<int64_t>(line_)) + CalcMessage(msg) + detail;
        return false;
    }

    bool Put(char letter, uint32_t value)
    {
        if (static_cast<size_t>(position_) + CalcOperandSize(letter) > image_.size())
            return Fail(TCalcMsg::ImageTooLarge, "");
        if (!EmitCalcOperand(letter, value, position_, image_))
            return Fail(TCalcMsg::AsmBadOperand, listing_[line_]);
        return true;
    }

    bool Line(const std::string& line)
    {
        if (line.empty() || line[0] == ';')
            return true;
        if (line.compare(0, 4, ".db ") == 0)
            return Data(line.substr(4));
        if (IsLabelLine(line))
            return Label(line.substr(0, line.size() - 1));
        const int op = FindCalcMnemonic(line);
        if (op < 0)
            return Fail(TCalcMsg::AsmUnknownMnemonic, Padded(line));
        if (!Put('b', static_cast<uint32_t>(op)))
            return false;
        const char* letters = CalcMnemonics[op].Operands;
        for (size_t k = 0; letters[k]; ++k)
            if (!Operand(line, k, letters[k]))
                return false;
        return true;
    }

    bool Data(const std::string& pairs)
    {
        for (size_t i = 0; i < pairs.size();) {
            if (pairs[i] == ' ') {
                ++i;
                continue;
            }
            uint32_t value = 0;
            if (i + 1 >= pairs.size() || !ParseHex(pairs.substr(i, 2), value))
                return Fail(TCalcMsg::AsmBadData, pairs.substr(i, 2));
            if (!Put('b', value))
                return false;
            i += 2;
        }
        return true;
    }

    bool Label(const std::string& name)
    {
        if (pass_ == 1) {
            if (labels_.count(name))
                return Fail(TCalcMsg::AsmRepeatedLabel, name);
            if (position_ > HighestLabelOffset)
                return Fail(TCalcMsg::ImageTooLarge, "");
            labels_[name] = position_;
            return true;
        }
        static const std::pair<const char*, int> entries[] = {
            {"PROC_ONSHOW", CalcEntryOnShow}, {"PROC_ONAPPLY", CalcEntryOnApply}, {"PROC_ONCHANGE", CalcEntryOnChange}};
        for (const auto& [label, offset] : entries)
            if (name == label) {
                image_[offset] = static_cast<uint8_t>(position_);
                image_[offset + 1] = static_cast<uint8_t>(position_ >> 8);
            }
        return true;
    }

    // The label's offset; in pass 1 an unknown label is not yet an error.
    bool LabelValue(const std::string& name, TCalcMsg missing, uint32_t& value)
    {
        const auto it = labels_.find(name);
        if (it != labels_.end()) {
            value = static_cast<uint32_t>(it->second);
            return true;
        }
        value = CalcNoEntry;
        return pass_ == 1 || Fail(missing, name);
    }

    bool Operand(const std::string& line, size_t k, char letter)
    {
        const size_t column = MnemonicWidth + k * OperandStride;
        const std::string rest = column < line.size() ? line.substr(column) : std::string();
        uint32_t value = 0;
        if (letter == 'l') {
            if (!LabelValue(rest, TCalcMsg::AsmUnknownLabel, value))
                return false;
        } else if (letter == 'd' && k == 1 && !rest.empty() && rest[0] == '$') {
            if (!LabelValue(rest.substr(1, rest.find(' ') - 1), TCalcMsg::AsmUnknownMnemonic, value))
                return false;
        } else if (!ParseHex(rest.substr(0, 8), value) || rest.size() < 8 || (rest.size() > 8 && rest[8] != ' ')) {
            return Fail(TCalcMsg::AsmBadOperand, line);
        }
        return Put(letter, value);
    }

    const std::vector<std::string>& listing_;
    TCalcImage& image_;
    std::unordered_map<std::string, int> labels_;
    std::string error_;
    int pass_ = 1;
    size_t line_ = 0;
    int position_ = 0;
};

struct TListingInstruction {
    std::string Mnemonic;
    std::string First;
    std::string Second;
};

TListingInstruction Split(const std::string& line)
{
    TListingInstruction ins;
    ins.Mnemonic = Trim(line.substr(0, MnemonicWidth));
    if (line.size() > MnemonicWidth)
        ins.First = line.substr(MnemonicWidth, 8);
    if (line.size() > MnemonicWidth + OperandStride)
        ins.Second = line.substr(MnemonicWidth + OperandStride, 8);
    return ins;
}

} // namespace

std::string CalcHex(uint32_t value)
{
    return IntToHex(value, 8);
}

std::string CalcListingLine(const std::string& mnemonic, std::initializer_list<std::string> operands)
{
    std::string line = mnemonic;
    line.resize(std::max(line.size(), MnemonicWidth), ' ');
    bool first = true;
    for (const std::string& op : operands) {
        if (!first)
            line += ' ';
        line += op;
        first = false;
    }
    return line;
}

int FindCalcMnemonic(const std::string& line)
{
    const std::string head = Padded(line);
    for (int i = 0; i < CalcOpcodeCount; ++i)
        if (Padded(CalcMnemonics[i].Mnemonic) == head)
            return i;
    return -1;
}

bool EmitCalcOperand(char letter, uint32_t value, int& position, TCalcImage& image)
{
    const int size = CalcOperandSize(letter);
    if (size == 0 || (size < 4 && value >> (8 * size) != 0))
        return false;
    if (position < 0 || static_cast<size_t>(position) + static_cast<size_t>(size) > image.size())
        return false;
    for (int i = 0; i < size; ++i)
        image[static_cast<size_t>(position++)] = static_cast<uint8_t>(value >> (8 * i));
    return true;
}

bool AssembleCalculator(const std::vector<std::string>& listing, std::string& errorText, int& position,
                        TCalcImage& image)
{
    errorText.clear();
    return TCalcAssembler(listing, image).Run(errorText, position);
}

void OptimizeCalcListing(std::vector<std::string>& listing)
{
    const std::string temp = CalcHex(255);
    for (size_t i = 0; i + 2 < listing.size(); ++i) {
        const TListingInstruction load = Split(listing[i]);
        const TListingInstruction work = Split(listing[i + 1]);
        const TListingInstruction store = Split(listing[i + 2]);
        if (load.Mnemonic != "R=R" || load.First != temp || store.Mnemonic != "R=R" || store.First != load.Second ||
            store.Second != temp || work.First != temp || FindCalcMnemonic(listing[i + 1]) < 0)
            continue;
        // A zero divisor register is set to 1 by the division: with the
        // source as its own divisor the rewrite would change the result.
        if ((work.Mnemonic == "R/R" || work.Mnemonic == "R%R") && work.Second == load.Second)
            continue;
        std::string rewritten = listing[i + 1];
        rewritten.replace(MnemonicWidth, 8, load.Second);
        for (size_t k = i; k < i + 3; ++k)
            listing[k] = ";ooo " + listing[k];
        listing.insert(listing.begin() + static_cast<std::ptrdiff_t>(i + 3), rewritten);
        i += 3;
    }
}
