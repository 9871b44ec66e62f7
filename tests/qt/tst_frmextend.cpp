// The Qt main window and the run it starts, driven as a user would. What
// the window decides is proven in the forms tests; here, that the Qt
// controls carry it.

#include <QMessageBox>
#include <QtTest>

#include "TrendFixtures.h"
#include "qt/Toolkit.h"
#include "qt/frmConverting.h"
#include "qt/frmExtend.h"
#include "qt/frmHelp.h"

namespace fs = std::filesystem;

namespace {

const QString NumberMessage = "Please enter the number of files";
const QString Closing =
    "Conversion is complete.\r\n"
    "You must set the new number of history files in your project's\r\n"
    "trend tag definitions before restarting Velmar.";

struct Shown {
    QString text;
    MessageIcon icon;
    bool progressVisible;
    QString progressLabel;
};

QString qPath(const fs::path& path) { return QString::fromStdString(path.string()); }

// Keeps the text a label last painted.
class PaintWatch : public QObject {
public:
    QString painted;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = static_cast<QLabel*>(watched)->text();
        return false;
    }
};

}  // namespace

class frmExtendTest : public QObject {
    Q_OBJECT

private:
    QList<Shown> m_messages;
    int m_ends = 0;
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<frmExtend> m_window;

    QStringList messageTexts() const {
        QStringList texts;
        for (const Shown& shown : m_messages) texts << shown.text;
        return texts;
    }
    void openWindow() {
        m_window = std::make_unique<frmExtend>();
        m_window->Form_Load();
        m_window->dirConvert->setPath(qPath(m_folder->path()));
    }
    void ctrlClick(int row) {
        FileList* list = m_window->filConvert;
        const QRect where = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, where.center());
    }
    void pressOk(const QString& text) {
        m_window->txtNoFiles->setText(text);
        m_window->cmdOK->click();
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnTheCurrentFolderWithoutAMessage();
    void aWholeRunFromCtrlClicksAndOk();
    void aNameThatIsNotUtf8ReachesItsFile();
    void theProgressWindowShowsEachFileBeforeItIsOpened();
    void aFailingDriveChangeSaysWhyAndMovesNothing();
    void keysPressTheButtonsAndOpenFolders();
    void closeEndsTheProgramWithEveryWindow();
    void closeInTheMiddleOfARunLeavesNoFileHalfDone();
    void aRealMessageBoxIsPlainTextOverTheMainWindow();
};

void frmExtendTest::initTestCase() {
    toolkit::setMessageHook([this](const QString& text, MessageIcon icon) {
        frmConverting* progress = frmConverting::existing();
        m_messages << Shown{text, icon, progress && progress->isVisible(),
                            progress ? progress->lblFileName->text() : QString()};
    });
    toolkit::setEndHook([this] { ++m_ends; });
}

void frmExtendTest::init() {
    m_messages.clear();
    m_ends = 0;
    m_folder = std::make_unique<TempFolder>();
}

void frmExtendTest::cleanup() {
    m_window.reset();
    m_folder.reset();
}

void frmExtendTest::startsOnTheCurrentFolderWithoutAMessage() {
    m_folder->write("z.hst", trendFile(validHeader(1)));
    const QString before = QDir::currentPath();
    QDir::setCurrent(qPath(m_folder->path()));
    frmExtend window;
    window.Form_Load();
    QDir::setCurrent(before);
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(window.dirConvert->path(), qPath(m_folder->path()));
    QCOMPARE(window.filConvert->count(), 1);
    QVERIFY(qPath(m_folder->path()).startsWith(window.drvConvert->drive()));
}

