#pragma once

// The main window's layout: keeps the window from being made smaller than a
// minimum and stretches its frames, lists and hint label after every resize.
// Written against ExtendGeometry, so that the same steps drive the window of
// either front end.

namespace layout {

enum class Control {
    fraTrendLocation,
    fraPath,
    filConvert,
    drvConvert,
    dirConvert,
    lblMultiSelect,
    fraButtons
};
enum class Side { Left, Top, Width, Height };

// The smallest outer width and height the window may have, in twips.
inline constexpr float MinimumSize = 5500;

// What the layout reads and writes, in twips, as single-precision values.
class ExtendGeometry {
public:
    virtual ~ExtendGeometry() = default;
    virtual bool isWindowMinimized() const = 0;
    virtual float scaleWidth() const = 0;  // client area
    virtual float scaleHeight() const = 0;
    // Takes effect at once; when the size changes, the window runs its resize
    // handler (nested) before returning.
    virtual void setOuterWidth(float value) = 0;
    virtual void setOuterHeight(float value) = 0;
    virtual float get(Control control, Side side) const = 0;
    virtual void set(Control control, Side side, float value) = 0;
};

void Form_Resize(ExtendGeometry& window);
void ArrangePathControls(ExtendGeometry& window);

}  // namespace layout
