// The Qt help window: one at a time, rebuilt after Close, with the build's
// version line and Qt given the build's identity.

#include <QtTest>

#include "forms/frmHelp.h"
#include "qt/Toolkit.h"
#include "qt/frmExtend.h"
#include "qt/frmHelp.h"

namespace {

int helpWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<frmHelp*>(window) != nullptr;
    return count;
}

void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheBuildsIdentity();
    void isOneWindowDestroyedByCloseAndRebuiltByHelp();
};

void HelpTest::showsTheBuildsIdentity() {
    toolkit::useApplicationIdentity();
    QCOMPARE(QApplication::applicationName(), QString("Kelvane"));
    QCOMPARE(QApplication::applicationVersion(), QString("1.0.2"));
    QVERIFY(!QApplication::windowIcon().availableSizes().isEmpty());
    frmHelp::open();
    frmHelp* help = frmHelp::existing();
    QVERIFY(QTest::qWaitForWindowActive(help));
    QCOMPARE(help->windowTitle(), QString("Help"));
    QCOMPARE(help->lblVersion->text(), QString::fromStdString(VersionLine()));
    QVERIFY(help->lblVersion->text().startsWith("Kelvane version 1.00.002 "));
    QCOMPARE(help->Label3->text(), QString(frmHelpDesign::Paragraph3));
    QCOMPARE(help->minimumSize(), help->maximumSize());
    QCOMPARE(QApplication::focusWidget(), help->cmdClose);
    help->close();
    settle();
}

void HelpTest::isOneWindowDestroyedByCloseAndRebuiltByHelp() {
    frmExtend main;
    main.cmdHelp->click();
    frmHelp* first = frmHelp::existing();
    first->lblVersion->setText("kept");  // a second Help must not rebuild it
    main.cmdHelp->click();
    QCOMPARE(frmHelp::existing(), first);
    QCOMPARE(helpWindows(), 1);
    QCOMPARE(first->lblVersion->text(), QString("kept"));

    first->cmdClose->click();
    settle();
    QCOMPARE(helpWindows(), 0);
    main.cmdHelp->click();
    QCOMPARE(frmHelp::existing()->lblVersion->text(), QString::fromStdString(VersionLine()));
    frmHelp::existing()->close();  // the close box does what Close does
    settle();
    QCOMPARE(helpWindows(), 0);
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
