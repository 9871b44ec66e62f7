#include "FileList.h"

#include <QDir>

FileList::FileList(QWidget* parent) : QListView(parent) {
    setModel(&m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);  // keeps large folders fast to show
}

void FileList::setPattern(const QString& pattern) {
    m_pattern = pattern;
    fill();
}

void FileList::setPath(const QString& path) {
    m_path = path;
    fill();
}

QString FileList::item(int row) const { return m_model.index(row).data().toString(); }

void FileList::fill() {
    if (m_path.isEmpty()) return;
    // QDir::Files without QDir::System leaves out pipes, sockets, devices and
    // broken links, and follows links to regular files.
    const QDir folder(QDir::fromNativeSeparators(m_path), m_pattern, QDir::Name | QDir::IgnoreCase,
                      QDir::Files);
    m_model.setStringList(folder.entryList());
}
