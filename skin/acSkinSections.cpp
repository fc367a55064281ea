// Skin-wide values and sections from the options text, and the extra
// sections merged over them.
#include "skin/acSkinLoader.h"

#include "platform/Cp1251.h"
#include "platform/SysUtils.h"
#include "skin/sGradient.h"

#include <charconv>
#include <unordered_map>
#include <vector>

namespace {

bool SameText(const std::string& a, const std::string& b)
{
    return AnsiUpperCase(a) == AnsiUpperCase(b);
}

// Every section's parent, resolved once for the whole options text, and
// the keys read along those chains: a section that lacks a key (reads as
// `missing`) asks its parent. A chain that comes back to a section on it,
// or is deeper than MaxParentDepth, refuses the skin; reading such a chain
// key by key for thousands of sections would hold the load for minutes.
class TParentReader {
public:
    explicit TParentReader(const TacOptionsFile& options) : options_(options)
    {
        for (const std::string& name : options.Sections())
            if (!Resolve(Node(name)))
                break;
    }

    const std::string& Error() const { return error_; }

    int Integer(const std::string& section, const std::string& key, int def) const
    {
        int v = -1;
        for (int n = Find(section); v == -1 && n >= 0; n = nodes_[size_t(n)].parent)
            v = options_.ReadInteger(nodes_[size_t(n)].name, key, -1);
        return v == -1 ? def : v;
    }
    std::string String(const std::string& section, const std::string& key, const std::string& def) const
    {
        std::string v = "?";
        for (int n = Find(section); v == "?" && n >= 0; n = nodes_[size_t(n)].parent)
            v = options_.ReadString(nodes_[size_t(n)].name, key, "?");
        return v == "?" ? def : v;
    }
    bool Boolean(const std::string& section, const std::string& key) const
    {
        return AnsiUpperCase(String(section, key, "FALSE")) == "TRUE";
    }

private:
    // A section name, or a parent name no section has (it reads no keys).
    struct TNode {
        std::string name;
        int parent = -1;
        int depth = NotResolved;
    };
    static constexpr int NotResolved = -1, OnPath = -2;

    int Find(const std::string& name) const
    {
        auto it = index_.find(AnsiUpperCase(name));
        return it == index_.end() ? -1 : it->second;
    }
    int Node(const std::string& name)
    {
        auto [it, added] = index_.try_emplace(AnsiUpperCase(name), int(nodes_.size()));
        if (added)
            nodes_.push_back({name});
        return it->second;
    }

    // Walks up from n to a resolved node or the top, then gives each node on
    // the way its depth.
    bool Resolve(int n)
    {
        std::vector<int> path;
        while (n >= 0 && nodes_[size_t(n)].depth < 0) {
            if (nodes_[size_t(n)].depth == OnPath)
                return Refuse(nodes_[size_t(path.front())].name, "names itself through its parent classes");
            nodes_[size_t(n)].depth = OnPath;
            path.push_back(n);
            const std::string self = nodes_[size_t(n)].name;
            const std::string parent = options_.ReadString(self, "PARENTCLASS", "?");
            const int next = parent.empty() || parent == "?" || SameText(parent, self) ? -1 : Node(parent);
            nodes_[size_t(n)].parent = next;
            n = next;
        }
        int depth = n >= 0 ? nodes_[size_t(n)].depth : -1;
        for (auto it = path.rbegin(); it != path.rend(); ++it)
            nodes_[size_t(*it)].depth = ++depth;
        if (depth > int(SkinReaders::MaxParentDepth))
            return Refuse(nodes_[size_t(path.front())].name,
                          "has parent classes more than " + std::to_string(SkinReaders::MaxParentDepth) + " deep");
        return true;
    }
    bool Refuse(const std::string& section, const std::string& why)
    {
        error_ = "Skin section \"" + section + "\" " + why;
        return false;
    }

    const TacOptionsFile& options_;
    std::vector<TNode> nodes_;
    std::unordered_map<std::string, int> index_; // upper-cased name: its node
    std::string error_;
};

// A real number as the class library reads one with "." as the decimal
// separator: blanks around it, an optional sign, then the digits and point
// the number conversion takes, with an optional exponent. Anything else
// ("inf", "6,5") and a value beyond a double read as 0.
double ReadVersion(const TacOptionsFile& options)
{
    const std::string text = Trim(options.ReadString("GLOBALINFO", "VERSION", ""));
    const size_t start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    // The conversion also takes "inf" and "nan"; a number starts with a
    // digit or its point.
    if (start >= text.size() || !(text[start] == '.' || (text[start] >= '0' && text[start] <= '9')))
        return 0;
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data() + start, text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size())
        return 0;
    return text[0] == '-' ? -v : v;
}

