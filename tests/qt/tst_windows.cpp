// The Qt windows and the run they start, driven as a user would, with the Qt
// control layer under them. What the windows decide is proven in the forms
// tests; here, that the Qt controls carry it.

#include <linux/magic.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAccessible>
#include <QtTest>

#include "TrendFixtures.h"
#include "WindowTexts.h"
#include "forms/frmHelp.h"
#include "platform/PosixCalls.h"
#include "qt/Toolkit.h"
#include "qt/frmConverting.h"
#include "qt/frmExtend.h"
#include "qt/frmHelp.h"

namespace fs = std::filesystem;

namespace {

QStringList rowsOf(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) rows << model.index(row, 0).data().toString();
    return rows;
}

// Each text of the shared table for window `name` that `window` does not show.
QStringList textsNotShown(const QWidget* window, const std::string& name) {
    QStringList missing;
    for (const ShownText& text : ShownTexts) {
        if (text.window != name) continue;
        const auto* control = *text.control ? window->findChild<QWidget*>(text.control) : window;
        QString shown = window->windowTitle();
        if (auto* label = qobject_cast<const QLabel*>(control)) shown = label->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(control)) shown = button->text();
        if (auto* frame = qobject_cast<const QGroupBox*>(control)) shown = frame->title();
        if (!control || shown != text.text)
            missing << QString("%1: \"%2\"").arg(text.control, shown);
    }
    return missing;
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    QStringList m_messages;     // each with the progress window's label, if it is shown
    QStringList m_shownLabels;  // the progress window's label as it is shown
    int m_ends = 0;
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<frmExtend> m_window;

    // Started in the test's folder, as from a shell there.
    void openWindow() {
        QDir::setCurrent(QString::fromStdString(m_folder->path().string()));
        m_window = std::make_unique<frmExtend>();
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

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            m_shownLabels << watched->findChild<QLabel*>("lblFileName")->text();
        return false;
    }

