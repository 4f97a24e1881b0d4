#include "paths/FolderTree.h"

#include "base/PathText.h"
#include "ui/Layout.h"

#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTreeWidget>
#include <algorithm>

namespace vesmarin {

namespace {

constexpr int KeyRole = Qt::UserRole;        // the node's key
constexpr int LoadedRole = Qt::UserRole + 1; // its subfolders have been read
constexpr int DriveRole = Qt::UserRole + 2;  // a drive node

// Alphabetical, as people read folder lists: letter case only breaks ties, so the order is stable.
bool ByName(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

FolderTree::FolderTree(QTreeWidget& widget, const FolderSource& source)
    : tree_(widget), source_(source), sep_(source.separator()) {
    // The tree's own changes (selecting a path, opening the nodes above it) are not the user's.
    connect(&tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) {
        if (isBusy())
            return;
        expandNode(node);
        emit currentPathChanged(currentPath());
    });
    connect(&tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        if (!node || isBusy())
            return;
        activateNode(node);
        emit currentPathChanged(currentPath());
    });
}

QString FolderTree::caseRule(const QString& text) const {
    return ApplyCaseRule(text, caseSensitive_);
}

QString FolderTree::driveText(const QString& root) const {
    // A POSIX root is its own text; a Windows root is its drive letter and colon.
    if (root == QString(sep_))
        return root;
    return root.left(2);
}

void FolderTree::checkIndex() const {
    if (tree_.topLevelItemCount() == 0)
        index_.clear(); // the tree was emptied behind our back
}

QTreeWidgetItem* FolderTree::findNode(const QString& key) const {
    checkIndex();
    return index_.value(key, nullptr);
}

QString FolderTree::nodeKey(const QTreeWidgetItem* node) {
    return node ? node->data(0, KeyRole).toString() : QString();
}

QString FolderTree::fullPath(const QTreeWidgetItem* node) const {
    if (!node)
        return {};
    if (!node->parent())
        return node->text(0);
    return AppendSeparator(fullPath(node->parent()), sep_) + node->text(0);
}

QString FolderTree::currentPath() const {
    if (tree_.topLevelItemCount() == 0)
        return {};
    const QList<QTreeWidgetItem*> selected = tree_.selectedItems();
    if (selected.isEmpty())
        return driveText(source_.systemDrive());
    const QTreeWidgetItem* node = selected.first();
    if (node->data(0, DriveRole).toBool())
        return node->text(0);
    return RemoveSeparator(fullPath(node), sep_);
}

bool FolderTree::isDriveRoot(const QString& displayPath) const {
    if (displayPath.size() == 2 && displayPath.at(1) == u':')
        return true;
    return displayPath == QString(sep_);
}

void FolderTree::setBackground(const QColor& background) {
    QPalette palette = PaletteOnBackground(tree_.palette(), background);
    palette.setColor(QPalette::Window, background);
    tree_.setPalette(palette);
    tree_.viewport()->update();
}

void FolderTree::loadSubfolders(const QString& parentKey) {
    QTreeWidgetItem* parent = findNode(parentKey);
    // Each folder is read once per tree: a second load adds nothing (a rebuild shows later changes).
    if (!parent || parent->data(0, LoadedRole).toBool())
        return;
    parent->setData(0, LoadedRole, true);

    std::optional<QStringList> names = source_.subfolders(AppendSeparator(fullPath(parent), sep_));
    if (!names || names->isEmpty())
        return;
    std::sort(names->begin(), names->end(), ByName);

    const QString base = caseRule(AppendSeparator(parentKey, sep_));
    QList<QTreeWidgetItem*> added;
    added.reserve(names->size());
    for (const QString& name : *names) {
        const QString key = caseRule(AppendSeparator(base + name, sep_));
        // With the case rule in force, Data and data share one key: the first one stays, the rest of
        // the folder still loads.
        if (index_.contains(key))
            continue;
        auto* node = new QTreeWidgetItem(QStringList{name});
        node->setData(0, KeyRole, key);
        index_.insert(key, node);
        added << node;
    }
    parent->addChildren(added);
}

void FolderTree::expandNode(QTreeWidgetItem* node) {
    if (!node || node->childCount() == 0)
        return;
    BusyScope busy(busy_);
    ensureVisible(node);
    for (int i = 0; i < node->childCount(); ++i)
        loadSubfolders(nodeKey(node->child(i)));
}

void FolderTree::loadDrives() {
    if (tree_.topLevelItemCount() == 0) {
        index_.clear();
        caseSensitive_ = caseRuleForNextBuild_;
    }
    BusyScope busy(busy_);
    const QString systemKey = caseRule(source_.systemDrive());
    for (const QString& root : source_.drives()) {
        const QString text = caseRule(driveText(root));
        const QString key = caseRule(AppendSeparator(text, sep_));
        if (text.isEmpty() || index_.contains(key))
            continue;
        auto* node = new QTreeWidgetItem(QStringList{text});
        node->setData(0, KeyRole, key);
        node->setData(0, DriveRole, true);
        index_.insert(key, node);
        tree_.addTopLevelItem(node);
        if (key == systemKey)
            select(node);
        loadSubfolders(key);
    }
}

void FolderTree::ensureVisible(QTreeWidgetItem* node) {
    for (QTreeWidgetItem* p = node->parent(); p; p = p->parent())
        if (!p->isExpanded())
            p->setExpanded(true);
    // scrollToItem() would bypass the tree's own scrollTo(), which also scrolls sideways to the name.
    tree_.scrollTo(tree_.indexFromItem(node));
}

void FolderTree::select(QTreeWidgetItem* node) {
    tree_.setCurrentItem(node);
    node->setSelected(true);
}

void FolderTree::activateNode(QTreeWidgetItem* node) {
    BusyScope busy(busy_);
    if (node) {
        // A mouse press makes the node current before the view selects it; the selection names the
        // current path, so it must follow now.
        tree_.setCurrentItem(node, 0, QItemSelectionModel::ClearAndSelect);
        ensureVisible(node);
    }
}

void FolderTree::clear() {
    BusyScope busy(busy_);
    index_.clear();
    tree_.clear();
}

bool FolderTree::rebuild(const std::optional<QString>& path) {
    BusyScope busy(busy_);
    QString target = AppendSeparator(currentPath(), sep_);
    clear();
    if (path)
        target = AppendSeparator(*path, sep_);
    loadDrives();
    return walkPath(target);
}

bool FolderTree::selectPath(const QString& path) {
    BusyScope busy(busy_);
    checkIndex();
    if (tree_.topLevelItemCount() == 0)
        rebuild(path);
    return walkPath(path);
}

bool FolderTree::walkPath(const QString& path) {
    // Every prefix ending with a separator names one node, from the drive down: C:\, C:\WINDOWS\, ...
    // Opening each node reads the level below before it is looked up.
    const QString p = AppendSeparator(caseRule(path), sep_);
    QTreeWidgetItem* last = nullptr;
    for (qsizetype i = 0; i < p.size(); ++i) {
        if (p.at(i) != sep_)
            continue;
        QTreeWidgetItem* node = findNode(p.left(i + 1));
        if (!node) {
            activateNode(last);
            return false;
        }
        select(node);
        last = node;
        expandNode(node);
    }
    activateNode(last);
    return true;
}

} // namespace vesmarin
