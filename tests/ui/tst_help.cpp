// The help window: one at a time, rebuilt after Close, its texts and the
// version line the build gives it.

#include <QtTest>

#include "Toolkit.h"
#include "frmExtend.h"
#include "frmHelp.h"

namespace {

int helpWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<frmHelp*>(window)) ++count;
    return count;
}

void closeAndSettle(frmHelp* help) {
    help->cmdClose->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void formatsTheVersionLine_data();
    void formatsTheVersionLine();
    void showsTheBuildsIdentity();
    void givesQtTheBuildsIdentity();
    void helpTwiceLeavesOneWindow();
    void closeDestroysAndHelpRebuilds();
    void theCloseBoxDoesWhatCloseDoes();
    void isLaidOutAsDesigned();
    void mainWindowCloseClosesHelpToo();
};

void HelpTest::cleanup() {
    if (frmHelp* help = frmHelp::existing()) closeAndSettle(help);
    QCOMPARE(helpWindows(), 0);
}

void HelpTest::formatsTheVersionLine_data() {
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("comments");
    QTest::addColumn<QString>("line");
    QTest::newRow("this version") << 0 << 2 << "by us"
                                  << "Kelvane version 1.00.002 by us";
    QTest::newRow("minor 5") << 5 << 2 << "x"
                             << "Kelvane version 1.05.002 x";
    QTest::newRow("revision 12") << 0 << 12 << "x"
                                 << "Kelvane version 1.00.012 x";
    QTest::newRow("revision 1234") << 10 << 1234 << "x"
                                   << "Kelvane version 1.10.1234 x";
    QTest::newRow("no by-line") << 0 << 2 << ""
                                << "Kelvane version 1.00.002 ";
    QTest::newRow("percent in by-line") << 0 << 2 << "100%1"
                                        << "Kelvane version 1.00.002 100%1";
}

void HelpTest::formatsTheVersionLine() {
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, comments);
    QFETCH(QString, line);
    QCOMPARE(VersionLine("Kelvane", 1, minor, revision, comments), line);
}

void HelpTest::showsTheBuildsIdentity() {
    frmHelp::open();
    frmHelp* help = frmHelp::existing();
    QCOMPARE(help->windowTitle(), QString("Help"));
    QCOMPARE(help->lblVersion->text(), QString("Kelvane version 1.00.002 Trend file extender"));
    QVERIFY(help->Label1->text().startsWith("Kelvane increases the number of history files"));
    QVERIFY(help->Label2->text().endsWith("click OK to begin converting."));
    QVERIFY(help->Label3->text().contains("You MUST also edit the Trend Tags list"));
    for (QLabel* paragraph : {help->Label1, help->Label2, help->Label3})
        QVERIFY(paragraph->wordWrap());
    QVERIFY(!help->lblVersion->wordWrap());
}

void HelpTest::givesQtTheBuildsIdentity() {
    toolkit::useApplicationIdentity();
    QCOMPARE(QApplication::applicationName(), QString("Kelvane"));
    QCOMPARE(QApplication::applicationVersion(), QString("1.0.2"));
    QVERIFY(!QApplication::windowIcon().availableSizes().isEmpty());
}

void HelpTest::helpTwiceLeavesOneWindow() {
    frmExtend main;
    main.cmdHelp->click();
    frmHelp* first = frmHelp::existing();
    first->lblVersion->setText("kept");  // a second Help must not rebuild it
    main.cmdHelp->click();
    QCOMPARE(frmHelp::existing(), first);
    QCOMPARE(helpWindows(), 1);
    QCOMPARE(first->lblVersion->text(), QString("kept"));
    QVERIFY(first->isVisible());
}

void HelpTest::closeDestroysAndHelpRebuilds() {
    frmExtend main;
    main.cmdHelp->click();
    frmHelp* first = frmHelp::existing();
    first->lblVersion->setText("old");
    closeAndSettle(first);
    QCOMPARE(frmHelp::existing(), nullptr);
    QCOMPARE(helpWindows(), 0);
    main.cmdHelp->click();
    QVERIFY(frmHelp::existing() != nullptr);
    QVERIFY(frmHelp::existing()->lblVersion->text().startsWith("Kelvane version 1.00.002 "));
}

void HelpTest::theCloseBoxDoesWhatCloseDoes() {
    frmHelp::open();
    frmHelp::existing()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(frmHelp::existing(), nullptr);
}

void HelpTest::isLaidOutAsDesigned() {
    frmHelp::open();
    frmHelp* help = frmHelp::existing();
    QVERIFY(QTest::qWaitForWindowActive(help));
    QCOMPARE(help->size(), QSize(386, 321));
    QCOMPARE(help->minimumSize(), help->maximumSize());
    QCOMPARE(help->lblVersion->geometry(), QRect(8, 8, 265, 17));
    QCOMPARE(help->Label1->geometry(), QRect(8, 32, 363, 81));
    QCOMPARE(help->Label2->geometry(), QRect(8, 120, 369, 57));
    QCOMPARE(help->Label3->geometry(), QRect(8, 184, 361, 89));
    QCOMPARE(help->cmdClose->geometry(), QRect(288, 280, 89, 33));
    QCOMPARE(QApplication::focusWidget(), help->cmdClose);
    QVERIFY(!help->cmdClose->isDefault());
}

void HelpTest::mainWindowCloseClosesHelpToo() {
    int ends = 0;
    toolkit::setEndHook([&] { ++ends; });
    frmExtend main;
    main.show();
    main.cmdHelp->click();
    main.cmdClose->click();
    toolkit::setEndHook({});
    QCOMPARE(ends, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(frmHelp::existing(), nullptr);
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
