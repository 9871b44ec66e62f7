#pragma once

// The file list: the names, without folder, of the regular files of one
// folder that match a pattern such as "*.hst" (case-insensitively), sorted
// by name without regard to case, with extended multiple selection.

#include <QListView>
#include <QStringListModel>

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

private:
    void fill();

    QStringListModel m_model;
    QString m_pattern = QStringLiteral("*.*");
    QString m_path;
};