void ReadSkinData(const TacOptionsFile& o, TsSkinData& d)
{
    auto i = [&](const char* key, int def) { return o.ReadInteger("GLOBALINFO", key, def); };
    d.Version = ReadVersion(o);
    d.Author = o.ReadString("GLOBALINFO", "AUTHOR", "");
    d.Description = o.ReadString("GLOBALINFO", "DESCRIPTION", "");
    d.ExtBorderWidth = i("BORDERWIDTH", 4);
    d.ExtTitleHeight = i("TITLEHEIGHT", 30);
    d.ExtMaxHeight = i("MAXHEIGHT", 0);
    if (d.ExtMaxHeight == 0)
        d.ExtMaxHeight = d.ExtTitleHeight;
    d.ExtFormOffset = i("FORMOFFSET", 8);
    d.ExtCenterOffset = i("CENTEROFFSET", 0);
    d.ExtBorderMode = i("BORDERMODE", 0);
    d.Shadow1Color = i("SHADOW1COLOR", 0);
    d.Shadow1Offset = i("SHADOW1OFFSET", 0);
    d.Shadow1Blur = i("SHADOW1BLUR", -1);
    d.Shadow1Transparency = i("SHADOW1TRANSPARENCY", 0);
    d.IconSpace = i("BISPACE", 0);
    d.IconVAlign = i("BIVALIGN", 0);
    d.IconRight = i("BIRIGHT", 0);
    d.IconLeft = i("BILEFT", 0);
    d.BorderColor = i("BORDERCOLOR", 0);
    d.IconKeepHue = i("BIKEEPHUE", 0);
    d.CloseGlow = i("BICONCLOSEGLOW", 0);
    d.CloseGlowMargin = i("BICONCLOSEGLOWMARGIN", 0);
    d.MaxGlow = i("BICONMAXGLOW", 0);
    d.MaxGlowMargin = i("BICONMAXGLOWMARGIN", 0);
    d.MinGlow = i("BICONMINGLOW", 0);
    d.MinGlowMargin = i("BICONMINGLOWMARGIN", 0);
}

void ParseGradients(TsGeneralData& g)
{
    if (g.GradientData != " ")
        ParseGradientData(g.GradientData, g.GradientArray);
    if (g.HotGradientData != " ")
        ParseGradientData(g.HotGradientData, g.HotGradientArray);
}

TsGeneralData ReadSection(const TacOptionsFile& o, const TParentReader& p, const std::string& name)
{
    TsGeneralData g;
    g.Name = name;
    g.ParentClass = o.ReadString(name, "PARENTCLASS", "");
    auto i = [&](const char* key, int def) { return p.Integer(name, key, def); };
    g.Color = i("COLOR", clWhite);
    g.FontColor = i("FONTCOLOR", 0);
    g.TCLeft = i("TCLEFT", -1), g.TCTop = i("TCTOP", -1), g.TCRight = i("TCRIGHT", -1);
    g.TCBottom = i("TCBOTTOM", -1);
    g.HotFontColor = i("HOTFONTCOLOR", 0);
    g.HotTCLeft = i("HOTTCLEFT", -1), g.HotTCTop = i("HOTTCTOP", -1), g.HotTCRight = i("HOTTCRIGHT", -1);
    g.HotTCBottom = i("HOTTCBOTTOM", -1);
    g.GiveOwnFont = p.Boolean(name, "GIVEOWNFONT");
    g.GlowCount = i("GLOW", 0);
    g.GlowMargin = i("GLOWMARGIN", 0);
    g.ReservedBoolean = p.Boolean(name, "RESERVEDBOOLEAN");
    g.Transparency = i("TRANSPARENCY", 0);
    g.GradientPercent = i("GRADIENTPERCENT", 0);
    g.GradientData = p.String(name, "GRADIENTDATA", " ");
    g.ImagePercent = i("IMAGEPERCENT", 0);
    g.ShowFocus = p.Boolean(name, "SHOWFOCUS");
    g.FadingEnabled = p.Boolean(name, "FADINGENABLED");
    g.FadingIterations = i("FADINGITERATIONS", 5);
    g.HotColor = i("HOTCOLOR", clWhite);
    g.HotTransparency = i("HOTTRANSPARENCY", 0);
    g.HotGradientPercent = i("HOTGRADIENTPERCENT", 0);
    g.HotGradientData = p.String(name, "HOTGRADIENTDATA", "");
    g.HotImagePercent = i("HOTIMAGEPERCENT", 0);
    ParseGradients(g);
    return g;
}