// Ctrl+clicks in any order reach the run in list order; each message names
// its file while the progress window shows it; a second run reuses the
// window; the window keeps the number and the selection.
void frmExtendTest::aWholeRunFromCtrlClicksAndOk() {
    const Bytes low = withCount(trendFile(patternedHeader()), 7);
    TrendFileHeader badHeader = patternedHeader();
    badHeader.bytes[128] = 'X';
    const Bytes high = trendFile(validHeader(30)), bad = trendFile(badHeader);
    m_folder->write("LOW.HST", low);
    m_folder->write("high.hst", high);
    m_folder->write("bad.hst", bad);
    m_folder->write("other.txt", low);
    openWindow();
    m_window->show();
    QCOMPARE(m_window->filConvert->count(), 3);  // bad, high, LOW
    for (int row : {2, 0, 1}) ctrlClick(row);
    pressOk("20");

    QCOMPARE(messageTexts(), QStringList({"File 'bad.hst' is not a valid trend file.",
                                          "high is already set for 30 files.\r\nIt will be skipped.",
                                          Closing}));
    QCOMPARE(m_messages[0].icon, MessageIcon::Error);
    QCOMPARE(m_messages[1].icon, MessageIcon::Information);
    QCOMPARE(m_messages[2].icon, MessageIcon::None);
    QVERIFY(m_messages[0].progressVisible && !m_messages[2].progressVisible);
    QCOMPARE(m_messages[0].progressLabel, QString("bad"));
    QCOMPARE(m_messages[1].progressLabel, QString("high"));
    QCOMPARE(m_folder->read("LOW.HST"), withCount(low, 20));
    QCOMPARE(m_folder->read("high.hst"), high);
    QCOMPARE(m_folder->read("bad.hst"), bad);
    QCOMPARE(m_folder->read("other.txt"), low);
    QCOMPARE(m_window->txtNoFiles->text(), QString("20"));
    QCOMPARE(m_window->filConvert->selectionModel()->selectedIndexes().size(), 3);

    frmConverting* first = frmConverting::existing();
    pressOk("40");
    QCOMPARE(frmConverting::existing(), first);
    QCOMPARE(m_folder->read("high.hst"), withCount(high, 40));
}

void frmExtendTest::aNameThatIsNotUtf8ReachesItsFile() {
    const std::string latin1Name = "caf\xe9.hst";
    m_folder->write(latin1Name, trendFile(validHeader(1)));
    openWindow();
    m_window->filConvert->selectAll();
    pressOk("6");
    QCOMPARE(messageTexts(), QStringList{Closing});
    QCOMPARE(m_folder->read(latin1Name), trendFile(validHeader(6)));
}

// Before each file is opened, the window has painted that file's name: a
// file that hangs is never blamed on another.
void frmExtendTest::theProgressWindowShowsEachFileBeforeItIsOpened() {
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        names.push_back("t" + std::to_string(i) + ".hst");
        m_folder->write(names.back(), trendFile(validHeader(1)));
    }
    frmConverting& progress = frmConverting::instance();
    PaintWatch watch;
    progress.lblFileName->installEventFilter(&watch);
    FakeFiles files;
    QStringList wrong;
    files.onOpen = [&](const std::string& name) {
        if (watch.painted.toStdString() + ".hst" != name) wrong << QString::fromStdString(name);
    };
    ConvertingView view;
    ExtendTrends(view, m_folder->programPath(), names, 2, files);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(' ')));
    QCOMPARE(m_folder->read("t39.hst"), trendFile(validHeader(2)));
}

void frmExtendTest::aFailingDriveChangeSaysWhyAndMovesNothing() {
    m_folder->write("a.hst", trendFile(validHeader(1)));
    openWindow();
    m_window->drvConvert->addItem("/no-such-volume");
    m_window->drvConvert->setCurrentIndex(m_window->drvConvert->count() - 1);
    QCOMPARE(messageTexts(), QStringList{"Error 76 Path not found"});
    QCOMPARE(m_messages[0].icon, MessageIcon::Exclamation);
    QCOMPARE(m_window->drvConvert->drive(), QString("/no-such-volume"));
    QCOMPARE(m_window->dirConvert->path(), qPath(m_folder->path()));
}

