#include "engine/uAsmMnemonics.h"
#include "engine/uHostParser.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <unordered_set>

namespace {

// The first `count` words of a line, upper-cased; blanks and delimiters
// separate them, and "//" ends the line's words, as it ends the statements
// the parser reads.
std::vector<std::string> FirstWords(const std::string& line, size_t count)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (words.size() < count && i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || IsHostDelimiter(line[i]))) {
            if (line.compare(i, 2, "//") == 0)
                return words;
            ++i;
        }
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && !IsHostDelimiter(line[i]))
            ++i;
        if (i > start)
            words.push_back(AnsiUpperCase(line.substr(start, i - start)));
    }
    return words;
}

} // namespace

void THost::Compile()
{
    Errors.Clear();
    Source.Clear();
    if (!LoadedModule.empty()) {
        const std::string path = NativePath(LoadedModule);
        if (!FileExists(path) || !Source.LoadFromFile(path)) {
            Errors.Add("Source file \"" + LoadedModule + "\" not found.");
            return;
        }
    }
    CompileSource();
}

void THost::ResetCompileState()
{
    Errors.Clear();
    Definitions.Clear();
    AsmText.Clear();
    ProcNames.Clear();
    BlockStack.Clear();
    Procedures.Clear();
    RunNames.Clear();
    PrintRecords.Clear();
    UsesDevice = false;
    // Every compile starts from what the last intake of the parameter list
    // left: its variables and arrays, nothing of an earlier compile.
    VarNames = externalVarNames_;
    GlobalVarCount = VarNames.Count();
    VarCount = ExternalVarCount;
    Arrays = externalArrays_;
    ExternalArrayCount = Arrays.Count();
    ArrayCursor = ExternalArrayEnd;
}

int THost::FindHostSection() const
{
    for (int i = 0; i < Source.Count(); ++i) {
        const auto words = FirstWords(Source[i], 1);
        if (!words.empty() && words[0] == "[HOST]")
            return i;
    }
    return -1;
}

void THost::CollectProcedureNames(int hostLine)
{
    std::unordered_set<std::string> seen;
    for (int i = hostLine + 1; i < Source.Count(); ++i) {
        const auto words = FirstWords(Source[i], 2);
        if (words.empty())
            continue;
        if (words[0][0] == '[')
            break;
        if (words[0] != "PROC")
            continue;
        const std::string prefix = "Line " + IntToStr(i + 1) + ": ";
        if (words.size() < 2) {
            Errors.Add(prefix + "Procedure name missing.");
        } else if (!seen.insert(words[1]).second) {
            Errors.Add(prefix + "Procedure \"" + words[1] + "\" redeclared.");
        } else {
            ProcNames.Add(words[1]);
        }
    }
}

void THost::CompileDeviceScript()
{
    Compiler.Lines.Assign(Source);
    Compiler.Compile();
    for (const auto& e : Compiler.Errors)
        Errors.Add(e);
}

void THost::LinkDeviceRuns()
{
    // Each DRUN carries the number of its RUN name until the device code
    // gives the procedure's address.
    for (int pc = 0; pc + 1 < CodeLength; pc += 2) {
        if (Code[static_cast<size_t>(pc)] != opDRUN)
            continue;
        const uint32_t k = Code[static_cast<size_t>(pc) + 1];
        const std::string name = k < static_cast<uint32_t>(RunNames.Count()) ? RunNames[static_cast<int>(k)] : "";
        int found = -1;
        for (int i = 0; i + 1 < Compiler.ProcAddresses.Count(); i += 2)
            if (Compiler.ProcAddresses[i] == name) {
                found = i;
                break;
            }
        if (found < 0)
            Errors.Add("Device procedure \"" + name + "\" not found.");
        else
            Code[static_cast<size_t>(pc) + 1] =
                static_cast<uint32_t>(StrToIntDef(Compiler.ProcAddresses[found + 1], 0));
    }
}

void THost::CompileSource()
{
    ResetCompileState();
    const int hostLine = FindHostSection();
    if (hostLine < 0) {
        Errors.Add("Section [HOST] not found.");
        return;
    }
    CollectProcedureNames(hostLine);
    if (!Errors.Empty())
        return;
    THostParser parser(*this);
    if (!parser.Parse(hostLine))
        return;
    Assemble();
    if (!Errors.Empty() || !UsesDevice)
        return;
    CompileDeviceScript();
    if (Errors.Empty())
        LinkDeviceRuns();
}

// ---- top level ----

void THostParser::ParseDefine()
{
    const std::string name = NextToken();
    const std::string value = name.empty() ? std::string() : NextToken();
    if (name.empty() || value.empty())
        Fail("Parameter missing in DEFINE.");
    if (IsHostReservedWord(name))
        Fail("Reserved word \"" + name + "\" can not be redefined.");
    if (definitionTexts_.count(name) || definitionTexts_.count(value))
        Fail("Redefenition of expression.");
    host_.Definitions.Add(name);
    host_.Definitions.Add(value);
    definitionTexts_.insert(name);
    definitionTexts_.insert(value);
    definitionValue_.emplace(name, value);

    // A parameter list entry of the same name would be hidden by the
    // definition: it is not taken in, so its value is never written back.
    if (const int v = host_.VarNames.IndexOf(name); v >= 0 && v < host_.GlobalVarCount) {
        host_.VarNames.Delete(v);
        --host_.GlobalVarCount;
    }
    if (const int a = host_.Arrays.IndexOf(name); a >= 0 && a < host_.ExternalArrayCount) {
        host_.Arrays.Delete(a);
        --host_.ExternalArrayCount;
    }
}

