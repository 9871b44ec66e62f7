#include "qt/DriveList.h"

#include <QDir>
#include <QSignalBlocker>
#include <QStorageInfo>

#include "platform/Error.h"

namespace {

#ifdef Q_OS_WIN
QString driveName(const QStorageInfo& volume) { return volume.rootPath().left(2).toLower(); }

bool isRealVolume(const QStorageInfo&) { return true; }
#else
QString driveName(const QStorageInfo& volume) { return volume.rootPath(); }

// System and virtual mounts are not places where anyone keeps trend files.
bool isRealVolume(const QStorageInfo& volume) {
    const QString root = volume.rootPath();
    const QByteArray type = volume.fileSystemType();
    const bool systemTree =
        root == "/proc" || root.startsWith("/proc/") || root == "/sys" ||
        root.startsWith("/sys/") || root == "/dev" || root.startsWith("/dev/") || root == "/snap" ||
        root.startsWith("/snap/") ||
        ((root == "/run" || root.startsWith("/run/")) && !root.startsWith("/run/media/"));
    const bool virtualType = type == "tmpfs" || type == "overlay" || type == "squashfs";
    return !systemTree && !virtualType && !volume.device().startsWith("/dev/loop");
}
#endif

}  // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    addItems(machineDrives());
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::changed);
}

QStringList DriveList::machineDrives() {
    QStringList drives;
#ifndef Q_OS_WIN
    drives << "/";
#endif
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString name = driveName(volume);
        if (isRealVolume(volume) && !drives.contains(name)) drives << name;
    }
    std::sort(drives.begin(), drives.end());
    return drives;
}

QString DriveList::drive() const { return currentText(); }

bool DriveList::setDrive(const QString& drive) {
    const int index = findText(drive, Qt::MatchFixedString);
    if (index >= 0) setCurrentIndex(index);
    return index >= 0;
}

bool DriveList::holds(const QString& drive, const QString& path) {
    QString root = QDir::fromNativeSeparators(drive);
    if (!root.endsWith('/')) root += '/';
    return (QDir::fromNativeSeparators(path) + '/').startsWith(root, Qt::CaseInsensitive);
}

void DriveList::showDriveOf(const QString& path) {
    int best = -1;  // the innermost volume that holds it
    for (int i = 0; i < count(); ++i) {
        if (holds(itemText(i), path) && (best < 0 || itemText(i).size() > itemText(best).size()))
            best = i;
    }
    const QSignalBlocker quiet(this);
    if (best >= 0) setCurrentIndex(best);
}
