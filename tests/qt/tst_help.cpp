// The Qt help window: one at a time, destroyed by Close or its close box,
// rebuilt by Help with the build's version line; Qt has the build's identity.

#include <QtTest>

#include "forms/frmHelp.h"
#include "qt/Toolkit.h"
#include "qt/frmExtend.h"
#include "qt/frmHelp.h"

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void isOneWindowDestroyedByCloseAndRebuiltByHelp();
};

void HelpTest::isOneWindowDestroyedByCloseAndRebuiltByHelp() {
    toolkit::useApplicationIdentity();
    QCOMPARE(QApplication::applicationVersion(), QString("1.0.2"));
    auto helpWindows = [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<frmHelp*>(w); });
    };
    frmExtend main;
    main.cmdHelp->click();
    frmHelp* help = frmHelp::existing();
    QCOMPARE(help->lblVersion->text(), QString::fromStdString(VersionLine()));
    help->lblVersion->setText("kept");  // a second Help must not rebuild it
    main.cmdHelp->click();
    QCOMPARE(frmHelp::existing(), help);
    QCOMPARE(helpWindows(), 1);
    QCOMPARE(help->lblVersion->text(), QString("kept"));
    for (const bool closeBox : {false, true}) {
        if (closeBox) frmHelp::existing()->close();
        else help->cmdClose->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!frmHelp::existing());
        main.cmdHelp->click();
        QCOMPARE(frmHelp::existing()->lblVersion->text(), QString::fromStdString(VersionLine()));
    }
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
