#include "calc/forms/DevView.h"

#include "calc/uCreateCalcIndex.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/IniFiles.h"
#include "platform/Paths.h"
#include "skin/forms/sTreeView.h"

#include <QApplication>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int FolderRole = Qt::UserRole;
const QString Placeholder = QStringLiteral("\\");

std::string NodeText(const QTreeWidgetItem* node) { return QStringToCp1251(node->text(0)); }

// The node's path from the top: its ancestors' texts and its own.
std::string NodePath(const QTreeWidgetItem* node)
{
    std::string path = NodeText(node);
    for (const QTreeWidgetItem* p = node->parent(); p; p = p->parent())
        path = NodeText(p) + "\\" + path;
    return path;
}

QTreeWidgetItem* FindChild(const QTreeWidgetItem* node, const std::string& text)
{
    for (int i = 0; i < node->childCount(); ++i)
        if (NodeText(node->child(i)) == text)
            return node->child(i);
    return nullptr;
}

} // namespace

TDeviceView::TDeviceView(QWidget* parent) : QWidget(parent)
{
    setObjectName("DeviceView");
    Tree = new TsTreeView(this);
    Tree->setObjectName("CalcTree");
    Tree->setFrameShape(QFrame::NoFrame);
    Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Tree);
    const QStyle* style = QApplication::style();
    SetImages(style->standardIcon(QStyle::SP_DirClosedIcon), style->standardIcon(QStyle::SP_DirOpenIcon),
              style->standardIcon(QStyle::SP_FileIcon));
    connect(Tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) { NodeExpanded(node); });
    connect(Tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) { UpdateImage(node); });
}

void TDeviceView::SetImages(const QIcon& closed, const QIcon& open, const QIcon& calculator)
{
    images_[0] = closed;
    images_[1] = open;
    images_[2] = calculator;
}

bool TDeviceView::IsFolder(const QTreeWidgetItem* node) { return node && node->data(0, FolderRole).toBool(); }

void TDeviceView::SetFileName(const std::string& fileName)
{
    if (!FileExists(NativePath(fileName)))
        return;
    fileName_ = fileName;
    Tree->clear();
    LoadLevel(nullptr, "Root");
}

void TDeviceView::LoadLevel(QTreeWidgetItem* node, const std::string& section)
{
    const TIniFile ini(NativePath(fileName_));
    const TStringList keys = ini.ReadSection(section);
    if (node)
        qDeleteAll(node->takeChildren());
    for (const std::string& key : keys) {
        auto* child = node ? new QTreeWidgetItem(node) : new QTreeWidgetItem(Tree);
        child->setText(0, Cp1251ToQString(key));
        const bool folder = ini.ReadString(section, key, "") == "\\";
        child->setData(0, FolderRole, folder);
        if (folder)
            new QTreeWidgetItem(child, QStringList(Placeholder));
        UpdateImage(child);
    }
}

// Every expansion reads the level again, so a refreshed index shows.
void TDeviceView::NodeExpanded(QTreeWidgetItem* node)
{
    LoadLevel(node, NodePath(node));
    UpdateImage(node);
}

void TDeviceView::UpdateImage(QTreeWidgetItem* node)
{
    node->setIcon(0, images_[!IsFolder(node) ? 2 : node->isExpanded() ? 1 : 0]);
}

std::string TDeviceView::CurrentItem() const
{
    const QTreeWidgetItem* node = Tree->currentItem();
    return !node || IsFolder(node) ? std::string() : NodePath(node);
}

void TDeviceView::SetCurrentItem(const std::string& path)
{
    std::string rest = path;
    const std::string first = SplitFirstPart(rest);
    // Among the top-level nodes only: a nested namesake must not win.
    QTreeWidgetItem* node = nullptr;
    for (int i = 0; i < Tree->topLevelItemCount() && !node; ++i)
        if (NodeText(Tree->topLevelItem(i)) == first)
            node = Tree->topLevelItem(i);
    if (!node)
        return;
    node->setExpanded(true);
    while (rest.find('\\') != std::string::npos) {
        node = FindChild(node, SplitFirstPart(rest));
        if (!node)
            return;
        node->setExpanded(true);
    }
    if (QTreeWidgetItem* last = rest.empty() ? nullptr : FindChild(node, rest))
        Tree->setCurrentItem(last);
}
