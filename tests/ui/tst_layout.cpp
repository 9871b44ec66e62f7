// The main window's layout, on an exact double and on the real window.

#include <QtTest>
#include <map>

#include "Twips.h"
#include "frmExtend.h"
#include "frmExtendLayout.h"

using layout::Control;
using layout::Side;
using Property = std::pair<Control, Side>;
using Values = std::map<Property, float>;

namespace {

// The designed rectangles of the controls the layout reads or writes.
Values designed() {
    Values values;
    auto put = [&](Control c, float l, float t, float w, float h) {
        values[{c, Side::Left}] = l;
        values[{c, Side::Top}] = t;
        values[{c, Side::Width}] = w;
        values[{c, Side::Height}] = h;
    };
    put(Control::fraTrendLocation, 240, 1320, 5295, 3735);
    put(Control::fraPath, 240, 480, 2175, 2775);
    put(Control::drvConvert, 0, 0, 2175, 315);
    put(Control::dirConvert, 0, 360, 2175, 2340);
    put(Control::filConvert, 2520, 480, 2535, 2625);
    put(Control::lblMultiSelect, 240, 3360, 4815, 255);
    put(Control::fraButtons, 1680, 5160, 3855, 495);
    return values;
}

// Holds fractional twips exactly as assigned and raises the resize event
// synchronously when an assignment changes the outer size.
class ExactWindow : public layout::ExtendGeometry {
public:
    ExactWindow(float clientWidth, float clientHeight)
        : clientWidth(clientWidth), clientHeight(clientHeight) {}

    Values values = designed();
    float clientWidth, clientHeight;
    float captionAndBorders = 525, borders = 90;
    bool minimized = false;
    QStringList outerAssignments;
    int depth = 0, deepest = 0;

    void resizeEvent() {
        deepest = std::max(deepest, ++depth);
        layout::Form_Resize(*this);
        --depth;
    }
    bool isWindowMinimized() const override { return minimized; }
    float scaleWidth() const override { return clientWidth; }
    float scaleHeight() const override { return clientHeight; }
    void setOuterWidth(float value) override {
        outerAssignments << QString("width %1 in run %2").arg(value).arg(depth);
        if (value - borders == clientWidth) return;
        clientWidth = value - borders;
        resizeEvent();
    }
    void setOuterHeight(float value) override {
        outerAssignments << QString("height %1 in run %2").arg(value).arg(depth);
        if (value - captionAndBorders == clientHeight) return;
        clientHeight = value - captionAndBorders;
        resizeEvent();
    }
    float get(Control c, Side s) const override { return values.at({c, s}); }
    void set(Control c, Side s, float value) override { values[{c, s}] = value; }
};

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
    void givesTheWorkedResults_data();
    void givesTheWorkedResults();
    void roundsTheWorkingWidthHalfToEven_data();
    void roundsTheWorkingWidthHalfToEven();
    void anOddWorkingWidthGivesHalfTwips();
    void leavesAMinimizedWindowAlone();
    void enforcesNothingAtExactlyTheMinimum();
    void enforcesHeightThenWidthInNestedRuns();
    void enforcesOneDimensionInTwoRuns();
    void theRealWindowLaysOutAsWorked_data();
    void theRealWindowLaysOutAsWorked();
    void theRealWindowKeepsItsMinimum();
};

void LayoutTest::givesTheWorkedResults_data() {
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<bool>("second");
    QTest::newRow("design size") << 5760.0f << 5835.0f << false;
    QTest::newRow("6000 by 6000") << 6000.0f << 6000.0f << true;
}

void LayoutTest::givesTheWorkedResults() {
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(bool, second);
    ExactWindow window(width, height);
    window.resizeEvent();
    for (const auto& [first, secondValue] : workedTable) {
        const float expected = second ? secondValue : first.value;
        QCOMPARE(window.get(first.property.first, first.property.second), expected);
    }
    QVERIFY(window.outerAssignments.isEmpty());
}

void LayoutTest::roundsTheWorkingWidthHalfToEven_data() {
    QTest::addColumn<float>("clientWidth");
    QTest::addColumn<float>("frameWidth");
    QTest::newRow("6000.5") << 6000.5f << 5520.0f;
    QTest::newRow("6001.5") << 6001.5f << 5522.0f;
    QTest::newRow("6000.25") << 6000.25f << 5520.0f;
    QTest::newRow("6000.75") << 6000.75f << 5521.0f;
}

void LayoutTest::roundsTheWorkingWidthHalfToEven() {
    QFETCH(float, clientWidth);
    QFETCH(float, frameWidth);
    ExactWindow window(clientWidth, 6000);
    window.resizeEvent();
    QCOMPARE(window.get(Control::fraTrendLocation, Side::Width), frameWidth);
}

void LayoutTest::anOddWorkingWidthGivesHalfTwips() {
    ExactWindow window(6001, 6000);  // w = 5041 after step 6
    window.resizeEvent();
    for (Control c :
         {Control::fraPath, Control::filConvert, Control::drvConvert, Control::dirConvert})
        QCOMPARE(window.get(c, Side::Width), 2400.5f);
    QCOMPARE(window.get(Control::filConvert, Side::Left), 2880.5f);
}

void LayoutTest::leavesAMinimizedWindowAlone() {
    ExactWindow window(1000, 1000);
    window.minimized = true;
    window.resizeEvent();
    QVERIFY(window.values == designed());
    QVERIFY(window.outerAssignments.isEmpty());
    QCOMPARE(window.clientHeight, 1000.0f);
}

void LayoutTest::enforcesNothingAtExactlyTheMinimum() {
    ExactWindow window(5500, 5500);
    window.resizeEvent();
    QVERIFY(window.outerAssignments.isEmpty());
    QCOMPARE(window.get(Control::fraTrendLocation, Side::Width), 5020.0f);
    ExactWindow justBelow(5500, 5499.5f);
    justBelow.resizeEvent();
    QCOMPARE(justBelow.outerAssignments.first(), QString("height 5500 in run 1"));
}

void LayoutTest::enforcesHeightThenWidthInNestedRuns() {
    ExactWindow window(4000, 4000);
    window.resizeEvent();
    const QStringList expected = {"height 5500 in run 1", "height 5500 in run 2",
                                  "width 5500 in run 2",  "height 5500 in run 3",
                                  "width 5500 in run 3",  "width 5500 in run 1"};
    QCOMPARE(window.outerAssignments, expected);
    QCOMPARE(window.deepest, 3);
    QCOMPARE(window.clientWidth, 5410.0f);
    QCOMPARE(window.clientHeight, 4975.0f);

    // What the runs left behind is the layout of the final size.
    ExactWindow direct(5410, 4975);
    direct.resizeEvent();
    QVERIFY(window.values == direct.values);
    QCOMPARE(window.get(Control::dirConvert, Side::Height), 4975.0f - 3945.0f);
}

void LayoutTest::enforcesOneDimensionInTwoRuns() {
    ExactWindow window(8000, 3000);
    window.resizeEvent();
    QCOMPARE(window.outerAssignments,
             QStringList({"height 5500 in run 1", "height 5500 in run 2"}));
    QCOMPARE(window.deepest, 2);
    QCOMPARE(window.clientWidth, 8000.0f);
}

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
