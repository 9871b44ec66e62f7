#pragma once

#include <string>
#include <vector>

class FileList;

// The texts of the selected items of `list`, in list order, top to bottom.
// Empty for a list without multiple selection; throws platform::Error 9
// "Subscript out of range" when nothing is selected.
std::vector<std::string> GetSelectedItems(const FileList& list);
