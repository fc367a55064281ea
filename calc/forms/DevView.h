#pragma once
// TDeviceView: a panel showing the tree of a hierarchical INI file of the
// calculator index's form (section "Root" for the top level, one section per
// folder named by its path, an entry value of one backslash for a folder).
// Folders are read when they are expanded; each unread folder carries one
// placeholder child so that it shows as expandable.
#include <QIcon>
#include <QWidget>

#include <string>

class QTreeWidgetItem;
class TsTreeView;

class TDeviceView : public QWidget {
public:
    explicit TDeviceView(QWidget* parent = nullptr);

    TsTreeView* Tree; // the inner tree view, filling the panel

    const std::string& FileName() const { return fileName_; }
    // Reloads the tree from an existing file; a missing file changes nothing.
    void SetFileName(const std::string& fileName);
    // Tree path of the selected calculator, parts joined by backslashes;
    // empty when a folder or nothing is selected.
    std::string CurrentItem() const;
    // Expands the folders of the path and selects its calculator. A path of
    // one part only expands that node.
    void SetCurrentItem(const std::string& path);
    // Replaces the node's children (or the top level, without a node) by
    // the entries of the section.
    void LoadLevel(QTreeWidgetItem* node, const std::string& section);
    // Icons of a closed folder, an open folder and a calculator.
    void SetImages(const QIcon& closed, const QIcon& open, const QIcon& calculator);

    static bool IsFolder(const QTreeWidgetItem* node);

private:
    void NodeExpanded(QTreeWidgetItem* node);
    void UpdateImage(QTreeWidgetItem* node);

    std::string fileName_;
    QIcon images_[3];
};
