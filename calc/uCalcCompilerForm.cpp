// Header and form of a calculator script: the window records go into the
// image as they are read.
#include "calc/uCalcCompilerParser.h"

namespace {

struct TControlKeyword {
    const char* Keyword;
    char Letter;
    int Numbers;
};

constexpr TControlKeyword ControlKeywords[] = {
    {"DIGIT", 'D', 3},  {"HEXDIGIT", 'H', 4}, {"LABEL", 'L', 2},
    {"PICTURE", 'P', 4}, {"CHECKBOX", 'B', 2}, {"COMBOBOX", 'C', 3},
};

bool IsEventKeyword(const TCalcToken& t)
{
    return t.Is("ONSHOW") || t.Is("ONAPPLY") || t.Is("ONCHANGE") || t.Is("VAR");
}

} // namespace

void TCalcCompiler::PutByte(uint8_t b)
{
    if (form_.size() >= CalcImageSize)
        Fail(TCalcMsg::ImageTooLarge);
    form_.push_back(b);
}

void TCalcCompiler::PutField(uint16_t v)
{
    PutByte(static_cast<uint8_t>(v));
    PutByte(static_cast<uint8_t>(v >> 8));
}

void TCalcCompiler::PutBytes(const std::vector<uint8_t>& bytes)
{
    for (uint8_t b : bytes)
        PutByte(b);
}

// A comma, then a number for a 16-bit field.
uint16_t TCalcCompiler::Field(TCalcMsg missingComma)
{
    Expect(",", missingComma);
    const auto value = ParseCalcNumber(cur_.Kind == TCalcTokenKind::Word ? cur_.Text : std::string());
    if (!value)
        FailQuoted(TCalcMsg::UnknownExpression, cur_.Text);
    Advance();
    return static_cast<uint16_t>(*value);
}

void TCalcCompiler::ParseHeader()
{
    while (!cur_.Is("SIZE")) {
        if (AtEnd())
            throw TCalcCompileError{CalcMessage(TCalcMsg::NoSize)};
        Advance();
    }
    Advance();
    uint16_t size[2] = {0, 0};
    Expect("(", TCalcMsg::BadSize);
    for (int i = 0; i < 2; ++i) {
        if (i == 1)
            Expect(",", TCalcMsg::BadSize);
        const auto value = ParseCalcNumber(cur_.Kind == TCalcTokenKind::Word ? cur_.Text : std::string());
        if (!value)
            Fail(TCalcMsg::BadSize);
        size[i] = static_cast<uint16_t>(*value);
        Advance();
    }
    Expect(")", TCalcMsg::BadSize);
    if (!cur_.Is(";"))
        Fail(TCalcMsg::BadSize);
    Advance();
    if (!cur_.Is("FORM"))
        throw TCalcCompileError{CalcMessage(TCalcMsg::NoForm)};
    Advance();
    Expect("{", TCalcMsg::NoBrace);
    for (int i = 0; i < 3; ++i)
        PutField(CalcNoEntry);
    PutField(0xFFFF);
    PutField(size[0]);
    PutField(size[1]);
}

// Braces of the form: true for a GROUP, false for an anonymous brace.
void TCalcCompiler::ParseForm()
{
    std::vector<bool> open;
    for (;;) {
        if (AtEnd() || IsEventKeyword(cur_))
            Fail(TCalcMsg::NoFormCloseBrace);
        if (cur_.Is("}")) {
            if (open.empty()) {
                PutByte(CalcEndOfRecords);
                Advance();
                return;
            }
            if (open.back())
                PutByte('g');
            open.pop_back();
            Advance();
        } else if (cur_.Is("{")) {
            open.push_back(false);
            Advance();
        } else if (cur_.Is("GROUP")) {
            ParseGroup();
            open.push_back(true);
        } else if (cur_.Is("TEXT")) {
            // The window has no control for TEXT: refused here rather than
            // giving an image that no window can be built from.
            Fail(TCalcMsg::TextNotSupported);
        } else {
            const TControlKeyword* found = nullptr;
            for (const TControlKeyword& k : ControlKeywords)
                if (cur_.Is(k.Keyword))
                    found = &k;
            if (!found)
                FailQuoted(TCalcMsg::UnknownComponent, cur_.Text);
            ParseControl(found->Letter, found->Numbers);
        }
    }
}

// A caption, control text or item: a string literal or a bare word.
std::string TCalcCompiler::ItemText()
{
    if (cur_.Kind != TCalcTokenKind::Literal && cur_.Kind != TCalcTokenKind::Word)
        FailQuoted(TCalcMsg::UnknownExpression, cur_.Text);
    std::string text = cur_.Text;
    Advance();
    return text;
}

void TCalcCompiler::ParseGroup()
{
    Advance();
    Expect("(", TCalcMsg::NoParen);
    const std::string caption = ItemText();
    uint16_t fields[4];
    for (uint16_t& f : fields)
        f = Field(TCalcMsg::NoComma);
    Expect(")", TCalcMsg::NoParen);
    Expect("{", TCalcMsg::NoBrace);
    uint8_t key = 'G';
    std::vector<uint8_t> coded;
    EncodeCalcText(caption, key, coded);
    PutByte('G');
    PutBytes(coded);
    for (uint16_t f : fields)
        PutField(f);
}

void TCalcCompiler::ParseControl(char letter, int numbers)
{
    Advance();
    Expect("(", TCalcMsg::NoParen);
    if (cur_.Kind != TCalcTokenKind::Word || IsReservedName(cur_.Text))
        FailQuoted(TCalcMsg::UnknownExpression, cur_.Text);
    const std::string name = cur_.Text;
    if (IsNameInUse(name))
        Fail(TCalcMsg::RepeatedControl, name);
    // The index travels in one operand byte of the code.
    if (controlCount_ >= 256)
        Fail(TCalcMsg::TooManyControls, name);
    names_[name] = (static_cast<uint32_t>(letter) << 16) | static_cast<uint32_t>(controlCount_++);
    Advance();
    Expect(",", TCalcMsg::NoComma);
    const std::string text = ItemText();
    std::vector<uint16_t> fields;
    for (int i = 0; i < numbers; ++i)
        fields.push_back(Field(TCalcMsg::NoComma));
    std::vector<std::string> items;
    if (letter == 'C') {
        // At least one item: the list's terminator must not fall on a field.
        if (cur_.Is(")"))
            Fail(TCalcMsg::NoComboItems);
        while (!cur_.Is(")")) {
            if (!cur_.Is(","))
                Fail(TCalcMsg::NoCommaOrParen);
            Advance();
            items.push_back(ItemText());
        }
    }
    Expect(")", TCalcMsg::NoParen);
    Expect(";", TCalcMsg::NoSemicolon);
    uint8_t key = static_cast<uint8_t>(letter);
    std::vector<uint8_t> coded;
    EncodeCalcText(text, key, coded);
    PutByte(static_cast<uint8_t>(letter));
    PutBytes(coded);
    for (uint16_t f : fields)
        PutField(f);
    if (letter == 'C') {
        coded.clear();
        EncodeCalcItems(items, key, coded);
        PutBytes(coded);
    }
}