// An extra section: its own keys, else its parent's values, else the
// defaults (glow values never come from the parent).
TsGeneralData ReadCommonSection(const TacOptionsFile& c, const std::string& name, const TsGeneralData* parent)
{
    TsGeneralData g = parent ? *parent : TsGeneralData{};
    g.Name = name;
    g.ParentClass = AnsiUpperCase(c.ReadString(name, "PARENTCLASS", "-1"));
    g.GlowCount = g.GlowMargin = 0;
    auto i = [&](const char* key, int& field) { field = c.ReadInteger(name, key, field); };
    auto s = [&](const char* key, std::string& field) { field = c.ReadString(name, key, field); };
    auto b = [&](const char* key, bool& field) {
        if (c.ValueExists(name, key))
            field = AnsiUpperCase(c.ReadString(name, key, "")) == "TRUE";
    };
    i("COLOR", g.Color), i("FONTCOLOR", g.FontColor), i("TCLEFT", g.TCLeft), i("TCTOP", g.TCTop);
    i("TCRIGHT", g.TCRight), i("TCBOTTOM", g.TCBottom), i("HOTFONTCOLOR", g.HotFontColor);
    i("HOTTCLEFT", g.HotTCLeft), i("HOTTCTOP", g.HotTCTop), i("HOTTCRIGHT", g.HotTCRight);
    i("HOTTCBOTTOM", g.HotTCBottom), b("GIVEOWNFONT", g.GiveOwnFont), i("GLOW", g.GlowCount);
    i("GLOWMARGIN", g.GlowMargin), b("RESERVEDBOOLEAN", g.ReservedBoolean), i("TRANSPARENCY", g.Transparency);
    i("GRADIENTPERCENT", g.GradientPercent), s("GRADIENTDATA", g.GradientData), i("IMAGEPERCENT", g.ImagePercent);
    b("SHOWFOCUS", g.ShowFocus), b("FADINGENABLED", g.FadingEnabled), i("FADINGITERATIONS", g.FadingIterations);
    i("HOTCOLOR", g.HotColor), i("HOTTRANSPARENCY", g.HotTransparency);
    i("HOTGRADIENTPERCENT", g.HotGradientPercent), s("HOTGRADIENTDATA", g.HotGradientData);
    i("HOTIMAGEPERCENT", g.HotImagePercent);
    g.GradientArray.clear();
    g.HotGradientArray.clear();
    ParseGradients(g);
    return g;
}

} // namespace

namespace SkinReaders {

void MergeCommonSections(const TacOptionsFile& common, TacSkinContent& skin)
{
    for (const std::string& name : common.Sections()) {
        if (skin.GetSkinIndex(name) >= 0)
            continue;
        std::string parentName = AnsiUpperCase(common.ReadString(name, "PARENTCLASS", "-1"));
        const TsGeneralData* parent = nullptr;
        for (const TsGeneralData& g : skin.gd)
            if (AnsiUpperCase(g.Name) == parentName) {
                parent = &g;
                break;
            }
        TsGeneralData g = ReadCommonSection(common, name, parent);
        skin.gd.push_back(std::move(g));
    }
    skin.ResolveIndexes();
}

bool LoadAllGeneralData(const TacOptionsFile& options, const TacOptionsFile& common, TacSkinContent& skin,
                        std::string& error)
{
    TParentReader reader(options);
    if (!reader.Error().empty()) {
        error = reader.Error();
        return false;
    }
    ReadSkinData(options, skin.SkinData);
    skin.gd.clear();
    for (const std::string& name : options.Sections())
        skin.gd.push_back(ReadSection(options, reader, name));
    MergeCommonSections(common, skin);
    return true;
}

} // namespace SkinReaders
