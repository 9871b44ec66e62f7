// The windows as the X server shows them under a real window manager
// (openbox): the progress window's label is on screen naming the first file
// as it is treated, and the file of each box beside it; a message box, plain
// text over the main window, leaves the progress window above it. Run by under-openbox, never
// offscreen.

#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "TrendFixtures.h"
#include "qt/frmExtend.h"

namespace {

// The progress window, once a run made it.
QWidget& progressWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "frmConverting") return *window;
    qFatal("no progress window");
}

// True when the screen shows, where the label stands, what the progress
// window paints there: the label, painted, with nothing over it.
bool labelIsOnScreen() {
    QWidget& window = progressWindow();
    const QRect label = window.findChild<QLabel*>("lblFileName")->geometry();
    const QPoint where = window.mapToGlobal(label.topLeft());
    const QImage screen = QGuiApplication::primaryScreen()
                              ->grabWindow(0, where.x(), where.y(), label.width(), label.height())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    return screen == window.grab(label).toImage().convertToFormat(QImage::Format_RGB32);
}

// The window manager's stacking order, bottom to top.
QList<WId> stackingOrder() {
    QProcess xprop;
    xprop.start("xprop", {"-root", "-notype", "_NET_CLIENT_LIST_STACKING"});
    xprop.waitForFinished();
    QList<WId> order;
    const QString line = QString::fromLatin1(xprop.readAllStandardOutput());
    for (const QString& id : line.section('#', 1).split(',', Qt::SkipEmptyParts))
        order << id.trimmed().toULong(nullptr, 16);
    return order;
}

}  // namespace

class ScreenTest : public QObject {
    Q_OBJECT

    QStringList m_boxes, m_faults;
    QElapsedTimer m_boxUp;  // since the box waiting for an answer was shown

    // The screen shows `name` in the progress window, or does without help
    // within `wait`.
    void expectShown(const QString& name, int wait) {
        QDeadlineTimer deadline(wait);
        bool seen = false;
        while (!(seen = labelIsOnScreen()) && !deadline.hasExpired()) QThread::msleep(50);
        const QString label = progressWindow().findChild<QLabel*>("lblFileName")->text();
        if (!seen || label != name) m_faults << "unseen " + name;
    }
    // The box over `window` once it is on top, its look recorded; answered with OK.
    void answerBox(const QWidget& window) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->windowHandle()->isExposed()) return;
        if (!m_boxUp.isValid()) m_boxUp.start();
        const QList<WId> order = stackingOrder();
        const bool onTop = !order.isEmpty() && order.last() == box->winId();
        // On top once the window manager has taken it; openbox slowed by load
        // may leave it below, and it is answered after ten seconds.
        if (!onTop && m_boxUp.elapsed() < 10000) return;
        m_boxUp.invalidate();
        m_boxes << QString("%1 %2").arg(box->icon()).arg(box->text().section('\r', 0, 0));
        if (box->parentWidget() != &window || box->textFormat() != Qt::PlainText ||
            box->windowTitle() != "Kelvane" || box->buttons().size() != 1)
            m_faults << "misshapen " + m_boxes.last();
        QWidget& progress = progressWindow();
        if (progress.isVisible()) expectShown("b<u>", 500);  // the box's own file
        if (progress.isVisible() && order.indexOf(progress.winId()) < order.indexOf(window.winId()))
            m_faults << "behind " + m_boxes.last();
        box->button(QMessageBox::Ok)->click();
    }

private slots:
    // The first file is slow to open, the second gets a box, two more follow
    // too fast for a frame of their own.
    void theProgressWindowIsSeenNamingEachFileThroughBoxes() {
        QVERIFY2(QGuiApplication::platformName() == "xcb", "needs an X server");
        TempFolder folder;
        for (const char* name : {"a.hst", "c.hst", "d.hst"})
            folder.write(name, trendFile(validHeader(7)));
        folder.write("b<u>.hst", Bytes(200, 1));  // a name that looks like markup
        QDir::setCurrent(QString::fromStdString(folder.path().string()));  // the window opens there
        SpyFiles files;  // its run goes through this double
        frmExtend window(files);
        window.findChild<QListView*>("filConvert")->selectAll();
        window.findChild<QLineEdit*>("txtNoFiles")->setText("9");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // While the first file is treated no event runs: the screen must
        // already show its name, or show it within the slow open.
        files.before = [&](SpyFiles::Step step, const std::string& name) {
            if (step == SpyFiles::Step::Open && name == "a.hst") expectShown("a", 1500);
        };
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] { answerBox(window); });
        answer.start(100);
        window.findChild<QPushButton*>("cmdOK")->click();
        QCOMPARE(m_boxes, QStringList({"3 " + QString::fromStdString(invalidText("b<u>.hst")),
                                       "0 Conversion is complete."}));
        QVERIFY2(m_faults.isEmpty(), qPrintable(m_faults.join(", ")));
    }
};

QTEST_MAIN(ScreenTest)
#include "tst_screen.moc"
