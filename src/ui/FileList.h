#pragma once

// The file list: the names, without folder, of the regular files of one
// folder that match a pattern such as "*.hst" (case-insensitively), sorted
// by name without regard to case, with extended multiple selection.

#include <QListView>
#include <QStringListModel>
#include <string>
#include <vector>

class FileList : public QListView {
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
    const std::string& fileName(int row) const { return m_fileNames[std::size_t(row)]; }

private:
    void fill();

    QStringListModel m_model;
    std::vector<std::string> m_fileNames;  // row by row beside the model
    QString m_pattern = QStringLiteral("*.*");
    QString m_path;
};
