#pragma once

// The main window: pick a folder, select trend files, type the new number
// of history files and press OK.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "DirList.h"
#include "DriveList.h"
#include "FileList.h"
#include "frmExtendLayout.h"

// The number a user typed: optional sign, decimal digits, optional decimal
// fraction, blanks around it. Fractions round to the nearest integer, halves
// to the even neighbour. Empty when it is no number or outside 16 bits.
std::optional<std::int16_t> ConvertToInt16(const QString& text);

class frmExtend : public QWidget, private layout::ExtendGeometry {
    Q_OBJECT
public:
    frmExtend();

    // Sets the start-up drive and folder; call once before the first show.
    void Form_Load();

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* txtNoFiles;
    QGroupBox* fraTrendLocation;
    QWidget* fraPath;
    DriveList* drvConvert;
    DirList* dirConvert;
    FileList* filConvert;
    QLabel* lblMultiSelect;
    QWidget* fraButtons;
    QPushButton* cmdOK;
    QPushButton* cmdClose;
    QPushButton* cmdHelp;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectHandlers();
    void setTabOrder();

    void Form_Resize();
    void drvConvert_Change();
    void dirConvert_Change();
    void cmdOK_Click();
    void cmdHelp_Click();
    void cmdClose_Click();
    void CloseAll();

    // The layout's view of this window, in twips.
    bool isWindowMinimized() const override;
    float scaleWidth() const override;
    float scaleHeight() const override;
    void setOuterWidth(float value) override;
    void setOuterHeight(float value) override;
    float get(layout::Control control, layout::Side side) const override;
    void set(layout::Control control, layout::Side side, float value) override;
    QWidget* widgetOf(layout::Control control) const;

    bool m_running = false;
};
