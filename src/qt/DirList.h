#pragma once

// The folder list on Qt: the open folder's ancestors from the root down to
// it, then its subfolders, as the browsing model gives them. A click only
// highlights a folder; a double click or Enter asks to open it.

#include <QTreeWidget>
#include <vector>

#include "forms/FolderBrowser.h"

class DirList : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirList(QWidget* parent = nullptr);

    // Shows `items`, with the folder of `openRow` highlighted.
    void showFolders(const std::vector<folderBrowser::FolderItem>& items, int openRow);

signals:
    void openRequested(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The tree always shows every folder it holds: no expanders to draw.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void requestOpen(QTreeWidgetItem* item);
};
