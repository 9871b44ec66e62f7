// The main window and the run it starts, driven as a user would.

#include <QMessageBox>
#include <QtTest>

#include "Toolkit.h"
#include "TrendFixtures.h"
#include "frmConverting.h"
#include "frmExtend.h"

namespace fs = std::filesystem;

namespace {

const QString NumberMessage = "Please enter the number of files";
const QString SelectMessage = "Please select one or more trend files";
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
    void selectRows(std::initializer_list<int> rows) {
        FileList* list = m_window->filConvert;
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select);
    }
    void pressOk(const QString& text) {
        m_window->txtNoFiles->setText(text);
        m_window->cmdOK->click();
    }
    std::int16_t storedCount(const std::string& name) const {
        const Bytes bytes = m_folder->read(name);
        return std::int16_t(bytes[148] | (bytes[149] << 8));
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnTheCurrentFolderWithoutAMessage();
    void okChecksTheNumberBeforeTheSelection_data();
    void okChecksTheNumberBeforeTheSelection();
    void okPassesTheRoundedNumber_data();
    void okPassesTheRoundedNumber();
    void namesReachTheRunInListOrderWhateverTheClickOrder();
    void aWholeRunFromOk();
    void aSecondRunReusesTheProgressWindow();
    void aNameThatIsNotUtf8ReachesItsFile();
    void okDuringARunStartsNoSecondRun();
    void aFailingDriveChangeSaysWhyAndMovesNothing();
    void enterPressesOkExceptWhereTheFocusUsesIt();
    void altNMovesTheFocusToTheNumber();
    void closeEndsTheProgramWithEveryWindow();
    void closingTheFrameDoesWhatCloseDoes();
    void closeInTheMiddleOfARunLeavesNoFileHalfDone();
    void aRealMessageBoxHasCaptionIconTextAndOneButton();
    void theProgressWindowPaintsOncePerFrameAndCatchesUp();
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
    QVERIFY(qPath(m_folder->path()).startsWith(window.drvConvert->drive()));  // the drive holding it
}

void frmExtendTest::okChecksTheNumberBeforeTheSelection_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("message");
    for (const char* bad : {"", "0", "-3", "abc", "0.4", "32768"}) {
        QTest::addRow("'%s' selected", bad) << QString(bad) << true << NumberMessage;
        QTest::addRow("'%s' none selected", bad) << QString(bad) << false << NumberMessage;
    }
    QTest::newRow("good number, none selected") << "5" << false << SelectMessage;
}

void frmExtendTest::okChecksTheNumberBeforeTheSelection() {
    QFETCH(QString, text);
    QFETCH(bool, selected);
    QFETCH(QString, message);
    m_folder->write("a.hst", trendFile(validHeader(1)));
    openWindow();
    if (selected) selectRows({0});
    pressOk(text);
    QCOMPARE(messageTexts(), QStringList{message});
    QCOMPARE(m_messages[0].icon, MessageIcon::None);
    QCOMPARE(storedCount("a.hst"), std::int16_t(1));
}

void frmExtendTest::okPassesTheRoundedNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored");
    QTest::newRow("2.5") << "2.5" << 2;
    QTest::newRow("3.5") << "3.5" << 4;
    QTest::newRow("blanks") << "  12  " << 12;
    QTest::newRow("largest") << "32767" << 32767;
}

void frmExtendTest::okPassesTheRoundedNumber() {
    QFETCH(QString, text);
    QFETCH(int, stored);
    m_folder->write("a.hst", trendFile(validHeader(1)));
    openWindow();
    selectRows({0});
    pressOk(text);
    QCOMPARE(messageTexts(), QStringList{Closing});
    QCOMPARE(int(storedCount("a.hst")), stored);
}

void frmExtendTest::namesReachTheRunInListOrderWhateverTheClickOrder() {
    for (const char* name : {"a.hst", "b.hst", "c.hst", "d.hst"})
        m_folder->write(name, trendFile(validHeader(50)));
    openWindow();
    m_window->show();
    FileList* list = m_window->filConvert;
    for (int row : {3, 0, 2}) {
        const QRect where = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, where.center());
    }
    pressOk("5");
    const QStringList expected = {"a is already set for 50 files.\r\nIt will be skipped.",
                                  "c is already set for 50 files.\r\nIt will be skipped.",
                                  "d is already set for 50 files.\r\nIt will be skipped.", Closing};
    QCOMPARE(messageTexts(), expected);
}

