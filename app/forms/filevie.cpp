#include "app/forms/filevie.h"

#include "app/filevie.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

namespace {

// The node's image index, kept for whoever asks (the dump windows).
constexpr int ImageRole = Qt::UserRole + 1;

} // namespace

TFileView::TFileView(QWidget* parent) : TsTreeView(parent)
{
    // The selection stays visible while another control has the focus.
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) { Expanding(node); });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) { UpdateIcon(node); });
}

void TFileView::SetRootDir(const std::string& folder)
{
    if (!DirectoryExists(NativePath(folder)))
        return;
    rootDir_ = folder;
    clear();
    ListInto(folder, nullptr, true);
}

QTreeWidgetItem* TFileView::AddNode(QTreeWidgetItem* parent, const std::string& text)
{
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, Cp1251ToQString(text));
    return node;
}

void TFileView::ListInto(const std::string& folder, QTreeWidgetItem* parent, bool calImages)
{
    const TFolderListing listing = ListFileViewFolder(folder);
    for (const std::string& name : listing.Folders) {
        QTreeWidgetItem* node = AddNode(parent, name);
        const std::string placeholder = FolderPlaceholder(folder + "\\" + name);
        if (!placeholder.empty())
            AddNode(node, placeholder);
        UpdateIcon(node);
    }
    for (const std::string& name : listing.Files) {
        std::string text;
        if (!FileViewFilterPasses(filter_, name, showExtension_, text))
            continue;
        QTreeWidgetItem* node = AddNode(parent, text);
        UpdateIcon(node);
        if (calImages && AnsiSameText(ExtractFileExt(name), ".cal"))
            node->setData(0, ImageRole, 3);
    }
}

void TFileView::UpdateIcon(QTreeWidgetItem* node)
{
    const int image = FileTreeImageIndex(node->childCount() > 0, node->isExpanded(),
                                         QStringToCp1251(node->text(0)));
    node->setData(0, ImageRole, image);
    const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_DirClosedIcon, QStyle::SP_DirOpenIcon,
                                              QStyle::SP_FileIcon, QStyle::SP_DriveHDIcon};
    QStyle::StandardPixmap pixmap = pixmaps[image];
    if (image == 0 && node->childCount() == 0)
        pixmap = QStyle::SP_FileIcon;
    node->setIcon(0, style()->standardIcon(pixmap));
}

std::string TFileView::NodePath(const QTreeWidgetItem* node)
{
    std::string path;
    for (; node; node = node->parent())
        path = path.empty() ? QStringToPath(node->text(0)) : QStringToPath(node->text(0)) + "\\" + path;
    return path;
}

void TFileView::Expanding(QTreeWidgetItem* node)
{
    currentFolderName_ = NodePath(node);
    FillFolder(rootDir_ + "\\" + currentFolderName_, node);
    if (node->childCount() == 0)
        RemoveEmptyLater(node);
    else
        UpdateIcon(node);
}

void TFileView::FillFolder(const std::string& folder, QTreeWidgetItem* node)
{
    if (!node || !DirectoryExists(NativePath(folder)))
        return;
    qDeleteAll(node->takeChildren());
    ListInto(folder, node, false);
}

bool TFileView::Contains(const QTreeWidgetItem* node) const
{
    for (QTreeWidgetItemIterator it(const_cast<TFileView*>(this)); *it; ++it)
        if (*it == node)
            return true;
    return false;
}

void TFileView::RemoveEmptyLater(QTreeWidgetItem* node)
{
    // The node may be gone by then (a new root, a refresh): only a node
    // still in the tree and still empty is removed.
    QTimer::singleShot(0, this, [this, node] {
        if (Contains(node) && node->childCount() == 0)
            delete node;
    });
}

QTreeWidgetItem* TFileView::FindTopLevel(const std::string& text) const
{
    // The first node in tree order: top-level nodes come before their
    // children, and a top-level node is first of its own subtree.
    for (QTreeWidgetItemIterator it(const_cast<TFileView*>(this)); *it; ++it)
        if (QStringToPath((*it)->text(0)) == text)
            return *it;
    return nullptr;
}

QTreeWidgetItem* TFileView::FindChild(const QTreeWidgetItem* node, const std::string& text)
{
    for (int i = 0; i < node->childCount(); ++i)
        if (QStringToPath(node->child(i)->text(0)) == text)
            return node->child(i);
    return nullptr;
}

void TFileView::SetCurrentFolderName(const std::string& value)
{
    std::string path = value;
    if (Trim(path).empty())
        return;
    QTreeWidgetItem* node = FindTopLevel(NextPathPart(path));
    if (!node)
        return;
    if (node->childCount() > 0)
        expandItem(node);
    while (!path.empty()) {
        node = FindChild(node, NextPathPart(path));
        if (!node) {
            setCurrentItem(nullptr);
            return;
        }
        if (node->childCount() > 0)
            expandItem(node);
    }
    setCurrentItem(node);
}

void TFileView::RefreshFolder(const std::string& value)
{
    std::string path = value;
    if (Trim(path).empty())
        return;
    QTreeWidgetItem* node = FindTopLevel(NextPathPart(path));
    while (node && !path.empty())
        node = FindChild(node, NextPathPart(path));
    if (!node)
        return;
    FillFolder(rootDir_ + "\\" + NodePath(node), node);
    if (node->childCount() == 0) {
        RemoveEmptyLater(node);
        return;
    }
    if (!node->isExpanded()) {
        // Filled already: the expansion must not list it a second time.
        const QSignalBlocker blocker(this);
        expandItem(node);
    }
    UpdateIcon(node);
}

std::string TFileView::CurrentFileName() const
{
    const QTreeWidgetItem* node = currentItem();
    if (!node || node->childCount() > 0)
        return {};
    return rootDir_ + "\\" + SingleBackslashes(NodePath(node));
}

void TFileView::UpdateCurrentFolder()
{
    QTreeWidgetItem* node = currentItem();
    if (!node)
        return;
    const std::string upper = AnsiUpperCase(QStringToCp1251(node->text(0)));
    if (upper.find(".HEX") != std::string::npos || upper.find(".BIN") != std::string::npos)
        node = node->parent();
    if (node)
        currentFolderName_ = NodePath(node);
}
