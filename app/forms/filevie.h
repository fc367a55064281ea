#pragma once
// TFileView: the tree of one root folder's sub-folders and filtered files,
// filled lazily as folders are opened. A folder not yet opened holds one
// placeholder child (its first entry) so that it shows an expand button.
// Paths are code page 1251, relative paths separated by "\".
#include "skin/forms/sTreeView.h"

#include <string>

class TFileView : public TsTreeView {
    Q_OBJECT
public:
    explicit TFileView(QWidget* parent = nullptr);

    const std::string& CurrentFolderName() const { return currentFolderName_; }
    // Opens the folders along the path and selects the node reached; a
    // part that is not found stops the walk with nothing selected.
    void SetCurrentFolderName(const std::string& path);
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    const std::string& RootDir() const { return rootDir_; }
    // Lists the folder anew; a folder that does not exist changes nothing.
    void SetRootDir(const std::string& folder);
    // The selected file's full path; empty without a selection or when a
    // folder with children is selected.
    std::string CurrentFileName() const;
    bool ShowExtension() const { return showExtension_; }
    // Affects listings made after the change.
    void SetShowExtension(bool show) { showExtension_ = show; }
    bool ShowRootDir() const { return showRootDir_; }
    void SetShowRootDir(bool show) { showRootDir_ = show; }

    // The current folder from the selection (a dump file's parent).
    void UpdateCurrentFolder();
    // Lists the folder at the path again and opens it.
    void RefreshFolder(const std::string& path);
    // Replaces the node's children by the folder's listing.
    void FillFolder(const std::string& folder, QTreeWidgetItem* node);

    // The path of a node: the texts from the top level down, "\"-joined.
    static std::string NodePath(const QTreeWidgetItem* node);

private:
    void Expanding(QTreeWidgetItem* node);
    // Lists a folder under the parent node (the top level for nullptr).
    void ListInto(const std::string& folder, QTreeWidgetItem* parent, bool calImages);
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const std::string& text);
    QTreeWidgetItem* FindTopLevel(const std::string& text) const;
    static QTreeWidgetItem* FindChild(const QTreeWidgetItem* node, const std::string& text);
    // Removes a node that was left empty once its expansion has finished:
    // the view still works on it while its expansion is reported.
    void RemoveEmptyLater(QTreeWidgetItem* node);
    bool Contains(const QTreeWidgetItem* node) const;
    void UpdateIcon(QTreeWidgetItem* node);

    std::string currentFolderName_;
    std::string filter_ = "*.bin|*.cal";
    std::string rootDir_;
    bool showExtension_ = true;
    bool showRootDir_ = true;
};