void frmExtendTest::aWholeRunFromOk() {
    const Bytes low = withCount(trendFile(patternedHeader()), 7);
    const Bytes high = trendFile(validHeader(30));
    TrendFileHeader badHeader = patternedHeader();
    badHeader.bytes[128] = 'X';
    const Bytes bad = trendFile(badHeader);
    m_folder->write("LOW.HST", low);
    m_folder->write("high.hst", high);
    m_folder->write("bad.hst", bad);
    m_folder->write("other.txt", low);
    openWindow();
    QCOMPARE(m_window->filConvert->count(), 3);  // bad, high, LOW
    selectRows({0, 1, 2});
    pressOk("20");

    QCOMPARE(m_messages.size(), 3);
    QCOMPARE(m_messages[0].text, QString("File 'bad.hst' is not a valid trend file."));
    QCOMPARE(m_messages[0].icon, MessageIcon::Error);
    QVERIFY(m_messages[0].progressVisible);
    QCOMPARE(m_messages[0].progressLabel, QString("bad"));
    QCOMPARE(m_messages[1].text,
             QString("high is already set for 30 files.\r\nIt will be skipped."));
    QCOMPARE(m_messages[1].icon, MessageIcon::Information);
    QCOMPARE(m_messages[1].progressLabel, QString("high"));
    QCOMPARE(m_messages[2].text, Closing);
    QVERIFY(!m_messages[2].progressVisible);

    Bytes raised = low;
    raised[148] = 20;
    raised[149] = 0;
    QCOMPARE(m_folder->read("LOW.HST"), raised);
    QCOMPARE(m_folder->read("high.hst"), high);
    QCOMPARE(m_folder->read("bad.hst"), bad);
    QCOMPARE(m_folder->read("other.txt"), low);
    // The window keeps the number and the selection for a further run.
    QCOMPARE(m_window->txtNoFiles->text(), QString("20"));
    QCOMPARE(m_window->filConvert->selectionModel()->selectedIndexes().size(), 3);
}

void frmExtendTest::aSecondRunReusesTheProgressWindow() {
    m_folder->write("one.hst", trendFile(validHeader(40)));
    m_folder->write("two.hst", trendFile(validHeader(40)));
    openWindow();
    selectRows({0});
    pressOk("5");
    frmConverting* first = frmConverting::existing();
    QVERIFY(first && !first->isVisible());
    m_window->filConvert->clearSelection();
    selectRows({1});
    pressOk("5");
    QCOMPARE(frmConverting::existing(), first);
    QCOMPARE(m_messages[2].progressLabel, QString("two"));
    QVERIFY(!first->isVisible());
}

void frmExtendTest::aNameThatIsNotUtf8ReachesItsFile() {
    const std::string latin1Name = "caf\xe9.hst";
    m_folder->write(latin1Name, trendFile(validHeader(1)));
    openWindow();
    selectRows({0});
    pressOk("6");
    QCOMPARE(messageTexts(), QStringList{Closing});
    QCOMPARE(m_folder->read(latin1Name), trendFile(validHeader(6)));
}

void frmExtendTest::okDuringARunStartsNoSecondRun() {
    m_folder->write("a.hst", trendFile(validHeader(1)));
    m_folder->write("b.hst", trendFile(validHeader(1)));
    openWindow();
    selectRows({0, 1});
    QTimer::singleShot(0, m_window->cmdOK, &QPushButton::click);  // lands in the run's event pass
    pressOk("3");
    QCOMPARE(messageTexts(), QStringList{Closing});
    QCOMPARE(storedCount("b.hst"), std::int16_t(3));
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
    QCOMPARE(m_window->filConvert->count(), 1);
}

void frmExtendTest::enterPressesOkExceptWhereTheFocusUsesIt() {
    fs::create_directory(m_folder->path() / "sub");
    openWindow();
    QTest::keyClick(m_window->txtNoFiles, Qt::Key_Return);
    QTest::keyClick(m_window->filConvert, Qt::Key_Enter);
    QTest::keyClick(m_window->drvConvert, Qt::Key_Return);
    QCOMPARE(messageTexts(), QStringList(3, NumberMessage));

    DirList* folders = m_window->dirConvert;
    folders->setCurrentItem(folders->currentItem()->child(0));
    QTest::keyClick(folders, Qt::Key_Return);
    QCOMPARE(m_messages.size(), 3);
    QCOMPARE(folders->path(), qPath(m_folder->path() / "sub"));

    QTest::keyClick(m_window->cmdClose, Qt::Key_Return);
    QCOMPARE(m_messages.size(), 3);
    QCOMPARE(m_ends, 1);
}

