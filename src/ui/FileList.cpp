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

QString fileName(const fs::path& path) {
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.filename().wstring());
#else
    return QFile::decodeName(path.filename().c_str());
#endif
}

bool caseInsensitiveLess(const QString& a, const QString& b) {
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
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
    QStringList names;
    std::error_code error;
    const fs::path folder = toPath(m_path);
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        // Follows links; pipes, sockets, devices and broken links are no files here.
        std::error_code unreadable;
        if (!it->is_regular_file(unreadable)) continue;
        const QString name = fileName(it->path());
        if (matches.match(name).hasMatch()) names << name;
    }
    std::sort(names.begin(), names.end(), caseInsensitiveLess);
    m_model.setStringList(names);
}
