#pragma once

// The file list: the names, without folder, of the regular files of one
// folder that match a pattern such as "*.hst" (case-insensitively), sorted
// by name without regard to case, with extended multiple selection.

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

    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    QString path() const { return m_path; }
    void setPath(const QString& path);

    int count() const { return m_model.rowCount(); }
    QString item(int row) const;
    // The name as the file system holds it, for opening the file: on POSIX
    // its own bytes, even where they are not valid UTF-8; UTF-8 on Windows.
    const std::string& fileName(int row) const { return m_model.fileName(row); }

    int selectedCount() const override;
    std::vector<int> selectedPositions(int count) const override;
    std::string itemText(int position) const override { return fileName(position); }

private:
    void fill();

    FileNameModel m_model;
    QString m_pattern = QStringLiteral("*.*");
    QString m_path;
};