void frmExtendTest::altNMovesTheFocusToTheNumber() {
    openWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(QApplication::focusWidget(), m_window->txtNoFiles);  // where it opens
    QTest::keyClick(m_window.get(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_window->drvConvert);
    m_window->filConvert->setFocus();
    QTest::keyClick(m_window.get(), Qt::Key_N, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), m_window->txtNoFiles);
}

void frmExtendTest::closeEndsTheProgramWithEveryWindow() {
    m_folder->write("a.hst", trendFile(validHeader(1)));
    openWindow();
    m_window->show();
    selectRows({0});
    pressOk("2");  // leaves the progress window loaded and hidden
    QWidget other;
    other.show();
    m_window->cmdClose->click();
    QCOMPARE(m_ends, 1);
    QVERIFY(!m_window->isVisible());
    QVERIFY(!other.isVisible());
    QVERIFY(!frmConverting::existing()->isVisible());
}

void frmExtendTest::closingTheFrameDoesWhatCloseDoes() {
    openWindow();
    m_window->show();
    QWidget other;
    other.show();
    m_window->close();
    QCOMPARE(m_ends, 1);
    QVERIFY(!other.isVisible());
}

// The real end leaves the process at once, so a helper process runs the
// window, presses Close in the middle of a run, and is judged by its files.
void frmExtendTest::closeInTheMiddleOfARunLeavesNoFileHalfDone() {
    const int fileCount = 20;
    for (int i = 0; i < fileCount; ++i)
        m_folder->write(QString("t%1.hst").arg(i, 2, 10, QChar('0')).toStdString(),
                        withCount(trendFile(patternedHeader()), 7));
    QProcess helper;
    helper.start(QCoreApplication::applicationDirPath() + "/close_during_run",
                 {qPath(m_folder->path())});
    QVERIFY(helper.waitForFinished(30000));
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QCOMPARE(helper.exitCode(), 0);

    const Bytes before = withCount(trendFile(patternedHeader()), 7);
    Bytes after = before;
    after[148] = 9;
    after[149] = 0;
    int raised = 0;
    for (int i = 0; i < fileCount; ++i) {
        const Bytes now =
            m_folder->read(QString("t%1.hst").arg(i, 2, 10, QChar('0')).toStdString());
        QVERIFY2(now == (i < raised || (i == raised && now == after) ? after : before),
                 qPrintable(QString("file %1").arg(i)));
        if (now == after) ++raised;
    }
    QVERIFY2(raised > 0 && raised < fileCount, qPrintable(QString::number(raised)));
}

void frmExtendTest::aRealMessageBoxHasCaptionIconTextAndOneButton() {
    toolkit::setMessageHook({});
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    toolkit::showMessage("T1 is already set for 12 files.\r\nIt will be skipped.",
                         MessageIcon::Information);
    initTestCase();  // back to the recording hook
    QCOMPARE(caption, QString("Kelvane"));
    QCOMPARE(text, QString("T1 is already set for 12 files.\r\nIt will be skipped."));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons, 1);
}

namespace {

// Counts the paints of a label and keeps the text it last painted.
class PaintCounter : public QObject {
public:
    int paints = 0;
    QString painted;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            painted = static_cast<QLabel*>(watched)->text();
        }
        return false;
    }
};

}  // namespace

void frmExtendTest::theProgressWindowPaintsOncePerFrameAndCatchesUp() {
    frmConverting& progress = frmConverting::instance();
    progress.show();
    QVERIFY(QTest::qWaitForWindowExposed(&progress));
    QTest::qWait(20);
    PaintCounter counter;
    progress.lblFileName->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3000; ++i) {
        progress.lblFileName->setText(QString("T%1").arg(i));
        toolkit::doEvents();
    }
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(counter.paints <= elapsed / 16 + 2,
             qPrintable(QString("%1 paints in %2 ms").arg(counter.paints).arg(elapsed)));
    QCOMPARE(progress.lblFileName->text(), QString("T2999"));
    QTRY_COMPARE(counter.painted, QString("T2999"));  // the last name shows at the next frame
    progress.hide();
}

QTEST_MAIN(frmExtendTest)
#include "tst_frmextend.moc"
