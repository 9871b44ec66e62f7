#include "FileList.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path toPath(const QString& folder) {
#ifdef Q_OS_WIN
    return fs::path(folder.toStdWString());
#else
    return fs::path(QFile::encodeName(folder).toStdString());
#endif
}

struct Entry {
    QString shown;
    std::string onDisk;
};

Entry entryOf(const fs::path& path) {
#ifdef Q_OS_WIN
    const QString name = QString::fromStdWString(path.filename().wstring());
    return {name, name.toStdString()};
#else
    const std::string bytes = path.filename().string();
    return {QFile::decodeName(bytes.c_str()), bytes};
#endif
}

bool caseInsensitiveLess(const Entry& a, const Entry& b) {
    const int order = a.shown.compare(b.shown, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a.onDisk < b.onDisk;
}

}  // namespace

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
    const QRegularExpression matches(QRegularExpression::wildcardToRegularExpression(m_pattern),
                                     QRegularExpression::CaseInsensitiveOption);
    std::vector<Entry> entries;
    std::error_code error;
    const fs::path folder = toPath(m_path);
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        // Follows links; pipes, sockets, devices and broken links are no files here.
        std::error_code unreadable;
        if (!it->is_regular_file(unreadable)) continue;
        Entry entry = entryOf(it->path());
        if (matches.match(entry.shown).hasMatch()) entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), caseInsensitiveLess);
    QStringList shown;
    shown.reserve(qsizetype(entries.size()));
    m_fileNames.clear();
    m_fileNames.reserve(entries.size());
    for (Entry& entry : entries) {
        shown << entry.shown;
        m_fileNames.push_back(std::move(entry.onDisk));
    }
    m_model.setStringList(shown);
}
