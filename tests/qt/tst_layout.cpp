// The shared layout on the real Qt window: it reads and writes the widgets
// themselves, and the window keeps its minimum.

#include <QtTest>

#include "qt/frmExtend.h"

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void laysOutTheRealWindowAsWorked();
};

// The worked results for a client of 6000 by 6000 twips, 400 by 400 pixels.
void LayoutTest::laysOutTheRealWindowAsWorked() {
    frmExtend window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(400, 400);
    QCOMPARE(window.fraTrendLocation->geometry(), QRect(16, 88, 368, 247));  // 5520 by 3705
    QCOMPARE(window.fraPath->size(), QSize(160, 166));                       // 2400 by 2490
    QCOMPARE(window.filConvert->geometry(), QRect(192, 32, 160, 166));       // left 2880
    QCOMPARE(window.drvConvert->width(), 160);
    QCOMPARE(window.dirConvert->size(), QSize(160, 137));                    // 2055 high
    QCOMPARE(window.fraButtons->pos(), QPoint(127, 351));                    // 1905, 5265
    QCOMPARE(window.lblMultiSelect->geometry(), QRect(16, 214, 336, 17));    // 240, 3210, 5040

    window.resize(200, 250);  // below the minimum: 5500 twips outside, snapped
    QCOMPARE(window.frameGeometry().size(), QSize(367, 367));
    QCOMPARE(window.fraButtons->x(), window.width() - 16 - 257);
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
