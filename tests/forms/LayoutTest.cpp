// The main window's layout on an exact double that holds fractional twips
// as assigned and raises the resize event synchronously.

#include <gtest/gtest.h>

#include <map>

#include "forms/frmExtend.h"
#include "forms/frmExtendLayout.h"

namespace {

using layout::Control;
using layout::Side;
using Values = std::map<std::pair<Control, Side>, float>;

Values designed() {
    namespace d = frmExtendDesign;
    Values values;
    auto put = [&](Control c, const twips::Rect& r) {
        values[{c, Side::Left}] = float(r.left);
        values[{c, Side::Top}] = float(r.top);
        values[{c, Side::Width}] = float(r.width);
        values[{c, Side::Height}] = float(r.height);
    };
    put(Control::fraTrendLocation, d::fraTrendLocation);
    put(Control::fraPath, d::fraPath);
    put(Control::drvConvert, d::drvConvert);
    put(Control::dirConvert, d::dirConvert);
    put(Control::filConvert, d::filConvert);
    put(Control::lblMultiSelect, d::lblMultiSelect);
    put(Control::fraButtons, d::fraButtons);
    return values;
}

class ExactWindow : public layout::ExtendGeometry {
public:
    ExactWindow(float width, float height) : clientWidth(width), clientHeight(height) {}

    Values values = designed();
    float clientWidth, clientHeight;
    float captionAndBorders = 525, borders = 90;
    bool minimized = false;
    std::vector<std::string> outerAssignments;
    int depth = 0, deepest = 0;

    void resizeEvent() {
        deepest = std::max(deepest, ++depth);
        layout::Form_Resize(*this);
        --depth;
    }
    bool isWindowMinimized() const override { return minimized; }
    float scaleWidth() const override { return clientWidth; }
    float scaleHeight() const override { return clientHeight; }
    void setOuterWidth(float value) override { setOuter("width", value, clientWidth, borders); }
    void setOuterHeight(float value) override {
        setOuter("height", value, clientHeight, captionAndBorders);
    }
    float get(Control c, Side s) const override { return values.at({c, s}); }
    void set(Control c, Side s, float value) override { values[{c, s}] = value; }

private:
    void setOuter(const char* what, float value, float& client, float decoration) {
        outerAssignments.push_back(std::string(what) + " " + std::to_string(int(value)) +
                                   " in run " + std::to_string(depth));
        if (value - decoration == client) return;
        client = value - decoration;
        resizeEvent();
    }
};

// The worked results for a client of 5760 by 5835 and of 6000 by 6000.
struct Worked {
    Control control;
    Side side;
    float designSize, sixThousand;
};
const Worked workedTable[] = {
    {Control::fraTrendLocation, Side::Width, 5280, 5520},
    {Control::fraTrendLocation, Side::Height, 3540, 3705},
    {Control::fraPath, Side::Width, 2280, 2400},
    {Control::filConvert, Side::Width, 2280, 2400},
    {Control::drvConvert, Side::Width, 2280, 2400},
    {Control::dirConvert, Side::Width, 2280, 2400},
    {Control::fraPath, Side::Height, 2325, 2490},
    {Control::filConvert, Side::Height, 2325, 2490},
    {Control::filConvert, Side::Left, 2760, 2880},
    {Control::dirConvert, Side::Height, 1890, 2055},
    {Control::fraButtons, Side::Top, 5100, 5265},
    {Control::fraButtons, Side::Left, 1665, 1905},
    {Control::lblMultiSelect, Side::Width, 4800, 5040},
    {Control::lblMultiSelect, Side::Top, 3045, 3210},
    {Control::lblMultiSelect, Side::Left, 240, 240},
};

TEST(Layout, GivesTheWorkedResults) {
    ExactWindow design(5760, 5835), six(6000, 6000);
    design.resizeEvent();
    six.resizeEvent();
    for (const Worked& row : workedTable) {
        EXPECT_EQ(design.get(row.control, row.side), row.designSize);
        EXPECT_EQ(six.get(row.control, row.side), row.sixThousand);
    }
    EXPECT_TRUE(design.outerAssignments.empty());
}

TEST(Layout, RoundsHalvesToEvenAndKeepsHalfTwips) {
    const std::pair<float, float> widths[] = {
        {6000.5f, 5520}, {6001.5f, 5522}, {6000.25f, 5520}, {6000.75f, 5521}};
    for (const auto& [client, frame] : widths) {
        ExactWindow window(client, 6000);
        window.resizeEvent();
        EXPECT_EQ(window.get(Control::fraTrendLocation, Side::Width), frame) << client;
    }
    ExactWindow odd(6001, 6000);  // w = 5041 after step 6
    odd.resizeEvent();
    for (Control c : {Control::fraPath, Control::filConvert, Control::drvConvert, Control::dirConvert})
        EXPECT_EQ(odd.get(c, Side::Width), 2400.5f);
    EXPECT_EQ(odd.get(Control::filConvert, Side::Left), 2880.5f);
}

TEST(Layout, LeavesAMinimizedWindowAloneAndEnforcesNothingAtTheMinimum) {
    ExactWindow minimized(1000, 1000);
    minimized.minimized = true;
    minimized.resizeEvent();
    EXPECT_EQ(minimized.values, designed());
    EXPECT_TRUE(minimized.outerAssignments.empty());

    ExactWindow exact(5500, 5500);
    exact.resizeEvent();
    EXPECT_TRUE(exact.outerAssignments.empty());
    ExactWindow justBelow(5500, 5499.5f);
    justBelow.resizeEvent();
    EXPECT_EQ(justBelow.outerAssignments.front(), "height 5500 in run 1");
}

TEST(Layout, EnforcesHeightThenWidthInNestedRuns) {
    ExactWindow window(4000, 4000);
    window.resizeEvent();
    const std::vector<std::string> expected = {"height 5500 in run 1", "height 5500 in run 2",
                                               "width 5500 in run 2",  "height 5500 in run 3",
                                               "width 5500 in run 3",  "width 5500 in run 1"};
    EXPECT_EQ(window.outerAssignments, expected);
    EXPECT_EQ(window.deepest, 3);

    // What the runs left behind is the layout of the final size.
    ExactWindow direct(5410, 4975);
    direct.resizeEvent();
    EXPECT_EQ(window.values, direct.values);
    EXPECT_EQ(window.get(Control::dirConvert, Side::Height), 4975.0f - 3945.0f);

    ExactWindow oneDimension(8000, 3000);
    oneDimension.resizeEvent();
    EXPECT_EQ(oneDimension.outerAssignments,
              (std::vector<std::string>{"height 5500 in run 1", "height 5500 in run 2"}));
}

}  // namespace