private slots:
    void init() {
        toolkit::setMessageHook([this](const QString& text, MessageIcon icon) {
            const frmConverting* shown = frmConverting::existing();
            const QString label =
                shown && shown->isVisible() ? shown->findChild<QLabel*>("lblFileName")->text() : "";
            m_messages << QString("%1 %2 [%3]").arg(int(icon)).arg(text, label);
        });
        toolkit::setEndHook([this] { ++m_ends; });
        m_messages.clear();
        m_ends = 0;
        m_folder = std::make_unique<TempFolder>();
    }
    void cleanup() { m_window.reset(); }

    // The list shows the regular *.hst files whatever their case, a name that
    // is not UTF-8 among them; Ctrl+clicks in any order reach the run in list
    // order; each message shows over the progress window naming its file; a
    // second run reuses that window where the user left it. The shared layout
    // moves the real widgets and keeps the window to its minimum.
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
        QCOMPARE(rowsOf(*list->model()), QStringList({"bad.hst", "caf\xef\xbf\xbd.hst", "high.hst",
                                                      "link.hst", "LOW.HST"}));
        for (int row : {4, 0, 2, 1})
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualRect(list->model()->index(row, 0)).center());
        pressOk("20");
        QCOMPARE(m_messages,
                 QStringList({"3 File 'bad.hst' is not a valid trend file. [bad]",
                              "1 high is already set for 30 files.\r\nIt will be skipped. [high]",
                              "0 " + QString(Completed) + " []"}));
        for (const char* name : {"LOW.HST", "caf\xe9.hst"})
            QCOMPARE(m_folder->read(name), trendFile(validHeader(20)));

        frmConverting* first = frmConverting::existing();
        QCOMPARE(textsNotShown(first, "frmConverting"), QStringList());
        first->installEventFilter(this);  // a second run shows no name before its first file's
        first->move(first->pos() + QPoint(9, 7));  // where the user moved it, it stays
        const QPoint moved = first->pos();
        list->setSelectionMode(
            QAbstractItemView::SingleSelection);  // no multiple selection, no items
        pressOk("40");
        QCOMPARE(m_messages.last(), QString("0 Please select one or more trend files []"));
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->selectAll();
        pressOk("40");
        QCOMPARE(frmConverting::existing(), first);
        QCOMPARE(m_shownLabels, QStringList({""}));
        m_window->resize(200, 250);
        QCOMPARE(m_window->frameGeometry().size(), QSize(367, 367));  // the minimum, snapped
        QCOMPARE(first->pos(), moved);
        QCOMPARE(m_folder->read("high.hst"), trendFile(validHeader(40)));
    }

    // Enter presses OK unless the focus is on a control that uses it: a folder
    // opens, a focused button is pressed. Alt+N goes to the number. A click in
    // the folder list only highlights; a double click opens the folder of
    // that item, named by its bytes, not another that shows the same. Close,
    // or the frame's close box, ends the program with every window. Help
    // shows one help window, with the build's identity.
    void keysAndClicksOpenFoldersAndPressButtons() {
        fs::create_directories(m_folder->path() / "sub\xff" / "deeper");
        fs::create_directory(m_folder->path() / "sub\xef\xbf\xbd");  // shown as the one above
        fs::create_directory(m_folder->path() / "Another");
        m_folder->write("top.hst", {});
        m_folder->write("sub\xff/sub.hst", {});
        openWindow();
        QCOMPARE(textsNotShown(m_window.get(), "frmExtend"), QStringList());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("txtNoFiles"));
        control<FileList>("filConvert")->setFocus();
        QTest::keyClick(m_window.get(), Qt::Key_N, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("txtNoFiles"));
        QTest::keyClick(control<QLineEdit>("txtNoFiles"), Qt::Key_Return);
        QTest::keyClick(control<FileList>("filConvert"), Qt::Key_Enter);
        QCOMPARE(m_messages, QStringList(2, "0 Please enter the number of files []"));

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

        QTest::keyClick(control<QPushButton>("cmdHelp"), Qt::Key_Return);
        QCOMPARE(textsNotShown(frmHelp::existing(), "frmHelp"), QStringList());
        auto* version = frmHelp::existing()->findChild<QLabel*>("lblVersion");
        QCOMPARE(version->text(), QString::fromStdString(VersionLine()));
        version->setText("kept");  // a second Help must not rebuild it
        control<QPushButton>("cmdHelp")->click();
        QCOMPARE(frmHelp::existing()->findChild<QLabel*>("lblVersion"), version);
        QCOMPARE(version->text(), QString("kept"));
        QTest::keyClick(frmHelp::existing()->findChild<QPushButton*>("cmdClose"), Qt::Key_Return);
        QTRY_VERIFY(!frmHelp::existing());
        control<QPushButton>("cmdHelp")->click();
        QTest::keyClick(control<QPushButton>("cmdClose"), Qt::Key_Return);
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_ends, 1);
        QVERIFY(!m_window->isVisible());
        QTRY_VERIFY(!frmHelp::existing());
        m_window->show();
        m_window->close();
        QCOMPARE(m_ends, 2);
    }

    // Close between two files of a run flushes what the run changed, then
    // ends the program at once through its own end: this program, run again
    // as the window program, presses Close at b.hst's message.
    void closeDuringARunFlushesThenEnds() {
        for (const char* name : {"a.hst", "c.hst"})
            m_folder->write(name, trendFile(validHeader(7)));
        m_folder->write("b.hst", trendFile(validHeader(30)));
        QProcess helper;
        helper.start(QCoreApplication::applicationFilePath(),
                     {"--close-during-run", QString::fromStdString(m_folder->path().string())});
        QVERIFY(helper.waitForFinished(30000));
        QCOMPARE(helper.exitCode(), 0);
        QCOMPARE(helper.readAllStandardOutput(), QByteArray("message\nsyncfs\n"));
        QCOMPARE(m_folder->read("a.hst"), trendFile(validHeader(20)));
        QCOMPARE(m_folder->read("c.hst"), trendFile(validHeader(7)));
    }

    // Every control Tab reaches in the main and help windows has a name of
    // its own for a screen reader: not none, not what it holds.
    void everyControlTabReachesIsNamed() {
        openWindow();
        frmHelp::open();
        QStringList unnamed;
        for (QWidget* window : QWidgetList{m_window.get(), frmHelp::existing()}) {
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
        frmHelp::existing()->close();
        QCOMPARE(unnamed.join(", "), QString());
    }
};

// The helper of the Close test: a run over every file of `folder` that
// presses Close at its first message, on a file system taken for one whose
// flush as a whole reaches the storage, printing each message and flush.
// Exits 0 only through the program's own end; 3 if the run came back.
int closeDuringRun(const char* folder) {
    platform::posix::Calls calls = platform::posix::systemCalls();
    calls.syncfs = [](int fd) { return std::puts("syncfs"), ::syncfs(fd); };
    calls.fstatfs = [](int fd, struct statfs* info) {
        const int result = ::fstatfs(fd, info);
        info->f_type = EXT4_SUPER_MAGIC;
        return result;
    };
    const auto files = platform::posix::fileAccessThrough(calls);
    QDir::setCurrent(QString::fromLocal8Bit(folder));  // the window opens there
    frmExtend window(*files);
    toolkit::setMessageHook([&](const QString&, MessageIcon) {
        std::puts("message");
        window.findChild<QPushButton*>("cmdClose")->click();
    });
    window.findChild<QListView*>("filConvert")->selectAll();
    window.findChild<QLineEdit*>("txtNoFiles")->setText("20");
    window.findChild<QPushButton*>("cmdOK")->click();
    return 3;
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);  // as QTEST_MAIN does
    if (argc == 3 && std::string(argv[1]) == "--close-during-run") return closeDuringRun(argv[2]);
    WindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windows.moc"
