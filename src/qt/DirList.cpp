#include "qt/DirList.h"

#include <QDir>
#include <QIcon>
#include <QKeyEvent>

#include "platform/Error.h"

namespace {

constexpr int PathRole = Qt::UserRole;

QString displayPath(const QString& clean) {
    QString native = QDir::toNativeSeparators(clean);
#ifdef Q_OS_WIN
    if (native.size() >= 2 && native[1] == ':') native[0] = native[0].toLower();
#endif
    return native;
}

// The folders from the drive's root down to `clean`, each as a full path.
QStringList ancestry(const QString& clean) {
    QStringList chain;
    QDir dir(clean);
    chain.prepend(dir.absolutePath());
    while (dir.cdUp()) chain.prepend(dir.absolutePath());
    return chain;
}

QString folderName(const QString& path) {
    const QString name = QDir(path).dirName();
    return name.isEmpty() || QDir(path).isRoot() ? displayPath(path) : name;
}

}  // namespace

DirList::DirList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(12);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { open(item); });
    setPath(QDir::currentPath());
}

QString DirList::path() const { return displayPath(m_path); }

std::optional<platform::Error> DirList::setPath(const QString& path) {
    const QString clean = QDir::cleanPath(QDir(QDir::fromNativeSeparators(path)).absolutePath());
    if (!QFileInfo(clean).isDir()) {
        // A drive root that is not there is a drive without a medium.
        return platform::errors::make(QDir(clean).isRoot() ? platform::errors::DeviceUnavailable
                                                           : platform::errors::PathNotFound);
    }
    if (clean == m_path) return std::nullopt;
    m_path = clean;
    fill();
    emit changed();
    return std::nullopt;
}

void DirList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentItem());
        event->accept();  // Enter here opens a folder and nothing else
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void DirList::open(QTreeWidgetItem* item) {
    if (item && setPath(item->data(0, PathRole).toString())) fill();  // it went away since listed
}

void DirList::fill() {
    clear();
    static const QIcon folderIcon = [] {
        QIcon icon(":/icons/folder-16.png");
        icon.addFile(":/icons/folder-32.png");
        return icon;
    }();
    QTreeWidgetItem* parent = nullptr;
    for (const QString& folder : ancestry(m_path)) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, folderName(folder));
        item->setData(0, PathRole, folder);
        item->setIcon(0, folderIcon);
        parent = item;
    }
    const QStringList children =
        QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& child : children) {
        auto* item = new QTreeWidgetItem(parent);
        item->setText(0, child);
        item->setData(0, PathRole, QDir(m_path).filePath(child));
        item->setIcon(0, folderIcon);
    }
    expandAll();
    setCurrentItem(parent);
}