// Enter presses OK unless the focus is on a control that uses it: a folder
// opens, a focused button is pressed. Alt+N goes to the number.
void frmExtendTest::keysPressTheButtonsAndOpenFolders() {
    fs::create_directory(m_folder->path() / "sub");
    openWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(QApplication::focusWidget(), m_window->txtNoFiles);
    m_window->filConvert->setFocus();
    QTest::keyClick(m_window.get(), Qt::Key_N, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), m_window->txtNoFiles);
    QTest::keyClick(m_window->txtNoFiles, Qt::Key_Return);
    QTest::keyClick(m_window->filConvert, Qt::Key_Enter);
    QCOMPARE(messageTexts(), QStringList(2, NumberMessage));

    DirList* folders = m_window->dirConvert;
    folders->setCurrentItem(folders->currentItem()->child(0));
    QTest::keyClick(folders, Qt::Key_Return);
    QCOMPARE(folders->path(), qPath(m_folder->path() / "sub"));

    QTest::keyClick(m_window->cmdHelp, Qt::Key_Return);
    QVERIFY(frmHelp::existing());
    QTest::keyClick(frmHelp::existing()->cmdClose, Qt::Key_Return);
    QTRY_VERIFY(!frmHelp::existing());
    QTest::keyClick(m_window->cmdClose, Qt::Key_Return);
    QCOMPARE(m_messages.size(), 2);
    QCOMPARE(m_ends, 1);
}

void frmExtendTest::closeEndsTheProgramWithEveryWindow() {
    m_folder->write("a.hst", trendFile(validHeader(1)));
    openWindow();
    m_window->show();
    m_window->filConvert->selectAll();
    pressOk("2");  // leaves the progress window loaded and hidden
    m_window->cmdHelp->click();
    m_window->cmdClose->click();
    QCOMPARE(m_ends, 1);
    QVERIFY(!m_window->isVisible());
    QTRY_VERIFY(!frmHelp::existing());
    QVERIFY(!frmConverting::existing()->isVisible());
    m_window->show();
    m_window->close();  // the frame's close box does what Close does
    QCOMPARE(m_ends, 2);
}

// The real end leaves the process at once, so a helper process runs the
// window, presses Close in the middle of a run, and is judged by its files.
void frmExtendTest::closeInTheMiddleOfARunLeavesNoFileHalfDone() {
    const int fileCount = 20;
    const Bytes before = trendFile(patternedHeader());
    auto name = [](int i) { return QString("t%1.hst").arg(i, 2, 10, QChar('0')).toStdString(); };
    for (int i = 0; i < fileCount; ++i) m_folder->write(name(i), before);
    QProcess helper;
    helper.start(QCoreApplication::applicationDirPath() + "/close_during_run",
                 {qPath(m_folder->path())});
    QVERIFY(helper.waitForFinished(30000));
    QCOMPARE(helper.exitCode(), 0);

    const Bytes after = withCount(before, 0x0201);
    int raised = 0;
    for (int i = 0; i < fileCount; ++i) {
        const Bytes now = m_folder->read(name(i));
        QVERIFY2(now == (i == raised && now == after ? after : before), name(i).c_str());
        raised += now == after;
    }
    QVERIFY2(raised > 0 && raised < fileCount, qPrintable(QString::number(raised)));
}

void frmExtendTest::aRealMessageBoxIsPlainTextOverTheMainWindow() {
    openWindow();
    toolkit::setMessageHook({});
    QMessageBox* seen = nullptr;
    QString caption, text, shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QWidget* owner = nullptr;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || seen) return;
        seen = box;
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        owner = box->parentWidget();
        for (QLabel* label : box->findChildren<QLabel*>())
            if (label->text() == text && label->textFormat() == Qt::PlainText) shown = text;
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    toolkit::showMessage("File '<b>B<u>U.hst' is not a valid trend file.", MessageIcon::Error);
    initTestCase();  // back to the recording hook
    QCOMPARE(caption, QString("Kelvane"));
    QCOMPARE(shown, QString("File '<b>B<u>U.hst' is not a valid trend file."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, 1);
    QCOMPARE(owner, m_window.get());
}

QTEST_MAIN(frmExtendTest)
#include "tst_frmextend.moc"
