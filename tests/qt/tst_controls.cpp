// The Qt control layer: the file list and its selection, the folder list,
// the drive list.

#include <sys/stat.h>

#include <QtTest>

#include "TrendFixtures.h"
#include "qt/DirList.h"
#include "qt/DriveList.h"
#include "qt/FileList.h"

namespace fs = std::filesystem;

namespace {

QString qPath(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private slots:
    void fileListShowsMatchingRegularFilesAndReadsItsSelection();
    void folderListOpensFoldersAndRefusesMissingOnes();
    void driveListOffersRealVolumesOnly();
};

void ControlsTest::fileListShowsMatchingRegularFilesAndReadsItsSelection() {
    TempFolder folder;
    for (const char* name : {"b.hst", "A.HST", "c.Hst", "d.hst.bak", "ehst", "notes.txt"})
        folder.write(name, Bytes(10, 1));
    fs::create_directory(folder.path() / "folder.hst");
    QCOMPARE(::mkfifo((folder.path() / "pipe.hst").c_str(), 0600), 0);
    fs::create_symlink(folder.path() / "b.hst", folder.path() / "link.hst");
    fs::create_symlink(folder.path() / "gone", folder.path() / "broken.hst");
    fs::create_symlink("/dev/null", folder.path() / "device.hst");

    FileList list;
    list.setPattern("*.hst");
    list.setPath(qPath(folder.path()));
    QStringList shown;
    for (int row = 0; row < list.count(); ++row) shown << list.item(row);
    QCOMPARE(shown, QStringList({"A.HST", "b.hst", "c.Hst", "link.hst"}));

    QVERIFY(GetSelectedItems(list).empty());
    for (int row : {3, 0, 2})  // separate ranges, selected out of order
        list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Select);
    QCOMPARE(GetSelectedItems(list), (std::vector<std::string>{"A.HST", "c.Hst", "link.hst"}));
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    QVERIFY(GetSelectedItems(list).empty());  // no multiple selection, no items
}

void ControlsTest::folderListOpensFoldersAndRefusesMissingOnes() {
    TempFolder folder;
    fs::create_directories(folder.path() / "inner" / "deeper");
    fs::create_directory(folder.path() / "Another");
    DirList list;
    QSignalSpy changes(&list, &DirList::changed);
    QVERIFY(!list.setPath(qPath(folder.path())));
    QCOMPARE(changes.count(), 1);

    // The open folder's subfolders, sorted without regard to case.
    QTreeWidgetItem* open = list.currentItem();
    QCOMPARE(open->text(0), qPath(folder.path().filename()));
    QCOMPARE(open->childCount(), 2);
    QCOMPARE(open->child(0)->text(0), QString("Another"));

    // A click only highlights; a double click opens.
    const QRect where = list.visualItemRect(open->child(1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, where.center());
    QCOMPARE(changes.count(), 1);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, where.center());
    QCOMPARE(list.path(), qPath(folder.path() / "inner"));

    QCOMPARE(list.setPath(qPath(folder.path() / "missing"))->number(), 76);
    QCOMPARE(list.path(), qPath(folder.path() / "inner"));
}

void ControlsTest::driveListOffersRealVolumesOnly() {
    DriveList drives;
    QCOMPARE(drives.itemText(0), QString("/"));
    QVERIFY(!drives.setDrive("c:"));
    for (const QString& drive : DriveList::machineDrives())
        QVERIFY2(!drive.startsWith("/proc") && !drive.startsWith("/sys"), qPrintable(drive));
}

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
