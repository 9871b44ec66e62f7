#pragma once

// The file list on Qt: the names the browsing model lists, with extended
// multiple selection.

#include <QAbstractListModel>
#include <QListView>
#include <string>
#include <vector>

#include "forms/FormTools.h"

// The names of a file list, kept as the file system holds them and turned
// into text only for the rows a view shows: large folders stay fast.
class FileNameModel : public QAbstractListModel {
public:
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void setFileNames(std::vector<std::string> names);
    const std::string& fileName(int row) const { return m_names[std::size_t(row)]; }

private:
    std::vector<std::string> m_names;
};

class FileList : public QListView, public SelectionList {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    void showFiles(std::vector<std::string> names);

    int selectedCount() const override;
    std::vector<int> selectedPositions(int count) const override;
    // The name as the file system holds it, for opening the file.
    std::string itemText(int position) const override { return m_model.fileName(position); }

private:
    FileNameModel m_model;
};
