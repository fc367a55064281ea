#include "app/ChipSelTree.h"

#include "platform/Cp1251.h"

#include <algorithm>

namespace {

std::string childKey(int parent, const std::string& text) { return std::to_string(parent) + '\\' + text; }

} // namespace

std::vector<std::string> ChipPathLevels(const std::string& path)
{
    std::vector<std::string> levels;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        // Blanks are TAB and space, as the module reader takes them.
        size_t a = start, b = end;
        while (a < b && (path[a] == ' ' || path[a] == '\t'))
            ++a;
        while (b > a && (path[b - 1] == ' ' || path[b - 1] == '\t'))
            --b;
        if (b > a)
            levels.push_back(path.substr(a, b - a));
        start = end + 1;
    }
    return levels;
}

void TChipTree::Clear()
{
    nodes_.assign(1, TNode{});
    index_.clear();
}

int TChipTree::AddChipNode(const std::string& level, int parent)
{
    const auto [it, added] = index_.try_emplace(childKey(parent, level), static_cast<int>(nodes_.size()));
    if (!added)
        return it->second;
    nodes_.push_back(TNode{level, parent, {}});
    nodes_[static_cast<size_t>(parent)].Children.push_back(it->second);
    return it->second;
}

int TChipTree::AddPath(const std::string& path, std::string& entry)
{
    entry.clear();
    int node = -1;
    for (const std::string& level : ChipPathLevels(path)) {
        node = AddChipNode(level, node < 0 ? Root : node);
        entry += (entry.empty() ? "" : "\\") + level;
    }
    return node;
}

std::string TChipTree::Path(int i) const
{
    std::vector<const std::string*> texts;
    for (int n = i; n > Root; n = Node(n).Parent)
        texts.push_back(&Node(n).Text);
    std::string path;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it)
        path += (path.empty() ? "" : "\\") + **it;
    return path;
}

void TChipTree::Sort()
{
    for (TNode& node : nodes_) {
        std::stable_sort(node.Children.begin(), node.Children.end(), [this](int a, int b) {
            return AnsiCompareText(nodes_[static_cast<size_t>(a)].Text, nodes_[static_cast<size_t>(b)].Text) < 0;
        });
    }
}

std::vector<int> TChipTree::TreeOrder() const
{
    std::vector<int> order;
    order.reserve(nodes_.size());
    std::vector<int> stack(Node(Root).Children.rbegin(), Node(Root).Children.rend());
    while (!stack.empty()) {
        const int n = stack.back();
        stack.pop_back();
        order.push_back(n);
        const auto& children = Node(n).Children;
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return order;
}

int TChipTree::FindEntry(const std::string& entry) const
{
    const std::vector<std::string> levels = ChipPathLevels(entry);
    if (levels.empty())
        return -1;
    std::string wanted;
    for (const std::string& level : levels)
        wanted += (wanted.empty() ? "" : "\\") + level;
    int byLastLevel = -1;
    for (int n : TreeOrder()) {
        if (!AnsiSameText(Node(n).Text, levels.back()))
            continue;
        if (AnsiSameText(Path(n), wanted))
            return n;
        if (byLastLevel < 0)
            byLastLevel = n;
    }
    return byLastLevel;
}
