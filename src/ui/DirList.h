#pragma once

// The folder list: the open folder's ancestors from its drive's root down to
// it, then its subfolders. A click only highlights a folder; a double click
// or Enter opens it.

#include <QTreeWidget>

class DirList : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirList(QWidget* parent = nullptr);

    // The open folder as the platform writes it: "/home/ann", "/", "c:\data", "c:\".
    QString path() const;
    // Opens `path`; throws platform::Error 76 "Path not found" when it is no
    // folder, 68 "Device unavailable" when its drive is not ready.
    void setPath(const QString& path);

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(QTreeWidgetItem* item);
    void fill();

    QString m_path;  // absolute, with "/" separators
};
