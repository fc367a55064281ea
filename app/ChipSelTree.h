#pragma once
// The chip tree: folders and chips as the chip list's entries name them.
// One object holds the nodes that the selection window shows; it is built
// in the same pass as ChipList, so that every chip node is a ChipList entry
// and every entry a node.
#include <string>
#include <unordered_map>
#include <vector>

class TChipTree {
public:
    struct TNode {
        std::string Text;
        int Parent = -1;          // 0 for a top-level node
        std::vector<int> Children;
    };

    TChipTree() { Clear(); }

    void Clear();

    // Node 0 is the invisible root; the visible nodes are its descendants.
    static constexpr int Root = 0;
    const std::vector<TNode>& Nodes() const { return nodes_; }
    const TNode& Node(int i) const { return nodes_.at(static_cast<size_t>(i)); }
    int Count() const { return static_cast<int>(nodes_.size()) - 1; }

    // A node with children is a folder; a node without is a chip.
    bool IsFolder(int i) const { return !Node(i).Children.empty(); }

    // The child of `parent` whose text equals `level` exactly; a new last
    // child when there is none.
    int AddChipNode(const std::string& level, int parent);

    // Walks a path of levels separated by "\" and makes the missing nodes.
    // Each level loses its surrounding blanks and empty levels are passed
    // over. Returns the last node (the chip), or -1 for a path without a
    // level; `entry` gets the walked path, levels joined by "\".
    int AddPath(const std::string& path, std::string& entry);

    // The node texts from the top level down to node i, joined by "\".
    std::string Path(int i) const;

    // Sorts every level alphabetically, letter case aside; equal texts keep
    // their order.
    void Sort();

    // The node an entry stands for: the first node in tree order whose whole
    // path equals the entry (letter case aside); when no node has that path,
    // the first whose text equals the entry's last level. -1 when neither.
    int FindEntry(const std::string& entry) const;

    // The nodes in tree order (depth first, parents before children).
    std::vector<int> TreeOrder() const;

private:
    std::vector<TNode> nodes_;
    // Children by parent and text, so that large lists build in linear time.
    std::unordered_map<std::string, int> index_;
};

// The levels of a chip path as the tree walks it: cut at "\", blanks around
// each level removed, empty levels passed over.
std::vector<std::string> ChipPathLevels(const std::string& path);
