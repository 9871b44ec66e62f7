#include "qt/frmExtend.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <cstdio>
#include <cstdlib>

#include "forms/FormTools.h"
#include "qt/Accessibility.h"
#include "qt/Controls.h"
#include "qt/Toolkit.h"
#include "qt/frmConverting.h"
#include "qt/frmHelp.h"
#include "trends/FileTools.h"

namespace design = frmExtendDesign;

frmExtend::frmExtend(platform::FileAccess& files) : m_form(*this, files) {
    setObjectName("frmExtend");
    setWindowTitle(toolkit::AppTitle);
    resize(twips::toPixels(design::ClientWidth), twips::toPixels(design::ClientHeight));
    createControls();
    connectHandlers();
    setTabOrder();
    centreOnScreen(this);
}

void frmExtend::createControls() {
    Label1 = makeLabel(this, "Label1", design::Label1Caption, design::Label1);
    Label2 = makeLabel(this, "Label2", design::Label2Caption, design::Label2);
    Label2->setTextFormat(Qt::AutoText);                         // shows the access key
    for (QLabel* label : {Label1, Label2}) label->adjustSize();  // one line, sized to its caption
    txtNoFiles = makeControl<QLineEdit>(this, "txtNoFiles", design::txtNoFiles);
    Label2->setBuddy(txtNoFiles);

    fraTrendLocation = makeControl<QGroupBox>(this, "fraTrendLocation", design::fraTrendLocation);
    fraTrendLocation->setTitle(design::TrendLocationCaption);
    fraPath = makeControl<QWidget>(fraTrendLocation, "fraPath", design::fraPath);
    drvConvert = makeControl<QComboBox>(fraPath, "drvConvert", design::drvConvert);
    for (const std::string& drive : browser().drives())
        drvConvert->addItem(
            QString::fromStdString(shownName(drive)));  // a mount point may hold any byte
    dirConvert = makeControl<DirList>(fraPath, "dirConvert", design::dirConvert);
    filConvert = makeControl<FileList>(fraTrendLocation, "filConvert", design::filConvert);
    driveShown();
    foldersShown();
    filesShown();
    lblMultiSelect = makeLabel(fraTrendLocation, "lblMultiSelect", design::MultiSelectCaption,
                               design::lblMultiSelect);
    lblMultiSelect->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    fraButtons = makeControl<QWidget>(this, "fraButtons", design::fraButtons);
    cmdOK = makeButton(fraButtons, "cmdOK", design::OkCaption, design::cmdOK);
    cmdOK->setDefault(true);
    cmdClose = makeButton(fraButtons, "cmdClose", design::CloseCaption, design::cmdClose);
    cmdHelp = makeButton(fraButtons, "cmdHelp", design::HelpCaption, design::cmdHelp);
    accessibility::nameControls(this, design::AccessibleNames);
}

void frmExtend::connectHandlers() {
    connect(drvConvert, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_form.drvConvert_Change(index); });
    connect(dirConvert, &DirList::openRequested, this,
            [this](int row) { m_form.browser().openFolderAt(row); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { m_form.cmdOK_Click(); });
    connect(cmdHelp, &QPushButton::clicked, this, [this] { m_form.cmdHelp_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { m_form.CloseAll(); });
}

void frmExtend::setTabOrder() {
    const QList<QWidget*> order = {txtNoFiles, drvConvert, dirConvert, filConvert,
                                   cmdOK,      cmdClose,   cmdHelp};
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    txtNoFiles->setFocus();  // the first control in tab order that takes the focus
}

void frmExtend::driveShown() {
    const QSignalBlocker quiet(drvConvert);  // shown, not chosen: no change event
    drvConvert->setCurrentIndex(browser().drive());
}

void frmExtend::foldersShown() {
    dirConvert->showFolders(browser().folders(), browser().openFolderRow());
}

void frmExtend::filesShown() { filConvert->showFiles(browser().files()); }

std::string frmExtend::numberText() const { return txtNoFiles->text().toStdString(); }

std::vector<std::string> frmExtend::selectedFileNames() const {
    return GetSelectedItems(*filConvert);
}

void frmExtend::showMessage(const std::string& text, MessageIcon icon) {
    toolkit::showMessage(this, QString::fromStdString(text), icon);
}

void frmExtend::doEvents() { toolkit::doEvents(); }

std::unique_ptr<ConvertingWindow> frmExtend::makeConvertingWindow() {
    return std::make_unique<frmConverting>(this);
}

std::unique_ptr<HelpWindow> frmExtend::makeHelpWindow() { return std::make_unique<frmHelp>(); }

void frmExtend::endProgram() {
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

void frmExtend::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout::Form_Resize(*this);
}

void frmExtend::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) layout::Form_Resize(*this);
}

bool frmExtend::isWindowMinimized() const { return windowState() & Qt::WindowMinimized; }
float frmExtend::scaleWidth() const { return twips::fromPixels(width()); }
float frmExtend::scaleHeight() const { return twips::fromPixels(height()); }

void frmExtend::setOuterWidth(float value) {
    const int decoration = frameGeometry().width() - geometry().width();
    const int client = twips::toPixels(value) - decoration;
    if (client != width()) resize(client, height());
}

void frmExtend::setOuterHeight(float value) {
    const int decoration = frameGeometry().height() - geometry().height();
    const int client = twips::toPixels(value) - decoration;
    if (client != height()) resize(width(), client);
}

QWidget* frmExtend::widgetOf(layout::Control control) const {
    switch (control) {
        case layout::Control::fraTrendLocation:
            return fraTrendLocation;
        case layout::Control::fraPath:
            return fraPath;
        case layout::Control::filConvert:
            return filConvert;
        case layout::Control::drvConvert:
            return drvConvert;
        case layout::Control::dirConvert:
            return dirConvert;
        case layout::Control::lblMultiSelect:
            return lblMultiSelect;
        case layout::Control::fraButtons:
            return fraButtons;
    }
    return nullptr;
}

float frmExtend::get(layout::Control control, layout::Side side) const {
    const QWidget* widget = widgetOf(control);
    switch (side) {
        case layout::Side::Left:
            return twips::left(widget);
        case layout::Side::Top:
            return twips::top(widget);
        case layout::Side::Width:
            return twips::width(widget);
        case layout::Side::Height:
            return twips::height(widget);
    }
    return 0;
}

void frmExtend::set(layout::Control control, layout::Side side, float value) {
    QWidget* widget = widgetOf(control);
    switch (side) {
        case layout::Side::Left:
            return twips::setLeft(widget, value);
        case layout::Side::Top:
            return twips::setTop(widget, value);
        case layout::Side::Width:
            return twips::setWidth(widget, value);
        case layout::Side::Height:
            return twips::setHeight(widget, value);
    }
}

void frmExtend::keyPressEvent(QKeyEvent* event) {
    // Enter reaches the window when the focused control does not use it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdOK->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmExtend::closeEvent(QCloseEvent* event) {
    m_form.CloseAll();
    event->accept();
}
