#pragma once

// The drive list: the machine's drives ("c:" and so on on Windows; "/" and
// the real mounted volumes elsewhere), one of them selected.

#include <QComboBox>
#include <QStringList>

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    QString drive() const;
    // False, changing nothing, for a drive the list does not offer.
    bool setDrive(const QString& drive);
    // Selects the drive that holds `path`, without raising the change event.
    void showDriveOf(const QString& path);

    static QStringList machineDrives();
    // True when `path` lies on `drive` (its root or below it).
    static bool holds(const QString& drive, const QString& path);

signals:
    void changed();
};
