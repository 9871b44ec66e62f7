// The Qt windows and the run they start, driven as a user would, with the Qt
// control layer under them. What the windows decide is proven in the forms
// tests; here, that the Qt controls carry it.

#include <sys/stat.h>

#include <QAccessible>
#include <QtTest>

#include "TrendFixtures.h"
#include "qt/frmExtend.h"

namespace fs = std::filesystem;

namespace {

QStringList rowsOf(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) rows << model.index(row, 0).data().toString();
    return rows;
}

// The top-level window named `name`, shown or not, or nullptr.
QWidget* topLevel(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == name) return window;
    return nullptr;
}

// The main window, its message boxes recorded, each with the progress
// window's label while that shows and refuses to close, and its ends counted.
class TestedWindow : public frmExtend {
public:
    QStringList messages;
    int ends = 0;

private:
    void showMessage(const std::string& text, MessageIcon icon) override {
        QWidget* progress = topLevel("frmConverting");
        const QString label = progress && progress->isVisible() && !progress->close()
                                  ? progress->findChild<QLabel*>("lblFileName")->text()
                                  : "";
        messages << QString("%1 %2 [%3]").arg(int(icon)).arg(QString::fromStdString(text), label);
    }
    void endProgram() override { ++ends; }
};

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<TestedWindow> m_window;

    // Started in the test's folder, as from a shell there.
    void openWindow() {
        QDir::setCurrent(QString::fromStdString(m_folder->path().string()));
        m_window = std::make_unique<TestedWindow>();
        m_window->show();
    }
    template <typename Control>
    Control* control(const char* name) const {
        return m_window->findChild<Control*>(name);
    }
    void pressOk(const QString& text) {
        control<QLineEdit>("txtNoFiles")->setText(text);
        control<QPushButton>("cmdOK")->click();
    }

