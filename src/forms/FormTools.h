#pragma once

#include <string>
#include <vector>

// What the selection reader needs of a multi-selection list.
class SelectionList {
public:
    virtual ~SelectionList() = default;
    // The number of selected items; -1 for a list without multiple selection.
    virtual int selectedCount() const = 0;
    // The positions of the selected items, from 0, in ascending order.
    virtual std::vector<int> selectedPositions(int count) const = 0;
    virtual std::string itemText(int position) const = 0;
};

// The texts of the selected items of `list`, in list order, top to bottom;
// empty when nothing is selected or the list has no multiple selection.
std::vector<std::string> GetSelectedItems(const SelectionList& list);
