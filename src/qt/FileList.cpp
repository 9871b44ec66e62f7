#include "qt/FileList.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>

#include "platform/FileAccess.h"

namespace {

std::string nativeFolder(const QString& folder) {
#ifdef Q_OS_WIN
    return folder.toStdString();
#else
    return QFile::encodeName(folder).toStdString();
#endif
}

QString shownName(const std::string& onDisk) {
#ifdef Q_OS_WIN
    return QString::fromStdString(onDisk);
#else
    return QFile::decodeName(onDisk.c_str());
#endif
}

bool isAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

std::string asciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

// The name folded for sorting without regard to case, compared as bytes.
std::string sortKey(const std::string& onDisk) {
    return isAscii(onDisk) ? asciiLower(onDisk) : shownName(onDisk).toCaseFolded().toStdString();
}

// Matches names against a pattern such as "*.hst", without regard to case.
// The common "*.ext" with a plain ASCII extension is a byte comparison.
class NameMatcher {
public:
    explicit NameMatcher(const QString& pattern)
        : m_suffix(asciiLower(pattern.mid(1).toStdString())),
          m_suffixOnly(pattern.startsWith('*') && isAscii(m_suffix) &&
                       m_suffix.find_first_of("*?[") == std::string::npos),
          m_expression(QRegularExpression::wildcardToRegularExpression(pattern),
                       QRegularExpression::CaseInsensitiveOption) {}

    bool matches(const std::string& onDisk) const {
        if (!m_suffixOnly) return m_expression.match(shownName(onDisk)).hasMatch();
        return onDisk.size() >= m_suffix.size() &&
               asciiLower(onDisk.substr(onDisk.size() - m_suffix.size())) == m_suffix;
    }

private:
    std::string m_suffix;
    bool m_suffixOnly;
    QRegularExpression m_expression;
};

}  // namespace

int FileNameModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FileNameModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) return {};
    return shownName(m_names[std::size_t(index.row())]);
}

void FileNameModel::setFileNames(std::vector<std::string> names) {
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

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

QString FileList::item(int row) const { return shownName(m_model.fileName(row)); }

void FileList::fill() {
    if (m_path.isEmpty()) return;
    const NameMatcher matcher(m_pattern);
    std::vector<std::string> names, keys, found;
    try {
        found = platform::nativeFileAccess().openFolder(nativeFolder(m_path))->list().files;
    } catch (const platform::Error&) {
    }
    for (std::string& name : found) {
        if (!matcher.matches(name)) continue;
        keys.push_back(sortKey(name));
        names.push_back(std::move(name));
    }
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return keys[a] != keys[b] ? keys[a] < keys[b] : names[a] < names[b];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (std::size_t row : order) sorted.push_back(std::move(names[row]));
    m_model.setFileNames(std::move(sorted));
}

int FileList::selectedCount() const {
    const bool multiple = selectionMode() == QAbstractItemView::ExtendedSelection ||
                          selectionMode() == QAbstractItemView::MultiSelection;
    return multiple ? int(selectedPositions(0).size()) : -1;
}

// Walks the selection's ranges: asking row by row is far too slow on
// folders of many thousand files. Ranges may overlap.
std::vector<int> FileList::selectedPositions(int count) const {
    std::vector<int> rows;
    rows.reserve(std::size_t(count));
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}
