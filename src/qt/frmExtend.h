#pragma once

// The main window on Qt Widgets: the design's controls, bound to what the
// window decides (its ExtendForm) and to its layout.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "forms/frmExtend.h"
#include "forms/frmExtendLayout.h"
#include "qt/DirList.h"
#include "qt/FileList.h"

class frmExtend : public QWidget, private ExtendWindow, private layout::ExtendGeometry {
    Q_OBJECT
public:
    // Opens with the process's current folder in its lists; `files` is the
    // file layer its lists and runs go through.
    explicit frmExtend(platform::FileAccess& files = platform::nativeFileAccess());

    ExtendForm& form() { return m_form; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectHandlers();
    void setTabOrder();

    // The lists show what the browsing model holds.
    void driveShown() override;
    void foldersShown() override;
    void filesShown() override;

    // What the window's decisions ask of the controls.
    std::string numberText() const override;
    std::vector<std::string> selectedFileNames() const override;
    void showMessage(const std::string& text, MessageIcon icon) override;
    void doEvents() override;
    std::unique_ptr<ConvertingWindow> makeConvertingWindow() override;
    std::unique_ptr<HelpWindow> makeHelpWindow() override;
    void closeWindow() override { hide(); }
    void endProgram() override;

    // The layout's view of this window, in twips.
    bool isWindowMinimized() const override;
    float scaleWidth() const override;
    float scaleHeight() const override;
    void setOuterWidth(float value) override;
    void setOuterHeight(float value) override;
    float get(layout::Control control, layout::Side side) const override;
    void set(layout::Control control, layout::Side side, float value) override;
    QWidget* widgetOf(layout::Control control) const;
    const FolderBrowser& browser() const { return m_form.browser(); }

    ExtendForm m_form;

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* txtNoFiles;
    QGroupBox* fraTrendLocation;
    QWidget* fraPath;
    QComboBox* drvConvert;
    DirList* dirConvert;
    FileList* filConvert;
    QLabel* lblMultiSelect;
    QWidget* fraButtons;
    QPushButton* cmdOK;
    QPushButton* cmdClose;
    QPushButton* cmdHelp;
};