void THostParser::ParseDim()
{
    const std::string t = Next();
    const size_t open = t.find('[');
    if (open == std::string::npos)
        Fail("Array size symbol \"[\" was lost.");
    const std::string name = t.substr(0, open);
    // A script may declare an array of the parameter list by its size: that
    // declares the list's array, filled from the list, not a second one.
    const int existing = host_.Arrays.IndexOf(name);
    const bool external =
        existing >= 0 && existing < host_.ExternalArrayCount && declaredExternals_.insert(name).second;
    if (existing >= 0 && !external)
        Fail("Duplicate array \"" + name + "\".");
    if (t.back() != ']' || t.size() < open + 2)
        Fail("Array size symbol \"]\" was lost.");
    const std::string sizeText = t.substr(open + 1, t.size() - open - 2);
    if (!sizeText.empty()) {
        DimensionBySize(name, external ? existing : -1, sizeText);
    } else {
        // Initial values would compete with the list's values.
        if (external)
            Fail("Duplicate array \"" + name + "\".");
        DimensionByValues(name);
    }
    ExpectSemicolon();
}

void THostParser::DimensionBySize(const std::string& name, int external, const std::string& sizeText)
{
    const int32_t base = host_.ArrayCursor;
    const TOperand size = Classify(sizeText);
    if (size.Kind != TOperandKind::Constant)
        Fail("\"" + sizeText + "\" can not be used there.");
    if (external >= 0 && size.Value <= static_cast<uint32_t>(host_.Arrays[external].Size))
        return;
    if (static_cast<uint64_t>(base) + size.Value > THost::ArrayWords)
        Fail("Array size too big.");
    if (external >= 0) {
        // Larger than the list's bytes: the array moves to room of its
        // declared size, taking the list's bytes along.
        const auto& from = host_.Arrays[external];
        std::copy_n(host_.ArrayStore.begin() + from.Number, from.Size, host_.ArrayStore.begin() + base);
        host_.Arrays.Set(external, base, static_cast<int32_t>(size.Value));
    } else {
        host_.Arrays.Add(name, base, static_cast<int32_t>(size.Value));
    }
    host_.ArrayCursor = base + static_cast<int32_t>(size.Value);
}

void THostParser::DimensionByValues(const std::string& name)
{
    Expect("=", "Equal sign is expected, but expression \"", "\" found.");
    Expect("{", "Brace is expected, but expression \"", "\" found.");
    const int32_t base = host_.ArrayCursor;
    int32_t cursor = base;
    std::string t = Next();
    if (t != "}") {
        for (;;) {
            std::optional<int32_t> v;
            if (t.size() > 2 && t[0] == '0' && t[1] == 'X')
                v = TryStrToInt("$" + t.substr(2));
            else if (t.find_first_not_of("0123456789") == std::string::npos)
                v = TryStrToInt(t);
            if (!v)
                Fail("Unknown expression \"" + t + "\".");
            if (cursor >= THost::ArrayWords)
                Fail("Array size too big.");
            host_.ArrayStore[static_cast<size_t>(cursor++)] = static_cast<uint32_t>(*v);
            t = Next();
            if (t == "}")
                break;
            if (t != ",")
                Fail("Brace or comma is expected, but expression \"" + t + "\" found.");
            t = Next();
        }
    }
    host_.Arrays.Add(name, base, cursor - base);
    host_.ArrayCursor = cursor;
}

void THostParser::ParseProc()
{
    const std::string name = NextToken();
    if (name.empty() || IsHostDelimiter(name[0]))
        Fail("Procedure name missing.");
    if (IsHostReservedWord(name))
        Fail("Reserved word \"" + name + "\" cannot be by name of procedure");
    if (host_.VarNames.IndexOf(name) >= 0)
        Fail("The expression \"" + name + "\" already use as variable name.");
    EmitLabel("proc" + name);
    procName_ = name;
    bitLabel_ = 0;
    std::string t = Next();
    if (t == "(") {
        ParseParameters();
        t = Next();
        if (t != "{")
            FailRaw(LinePrefix("String") + "Bracke is expected, but expression \"" + t + "\" was found.");
    } else if (t != "{") {
        Fail("Brace is expected, but expression \"" + t + "\" was found.");
    }
    host_.BlockStack.Add("SUB");
    ParseBody();
}

// Checks shared by VAR and procedure parameters.
void THostParser::CheckNewVariableName(const std::string& name, const char* duplicateMessage)
{
    if (IsHostReservedWord(name))
        Fail("Cannot use \"" + name + "as name of variable");
    if (IsHostDelimiter(name[0]))
        Fail("Error using reserved symbol \"" + name + "\".");
    if (host_.VarNames.IndexOf(name) >= 0)
        Fail(duplicateMessage + name + "\".");
    if (IsDefinitionName(name))
        Fail("\"" + name + "\" already used in DEFINE");
}

void THostParser::ParseParameters()
{
    std::string t = Next();
    if (t == ")")
        return;
    for (int i = 0;; ++i) {
        CheckNewVariableName(t, "Duplicate variable \"");
        if (Classify(t).Kind != TOperandKind::None)
            Fail("Duplicate variable \"" + t + "\".");
        if (i >= THost::MaxArguments)
            Fail("Too many parameters: at most " + IntToStr(THost::MaxArguments) + " are possible.");
        const int number = NewVariable();
        host_.VarNames.Add(t, number);
        host_.AsmText.Add(";     R" + IntToStr(number) + " = " + t);
        Emit("MOVA", static_cast<uint32_t>(THost::ArgumentBase + i));
        Emit("MOVR", static_cast<uint32_t>(number));
        t = Next();
        if (t == ")")
            return;
        if (t != ",")
            FailRaw(LinePrefix("String") + "Round bracket or comma are expected, but expression \"" + t +
                    "\" was found.");
        t = Next();
    }
}
