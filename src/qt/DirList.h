#pragma once

// The folder list: the open folder's ancestors from its drive's root down to
// it, then its subfolders. A click only highlights a folder; a double click
// or Enter opens it.

#include <QTreeWidget>
#include <optional>

#include "platform/Error.h"

class DirList : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirList(QWidget* parent = nullptr);

    // The open folder as the platform writes it: "/home/ann", "/", "c:\data", "c:\".
    QString path() const;
    // Opens `path`; error 76 "Path not found" when it is no folder, 68
    // "Device unavailable" when its drive is not ready.
    std::optional<platform::Error> setPath(const QString& path);

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The tree always shows every folder it holds: no expanders to draw.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void open(QTreeWidgetItem* item);
    void fill();

    QString m_path;  // absolute, with "/" separators
};
