// The main window's layout on the real Qt window: the shared steps see the
// widgets as they are.

#include <QtTest>
#include <map>

#include "qt/Controls.h"
#include "qt/frmExtend.h"
#include "forms/frmExtendLayout.h"

using layout::Control;
using layout::Side;
using Property = std::pair<Control, Side>;

namespace {

struct Expected {
    Property property;
    float value;
};

// The worked results for a client of 5760 by 5835 and of 6000 by 6000.
const std::vector<std::pair<Expected, float>> workedTable = {
    {{{Control::fraTrendLocation, Side::Width}, 5280}, 5520},
    {{{Control::fraTrendLocation, Side::Height}, 3540}, 3705},
    {{{Control::fraPath, Side::Width}, 2280}, 2400},
    {{{Control::filConvert, Side::Width}, 2280}, 2400},
    {{{Control::drvConvert, Side::Width}, 2280}, 2400},
    {{{Control::dirConvert, Side::Width}, 2280}, 2400},
    {{{Control::fraPath, Side::Height}, 2325}, 2490},
    {{{Control::filConvert, Side::Height}, 2325}, 2490},
    {{{Control::filConvert, Side::Left}, 2760}, 2880},
    {{{Control::dirConvert, Side::Height}, 1890}, 2055},
    {{{Control::fraButtons, Side::Top}, 5100}, 5265},
    {{{Control::fraButtons, Side::Left}, 1665}, 1905},
    {{{Control::lblMultiSelect, Side::Width}, 4800}, 5040},
    {{{Control::lblMultiSelect, Side::Top}, 3045}, 3210},
    {{{Control::lblMultiSelect, Side::Left}, 240}, 240},
};

class RealWindowGeometry {
public:
    explicit RealWindowGeometry(frmExtend& window) : m_window(window) {}
    float get(Control c, Side s) const {
        const QWidget* widget = widgetOf(c);
        switch (s) {
            case Side::Left:
                return twips::left(widget);
            case Side::Top:
                return twips::top(widget);
            case Side::Width:
                return twips::width(widget);
            case Side::Height:
                return twips::height(widget);
        }
        return 0;
    }

private:
    const QWidget* widgetOf(Control c) const {
        switch (c) {
            case Control::fraTrendLocation:
                return m_window.fraTrendLocation;
            case Control::fraPath:
                return m_window.fraPath;
            case Control::filConvert:
                return m_window.filConvert;
            case Control::drvConvert:
                return m_window.drvConvert;
            case Control::dirConvert:
                return m_window.dirConvert;
            case Control::lblMultiSelect:
                return m_window.lblMultiSelect;
            case Control::fraButtons:
                return m_window.fraButtons;
        }
        return nullptr;
    }
    frmExtend& m_window;
};

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void theRealWindowLaysOutAsWorked_data();
    void theRealWindowLaysOutAsWorked();
    void theRealWindowKeepsItsMinimum();
};

void LayoutTest::theRealWindowLaysOutAsWorked_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("second");
    QTest::newRow("design size, 384 by 389") << 384 << 389 << false;
    QTest::newRow("400 by 400") << 400 << 400 << true;
}

void LayoutTest::theRealWindowLaysOutAsWorked() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, second);
    frmExtend window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(width, height);
    QCOMPARE(window.size(), QSize(width, height));
    RealWindowGeometry real(window);
    for (const auto& [first, secondValue] : workedTable) {
        const float expected = second ? secondValue : first.value;
        QCOMPARE(real.get(first.property.first, first.property.second), expected);
    }
}

void LayoutTest::theRealWindowKeepsItsMinimum() {
    frmExtend window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(200, 250);
    const QSize decoration = window.frameGeometry().size() - window.geometry().size();
    QCOMPARE(window.frameGeometry().size(), QSize(367, 367));  // 5500 twips, snapped
    QCOMPARE(window.size(), QSize(367, 367) - decoration);
    RealWindowGeometry real(window);
    QCOMPARE(real.get(Control::fraButtons, Side::Left),
             twips::fromPixels(window.width()) - 240 - 3855);
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
