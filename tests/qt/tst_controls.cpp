// The Qt control layer: the file list and its selection, the folder list,
// the drive list.

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QtTest>
#include <fstream>

#include "qt/DirList.h"
#include "qt/DriveList.h"
#include "qt/FileList.h"
#include "forms/FormTools.h"
#include "TrendFixtures.h"
#include "qt/frmExtend.h"

namespace fs = std::filesystem;

namespace {

QString qPath(const fs::path& path) { return QString::fromStdString(path.string()); }

void selectRows(FileList& list, std::initializer_list<int> rows) {
    for (int row : rows)
        list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Select);
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private slots:
    void fileListShowsOnlyMatchingRegularFiles();
    void selectedItemsComeInListOrder();
    void selectedItemsHaveNoSixteenBitLimit();
    void folderListOpensFoldersAndRefusesMissingOnes();
    void driveListRefusesDrivesItDoesNotOffer();
};

void ControlsTest::fileListShowsOnlyMatchingRegularFiles() {
    TempFolder folder;
    for (const char* name : {"b.hst", "A.HST", "c.Hst", "d.hst.bak", "ehst", "notes.txt"})
        folder.write(name, Bytes(10, 1));
    fs::create_directory(folder.path() / "folder.hst");
    QCOMPARE(::mkfifo((folder.path() / "pipe.hst").c_str(), 0600), 0);
    fs::create_symlink(folder.path() / "b.hst", folder.path() / "link.hst");
    fs::create_symlink(folder.path() / "gone", folder.path() / "broken.hst");
    fs::create_symlink("/dev/null", folder.path() / "device.hst");
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s",
                  (folder.path() / "socket.hst").c_str());
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);

    FileList list;
    list.setPattern("*.hst");
    list.setPath(qPath(folder.path()));
    QStringList shown;
    for (int row = 0; row < list.count(); ++row) shown << list.item(row);
    QCOMPARE(shown, QStringList({"A.HST", "b.hst", "c.Hst", "link.hst"}));
}

void ControlsTest::selectedItemsComeInListOrder() {
    TempFolder folder;
    for (const char* name : {"a.hst", "b.hst", "c.hst", "d.hst", "e.hst"})
        folder.write(name, Bytes(1, 0));
    FileList list;
    list.setPattern("*.hst");
    list.setPath(qPath(folder.path()));
    selectRows(list, {4, 0, 2});
    QCOMPARE(GetSelectedItems(list), (std::vector<std::string>{"a.hst", "c.hst", "e.hst"}));
    list.clearSelection();
    QVERIFY(GetSelectedItems(list).empty());
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    selectRows(list, {3});
    QVERIFY(GetSelectedItems(list).empty());  // no multiple selection, no items
}

void ControlsTest::selectedItemsHaveNoSixteenBitLimit() {
    // Past both 16-bit limits: more than 32767 selected, positions past 32767.
    TempFolder folder;
    for (int i = 0; i < 40000; ++i)
        std::ofstream(folder.path() / QString("t%1.hst").arg(i, 5, 10, QChar('0')).toStdString());
    FileList list;
    list.setPath(qPath(folder.path()));
    list.selectAll();
    for (int row : {0, 20000, 39998})
        list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Deselect);

    const std::vector<std::string> selected = GetSelectedItems(list);
    QCOMPARE(selected.size(), std::size_t(39997));
    QCOMPARE(selected.front(), std::string("t00001.hst"));
    QCOMPARE(selected[19999], std::string("t20001.hst"));
    QCOMPARE(selected.back(), std::string("t39999.hst"));
}

void ControlsTest::folderListOpensFoldersAndRefusesMissingOnes() {
    TempFolder folder;
    fs::create_directories(folder.path() / "inner" / "deeper");
    fs::create_directory(folder.path() / "Another");
    DirList list;
    QSignalSpy changes(&list, &DirList::changed);
    list.setPath(qPath(folder.path()));
    QCOMPARE(list.path(), qPath(folder.path()));
    QCOMPARE(changes.count(), 1);

    // The open folder's subfolders, sorted without regard to case.
    QTreeWidgetItem* open = list.currentItem();
    QCOMPARE(open->text(0), qPath(folder.path().filename()));
    QCOMPARE(open->childCount(), 2);
    QCOMPARE(open->child(0)->text(0), QString("Another"));

    // A click only highlights; a double click opens.
    QTreeWidgetItem* inner = open->child(1);
    const QRect where = list.visualItemRect(inner);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, where.center());
    QCOMPARE(changes.count(), 1);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, where.center());
    QCOMPARE(list.path(), qPath(folder.path() / "inner"));
    QCOMPARE(changes.count(), 2);

    QCOMPARE(list.setPath(qPath(folder.path() / "missing"))->number(), 76);
    QCOMPARE(list.path(), qPath(folder.path() / "inner"));
    list.setPath("/");
    QCOMPARE(list.path(), QString("/"));
}

void ControlsTest::driveListRefusesDrivesItDoesNotOffer() {
    DriveList drives;
    QVERIFY(drives.count() >= 1);
    QCOMPARE(drives.itemText(0), QString("/"));
    QVERIFY(!drives.setDrive("c:"));
    for (const QString& drive : DriveList::machineDrives()) {
        QVERIFY2(
            !drive.startsWith("/proc") && !drive.startsWith("/sys") && !drive.startsWith("/dev"),
            qPrintable(drive));
    }
}

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
