#include "qt/DirList.h"

#include <QIcon>
#include <QKeyEvent>

namespace {

constexpr int RowRole = Qt::UserRole;

}  // namespace

DirList::DirList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(12);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { requestOpen(item); });
}

void DirList::showFolders(const std::vector<folderBrowser::FolderItem>& items, int openRow) {
    clear();
    static const QIcon folderIcon = [] {
        QIcon icon(":/icons/folder-16.png");
        icon.addFile(":/icons/folder-32.png");
        return icon;
    }();
    std::vector<QTreeWidgetItem*> parents;  // the last item shown at each depth
    for (std::size_t row = 0; row < items.size(); ++row) {
        const folderBrowser::FolderItem& folder = items[row];
        parents.resize(std::size_t(folder.depth));
        auto* item =
            parents.empty() ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parents.back());
        item->setText(0, QString::fromStdString(folder.name));
        item->setData(0, RowRole, int(row));
        item->setIcon(0, folderIcon);
        parents.push_back(item);
        if (int(row) == openRow) setCurrentItem(item);
    }
    expandAll();
}

void DirList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        requestOpen(currentItem());
        event->accept();  // Enter here opens a folder and nothing else
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void DirList::requestOpen(QTreeWidgetItem* item) {
    if (item) emit openRequested(item->data(0, RowRole).toInt());
}
