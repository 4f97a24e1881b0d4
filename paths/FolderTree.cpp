#include "paths/FolderTree.h"

#include "base/PathText.h"

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

// Dotted tree lines and boxed plus/minus buttons whatever the desktop style draws (Fusion draws
// neither lines nor boxes), so the folder structure reads at a glance.
class BranchLineStyle final : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_IndicatorBranch) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRect r = option->rect;
        const int cx = r.left() + r.width() / 2;
        const int cy = r.top() + r.height() / 2;
        const bool button = option->state & State_Children;
        const int half = 4; // the button is 9 by 9 pixels
        const int gapTop = button ? cy - half : cy;
        const int gapBottom = button ? cy + half : cy;
        const int gapRight = button ? cx + half : cx;
        const QBrush dots(option->palette.color(QPalette::Dark), Qt::Dense4Pattern);

        // Line up to this row's item (from the parent or the sibling above).
        if (option->state & (State_Item | State_Sibling | State_Children | State_Open))
            painter->fillRect(cx, r.top(), 1, gapTop - r.top(), dots);
        // Line across to the item.
        if (option->state & State_Item)
            painter->fillRect(gapRight + 1, cy, r.right() - gapRight, 1, dots);
        // Line on down to the next sibling.
        if (option->state & State_Sibling)
            painter->fillRect(cx, gapBottom + 1, 1, r.bottom() - gapBottom, dots);

        if (button) {
            painter->save();
            const QRect box(cx - half, cy - half, 2 * half + 1, 2 * half + 1);
            painter->fillRect(box, option->palette.color(QPalette::Base));
            painter->setPen(option->palette.color(QPalette::Dark));
            painter->drawRect(box.adjusted(0, 0, -1, -1));
            painter->setPen(option->palette.color(QPalette::Text));
            painter->drawLine(cx - 2, cy, cx + 2, cy);
            if (!(option->state & State_Open))
                painter->drawLine(cx, cy - 2, cx, cy + 2);
            painter->restore();
        }
    }
};

