#include "forms/FormTools.h"

std::vector<std::string> GetSelectedItems(const SelectionList& list) {
    const int count = list.selectedCount();
    if (count <= 0) return {};
    std::vector<std::string> texts;
    texts.reserve(std::size_t(count));
    for (int position : list.selectedPositions(count)) texts.push_back(list.itemText(position));
    return texts;
}
