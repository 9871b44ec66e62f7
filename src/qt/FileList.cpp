#include "qt/FileList.h"

#include <QItemSelectionModel>
#include <algorithm>

#include "trends/FileTools.h"

int FileNameModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FileNameModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) return {};
    // Shown names are valid UTF-8, as the messages that name them are.
    return QString::fromStdString(shownName(m_names[std::size_t(index.row())]));
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

void FileList::showFiles(std::vector<std::string> names) { m_model.setFileNames(std::move(names)); }

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