private slots:
    void init() { m_folder = std::make_unique<TempFolder>(); }
    void cleanup() {
        m_window.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());  // every window went with it
    }

    // The list shows the regular *.hst files whatever their case, a name that
    // is not UTF-8 among them; Ctrl+clicks in any order reach the run in list
    // order; each message shows over the progress window naming its file,
    // which cannot be closed meanwhile. The shared layout moves the real
    // widgets and keeps the window to its minimum.
    void aWholeRunFromCtrlClicksAndOk() {
        const fs::path folder = m_folder->path();
        for (const char* name : {"LOW.HST", "caf\xe9.hst", "other.txt", "d.hst.bak"})
            m_folder->write(name, trendFile(validHeader(7)));
        m_folder->write("high.hst", trendFile(validHeader(30)));
        m_folder->write("bad.hst", Bytes(200, 1));
        fs::create_directory(folder / "folder.hst");
        ::mkfifo((folder / "pipe.hst").c_str(), 0600);
        fs::create_symlink(folder / "high.hst", folder / "link.hst");
        fs::create_symlink("/dev/null", folder / "device.hst");
        openWindow();
        m_window->resize(400, 400);  // 6000 twips: the shared layout's worked results
        auto* list = control<FileList>("filConvert");
        QCOMPARE(list->geometry(), QRect(192, 32, 160, 166));
        QCOMPARE(control<QWidget>("fraButtons")->pos(), QPoint(127, 351));
        QCOMPARE(rowsOf(*list->model()),
                 QStringList({"bad.hst", "caf\\xe9.hst", "high.hst", "link.hst", "LOW.HST"}));
        for (int row : {4, 0, 2, 1})
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualRect(list->model()->index(row, 0)).center());
        pressOk("20");
        QCOMPARE(m_window->messages,
                 QStringList({"3 " + QString::fromStdString(invalidText("bad.hst")) + " [bad]",
                              "1 " + QString::fromStdString(alreadySetText("high", 30)) + " [high]",
                              "0 " + QString(Completed) + " []"}));
        for (const char* name : {"LOW.HST", "caf\xe9.hst"})
            QCOMPARE(m_folder->read(name), trendFile(validHeader(20)));
        // No multiple selection, no items.
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        pressOk("40");
        QCOMPARE(m_window->messages.last(), QString("0 Please select one or more trend files []"));
        m_window->resize(200, 250);
        QCOMPARE(m_window->frameGeometry().size(), QSize(367, 367));  // the minimum, snapped
    }

    // Enter presses OK unless the focus is on a control that uses it: a folder
    // opens. Alt+N goes to the number. A click in the folder list only
    // highlights; a double click opens the folder of that item, named by its
    // bytes, not its look-alike.
    void keysAndClicksOpenFolders() {
        fs::create_directories(m_folder->path() / "sub\xff" / "deeper");
        // How a decoder shows the one above.
        fs::create_directory(m_folder->path() / "sub\xef\xbf\xbd");
        fs::create_directory(m_folder->path() / "Another");
        m_folder->write("top.hst", {});
        m_folder->write("sub\xff/sub.hst", {});
        openWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("txtNoFiles"));
        control<FileList>("filConvert")->setFocus();
        QTest::keyClick(m_window.get(), Qt::Key_N, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("txtNoFiles"));
        QTest::keyClick(control<QLineEdit>("txtNoFiles"), Qt::Key_Return);
        QTest::keyClick(control<FileList>("filConvert"), Qt::Key_Enter);
        QCOMPARE(m_window->messages, QStringList(2, "0 Please enter the number of files []"));

        auto* folders = control<DirList>("dirConvert");
        auto* files = control<FileList>("filConvert")->model();
        QTreeWidgetItem* open = folders->currentItem();
        QCOMPARE(open->child(0)->text(0), QString("Another"));
        const QRect sub = folders->visualItemRect(open->child(2));  // after its look-alike
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, sub.center());
        QCOMPARE(folders->currentItem(), open->child(2));
        QCOMPARE(rowsOf(*files), QStringList({"top.hst"}));  // highlighted, not opened
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, sub.center());
        QCOMPARE(rowsOf(*files), QStringList({"sub.hst"}));
        folders->setCurrentItem(folders->currentItem()->child(0));
        QTest::keyClick(folders, Qt::Key_Return);
        QCOMPARE(folders->currentItem()->text(0), QString("deeper"));
        QCOMPARE(rowsOf(*files), QStringList());
    }

    // Enter presses a focused button. Help shows the help window, with the
    // build's identity; its Close destroys it. Close, or the frame's close
    // box, ends the program with every window.
    void helpAndCloseFromTheKeyboard() {
        openWindow();
        QTest::keyClick(control<QPushButton>("cmdHelp"), Qt::Key_Return);
        QWidget* help = topLevel("frmHelp");
        QCOMPARE(help->findChild<QLabel*>("lblVersion")->text(),
                 QString::fromStdString(versionLine()));
        QTest::keyClick(help->findChild<QPushButton*>("cmdClose"), Qt::Key_Return);
        QTRY_VERIFY(!topLevel("frmHelp"));
        control<QPushButton>("cmdHelp")->click();
        QTest::keyClick(control<QPushButton>("cmdClose"), Qt::Key_Return);
        QCOMPARE(m_window->messages, QStringList());
        QCOMPARE(m_window->ends, 1);
        QVERIFY(!m_window->isVisible());
        QVERIFY(!topLevel("frmHelp"));
        m_window->show();
        m_window->close();
        QCOMPARE(m_window->ends, 2);
    }

    // Every control Tab reaches in the main and help windows has a name of
    // its own for a screen reader: not none, not what it holds.
    void everyControlTabReachesIsNamed() {
        openWindow();
        control<QPushButton>("cmdHelp")->click();
        QStringList unnamed;
        for (QWidget* window : QWidgetList{m_window.get(), topLevel("frmHelp")}) {
            for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
                if (w->window() != window || !(w->focusPolicy() & Qt::TabFocus)) continue;
                QAccessibleInterface* control = QAccessible::queryAccessibleInterface(w);
                const QString name = control->text(QAccessible::Name);
                // Qt's item views give their name as their value too.
                const bool value =
                    name == control->text(QAccessible::Value) && name != w->accessibleName();
                if (name.isEmpty() || value) unnamed << w->objectName() + ": " + name;
            }
        }
        topLevel("frmHelp")->close();
        QCOMPARE(unnamed.join(", "), QString());
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
