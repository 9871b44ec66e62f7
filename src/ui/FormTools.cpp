#include "FormTools.h"

#include <QItemSelectionModel>
#include <algorithm>

#include "Error.h"
#include "FileList.h"

namespace {

// The selected rows in ascending order. Walks the selection's ranges: asking
// row by row is far too slow on folders of many thousand files.
std::vector<int> selectedPositions(const FileList& list) {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : list.selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

}  // namespace

std::vector<std::string> GetSelectedItems(const FileList& list) {
    const bool multiple = list.selectionMode() == QAbstractItemView::ExtendedSelection ||
                          list.selectionMode() == QAbstractItemView::MultiSelection;
    if (!multiple) return {};
    const std::vector<int> positions = selectedPositions(list);
    if (positions.empty()) throw platform::errors::make(platform::errors::SubscriptOutOfRange);
    std::vector<std::string> texts;
    texts.reserve(positions.size());
    for (int row : positions) texts.push_back(list.fileName(row));
    return texts;
}
