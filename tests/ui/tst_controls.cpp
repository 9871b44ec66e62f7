// The control layer: number conversion, twips, the file list, the folder
// list, the drive list and the list selection reader.

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QtTest>
#include <fstream>

#include "DirList.h"
#include "DriveList.h"
#include "FileList.h"
#include "FormTools.h"
#include "TrendFixtures.h"
#include "Twips.h"
#include "frmExtend.h"

namespace fs = std::filesystem;

namespace {

QString qPath(const fs::path& path) { return QString::fromStdString(path.string()); }

void selectRows(FileList& list, std::initializer_list<int> rows) {
    for (int row : rows)
        list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Select);
}

int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::Error& error) {
        return error.number();
    }
    return 0;
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private slots:
    void convertsTypedNumbers_data();
    void convertsTypedNumbers();
    void snapsTwipsToWholePixelsHalfToEven();
    void fileListShowsOnlyMatchingRegularFiles();
    void selectedItemsComeInListOrder();
    void selectedItemsHaveNoSixteenBitLimit();
    void selectedItemsFailWhenNothingIsSelected();
    void singleSelectionListGivesNoItems();
    void folderListOpensFoldersAndRefusesMissingOnes();
    void driveListRefusesDrivesItDoesNotOffer();
};

void ControlsTest::convertsTypedNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<int>("value");
    struct Row {
        const char* name;
        const char* text;
        bool converts;
        int value;
    };
    const Row rows[] = {
        {"empty", "", false, 0},
        {"blank", "  ", false, 0},
        {"zero", "0", true, 0},
        {"negative", "-3", true, -3},
        {"letters", "abc", false, 0},
        {"small fraction", "0.4", true, 0},
        {"too big", "32768", false, 0},
        {"largest", "32767", true, 32767},
        {"smallest", "-32768", true, -32768},
        {"too small", "-32769", false, 0},
        {"half down to even", "2.5", true, 2},
        {"half up to even", "3.5", true, 4},
        {"above half", "2.51", true, 3},
        {"half of zero", "0.5", true, 0},
        {"blanks around", " \t12\t ", true, 12},
        {"plus sign", "+7", true, 7},
        {"leading zeros", "00000000012", true, 12},
        {"trailing dot", "5.", true, 5},
        {"leading dot", ".6", true, 1},
        {"lone dot", ".", false, 0},
        {"lone sign", "-", false, 0},
        {"grouping", "1,000", false, 0},
        {"exponent", "1e3", false, 0},
        {"hexadecimal", "0x10", false, 0},
        {"inner blank", "1 2", false, 0},
        {"rounds past the top", "32767.5", false, 0},
        {"wide digits", "\xef\xbc\x91\xef\xbc\x92", false, 0},
        {"many digits", "123456789012345678901234567890", false, 0},
    };
    for (const Row& row : rows)
        QTest::newRow(row.name) << QString::fromUtf8(row.text) << row.converts << row.value;
}

void ControlsTest::convertsTypedNumbers() {
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(int, value);
    const std::optional<std::int16_t> result = ConvertToInt16(text);
    QCOMPARE(result.has_value(), converts);
    if (converts) QCOMPARE(int(*result), value);
}

void ControlsTest::snapsTwipsToWholePixelsHalfToEven() {
    QCOMPARE(twips::toPixels(2280), 152);
    QCOMPARE(twips::toPixels(22.5), 2);  // 1.5 pixels
    QCOMPARE(twips::toPixels(37.5), 2);  // 2.5 pixels
    QCOMPARE(twips::toPixels(52.5), 4);  // 3.5 pixels
    QWidget widget;
    twips::setWidth(&widget, 2287.5);  // 152.5 pixels
    QCOMPARE(twips::width(&widget), 2280.0f);
}

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
    selectRows(list, {3});
    QCOMPARE(GetSelectedItems(list), std::vector<std::string>{"d.hst"});
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

void ControlsTest::selectedItemsFailWhenNothingIsSelected() {
    TempFolder folder;
    folder.write("a.hst", Bytes(1, 0));
    FileList list;
    list.setPath(qPath(folder.path()));
    QCOMPARE(errorNumberOf([&] { GetSelectedItems(list); }), 9);
}

void ControlsTest::singleSelectionListGivesNoItems() {
    TempFolder folder;
    folder.write("a.hst", Bytes(1, 0));
    FileList list;
    list.setPath(qPath(folder.path()));
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    QVERIFY(GetSelectedItems(list).empty());
    selectRows(list, {0});
    QVERIFY(GetSelectedItems(list).empty());
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

    QCOMPARE(errorNumberOf([&] { list.setPath(qPath(folder.path() / "missing")); }), 76);
    QCOMPARE(list.path(), qPath(folder.path() / "inner"));
    list.setPath("/");
    QCOMPARE(list.path(), QString("/"));
}

void ControlsTest::driveListRefusesDrivesItDoesNotOffer() {
    DriveList drives;
    QVERIFY(drives.count() >= 1);
    QCOMPARE(drives.itemText(0), QString("/"));
    QCOMPARE(errorNumberOf([&] { drives.setDrive("c:"); }), 68);
    for (const QString& drive : DriveList::machineDrives()) {
        QVERIFY2(
            !drive.startsWith("/proc") && !drive.startsWith("/sys") && !drive.startsWith("/dev"),
            qPrintable(drive));
    }
}

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
