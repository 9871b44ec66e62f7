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

// The number a user typed: optional sign, decimal digits, optional decimal
// fraction, blanks around it. Fractions round to the nearest integer, halves
// to the even neighbour. Empty when it is no number or outside 16 bits.
std::optional<std::int16_t> ConvertToInt16(const QString& text);

class frmExtend : public QWidget {
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
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectHandlers();
    void setTabOrder();

    void drvConvert_Change();
    void dirConvert_Change();
    void cmdOK_Click();
    void cmdClose_Click();
    void CloseAll();

    bool m_running = false;
};