// Alphabetical, as people read folder lists: letter case only breaks ties, so the order is stable.
bool ByName(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

basTreeViewManager::basTreeViewManager(QTreeWidget& tvwControl, HiddenFileList& filFile,
                                       HiddenList& lstControl, const FolderSource& source,
                                       const SharedState& state)
    : tree_(tvwControl), filFile_(filFile), lstControl_(lstControl), source_(source), state_(state),
      sep_(source.separator()), caseSensitive_(state.gCaseSensitive) {
    tree_.setColumnCount(1);
    tree_.setHeaderHidden(true);
    tree_.setSelectionMode(QAbstractItemView::SingleSelection);
    tree_.setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_.setRootIsDecorated(true);
    tree_.setItemsExpandable(true);
    tree_.setUniformRowHeights(true); // folders with thousands of subfolders stay quick
    tree_.setSortingEnabled(false);   // children are added in order
    auto* style = new BranchLineStyle;
    style->setParent(&tree_);
    tree_.setStyle(style);
}

QString basTreeViewManager::DriveText(const QString& root) const {
    // A POSIX root is its own text; a Windows root is its drive letter and colon.
    if (root == QString(sep_))
        return root;
    return root.left(2);
}

void basTreeViewManager::IndexCheck() const {
    if (tree_.topLevelItemCount() == 0)
        index_.clear(); // the tree was emptied behind our back
}

QTreeWidgetItem* basTreeViewManager::FindNode(const QString& key) const {
    IndexCheck();
    return index_.value(key, nullptr);
}

QString basTreeViewManager::NodeKey(const QTreeWidgetItem* node) {
    return node ? node->data(0, KeyRole).toString() : QString();
}

QString basTreeViewManager::FullPath(const QTreeWidgetItem* node) const {
    if (!node)
        return {};
    if (!node->parent())
        return node->text(0);
    return AppendSeparator(FullPath(node->parent()), sep_) + node->text(0);
}

QString basTreeViewManager::GetCurrentPath() const {
    if (tree_.topLevelItemCount() == 0)
        return {};
    const QList<QTreeWidgetItem*> selected = tree_.selectedItems();
    if (selected.isEmpty())
        return DriveText(source_.systemDrive());
    const QTreeWidgetItem* node = selected.first();
    if (node->data(0, DriveRole).toBool())
        return node->text(0);
    return RemoveSeparator(FullPath(node), sep_);
}

bool basTreeViewManager::IsDriveRoot(const QString& displayPath) const {
    if (displayPath.size() == 2 && displayPath.at(1) == u':')
        return true;
    return displayPath == QString(sep_);
}

void basTreeViewManager::SetTreeBackColor(std::uint32_t colour) {
    const QColor background(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    QPalette palette = tree_.palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Window, background);
    tree_.setPalette(palette);
    tree_.viewport()->update();
}

void basTreeViewManager::LoadSubfolders(const QString& parentKey) {
    QTreeWidgetItem* parent = FindNode(parentKey);
    // Each folder is read once per tree: a second load adds nothing (a rebuild shows later changes).
    if (!parent || parent->data(0, LoadedRole).toBool())
        return;
    parent->setData(0, LoadedRole, true);

    std::optional<QStringList> names = source_.subfolders(AppendSeparator(FullPath(parent), sep_));
    if (!names || names->isEmpty())
        return;
    std::sort(names->begin(), names->end(), ByName);

    const QString base = CaseRule(AppendSeparator(parentKey, sep_));
    QList<QTreeWidgetItem*> added;
    added.reserve(names->size());
    for (const QString& name : *names) {
        const QString key = CaseRule(AppendSeparator(base + name, sep_));
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

void basTreeViewManager::ExpandNode(QTreeWidgetItem* node) {
    if (!node || node->childCount() == 0)
        return;
    BusyScope busy(busy_);
    EnsureVisible(node);
    for (int i = 0; i < node->childCount(); ++i)
        LoadSubfolders(NodeKey(node->child(i)));
}

void basTreeViewManager::LoadDrives() {
    if (tree_.topLevelItemCount() == 0) {
        index_.clear();
        caseSensitive_ = state_.gCaseSensitive;
    }
    BusyScope busy(busy_);
    const QString systemKey = CaseRule(source_.systemDrive());
    for (const QString& root : source_.drives()) {
        const QString text = CaseRule(DriveText(root));
        const QString key = CaseRule(AppendSeparator(text, sep_));
        if (text.isEmpty() || index_.contains(key))
            continue;
        auto* node = new QTreeWidgetItem(QStringList{text});
        node->setData(0, KeyRole, key);
        node->setData(0, DriveRole, true);
        index_.insert(key, node);
        tree_.addTopLevelItem(node);
        if (key == systemKey)
            Select(node);
        LoadSubfolders(key);
    }
}

void basTreeViewManager::EnsureVisible(QTreeWidgetItem* node) {
    for (QTreeWidgetItem* p = node->parent(); p; p = p->parent())
        if (!p->isExpanded())
            p->setExpanded(true);
    // scrollToItem() would bypass the tree's own scrollTo(), which also scrolls sideways to the name.
    tree_.scrollTo(tree_.indexFromItem(node));
}

void basTreeViewManager::Select(QTreeWidgetItem* node) {
    tree_.setCurrentItem(node);
    node->setSelected(true);
}

void basTreeViewManager::ActivateNode(QTreeWidgetItem* node) {
    BusyScope busy(busy_);
    if (node) {
        // A mouse press makes the node current before the view selects it; the selection names the
        // current path, so it must follow now.
        tree_.setCurrentItem(node, 0, QItemSelectionModel::ClearAndSelect);
        const QString folder = AppendSeparator(FullPath(node), sep_);
        EnsureVisible(node);
        if (source_.canList(folder)) {
            filFile_.path = folder;
            lstControl_.visible = false;
            return;
        }
    }
    filFile_.visible = false;
    lstControl_.geometry = filFile_.geometry;
}

void basTreeViewManager::ClearTree() {
    BusyScope busy(busy_);
    index_.clear();
    tree_.clear();
}

bool basTreeViewManager::InitializeTree(const std::optional<QString>& path) {
    BusyScope busy(busy_);
    filFile_.visible = false;
    lstControl_.geometry = filFile_.geometry;
    QString target = AppendSeparator(GetCurrentPath(), sep_);
    ClearTree();
    if (path)
        target = AppendSeparator(*path, sep_);
    LoadDrives();
    return WalkPath(target);
}

bool basTreeViewManager::SelectPath(const QString& path) {
    BusyScope busy(busy_);
    IndexCheck();
    if (tree_.topLevelItemCount() == 0)
        InitializeTree(path);
    return WalkPath(path);
}

bool basTreeViewManager::WalkPath(const QString& path) {
    // Every prefix ending with a separator names one node, from the drive down: C:\, C:\WINDOWS\, ...
    // Opening each node reads the level below before it is looked up.
    const QString p = AppendSeparator(CaseRule(path), sep_);
    QTreeWidgetItem* last = nullptr;
    for (qsizetype i = 0; i < p.size(); ++i) {
        if (p.at(i) != sep_)
            continue;
        QTreeWidgetItem* node = FindNode(p.left(i + 1));
        if (!node) {
            ActivateNode(last);
            return false;
        }
        Select(node);
        last = node;
        ExpandNode(node);
    }
    ActivateNode(last);
    return true;
}

} // namespace vesmarin
