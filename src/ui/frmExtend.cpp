#include "frmExtend.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>
#include <limits>

#include "Controls.h"
#include "FormTools.h"
#include "Toolkit.h"
#include "Twips.h"
#include "frmConverting.h"
#include "frmHelp.h"

namespace {

// Designed geometry, in twips, each relative to its container.
constexpr double ClientWidth = 5760, ClientHeight = 5835;
constexpr twips::Rect Label1Rect{240, 240, 4770, 195};
constexpr twips::Rect Label2Rect{240, 840, 1995, 195};
constexpr twips::Rect NoFilesRect{2520, 840, 855, 285};
constexpr twips::Rect TrendLocationRect{240, 1320, 5295, 3735};
constexpr twips::Rect PathRect{240, 480, 2175, 2775};
constexpr twips::Rect DriveRect{0, 0, 2175, 315};
constexpr twips::Rect DirRect{0, 360, 2175, 2340};
constexpr twips::Rect FilesRect{2520, 480, 2535, 2625};
constexpr twips::Rect MultiSelectRect{240, 3360, 4815, 255};
constexpr twips::Rect ButtonsRect{1680, 5160, 3855, 495};
constexpr twips::Rect OkRect{0, 120, 1215, 375};
constexpr twips::Rect CloseRect{1320, 120, 1215, 375};
constexpr twips::Rect HelpRect{2640, 120, 1215, 375};

const QString StartDrive = QStringLiteral("c:");
const QString StartFolder = QStringLiteral("c:\\velmar\\data");

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption,
                  const twips::Rect& rect) {
    auto* label = makeControl<QLabel>(parent, name, rect);
    label->setText(caption);
    return label;
}

// A label that sizes itself to its one-line caption, keeping its position.
QLabel* makeAutoSizeLabel(QWidget* parent, const char* name, const QString& caption,
                          const twips::Rect& rect) {
    auto* label = makeLabel(parent, name, caption, rect);
    label->adjustSize();
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const twips::Rect& rect) {
    auto* button = makeControl<QPushButton>(parent, name, rect);
    button->setText(caption);
    button->setAutoDefault(true);  // Enter presses the button that has the focus
    return button;
}

// The drive's current folder: the process's own when it lies on that drive.
QString currentFolderOn(const QString& drive) {
    if (DriveList::holds(drive, QDir::currentPath())) return QDir::currentPath();
    const QString root = QDir::fromNativeSeparators(drive);
    return root.endsWith('/') ? root : root + '/';
}

}  // namespace

std::optional<std::int16_t> ConvertToInt16(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral(R"(^[ \t]*([+-]?)([0-9]*)(?:\.([0-9]*))?[ \t]*$)"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch()) return std::nullopt;
    QString whole = match.captured(2);
    const QString fraction = match.captured(3);
    if (whole.isEmpty() && fraction.isEmpty()) return std::nullopt;
    while (whole.startsWith('0')) whole.remove(0, 1);
    if (whole.size() > 6) return std::nullopt;
    long value = whole.isEmpty() ? 0 : whole.toLong();
    if (!fraction.isEmpty()) {
        const QChar first = fraction[0];
        const bool beyondHalf = fraction.mid(1).contains(QRegularExpression("[1-9]"));
        if (first > '5' || (first == '5' && (beyondHalf || value % 2 == 1))) ++value;
    }
    if (match.captured(1) == "-") value = -value;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return std::int16_t(value);
}

frmExtend::frmExtend() {
    setObjectName("frmExtend");
    setWindowTitle(toolkit::AppTitle);
    resize(twips::toPixels(ClientWidth), twips::toPixels(ClientHeight));
    createControls();
    connectHandlers();
    setTabOrder();
    centreOnScreen(this);
}

void frmExtend::createControls() {
    Label1 = makeAutoSizeLabel(
        this, "Label1", "Increases the number of history files while preserving existing history",
        Label1Rect);
    Label2 = makeAutoSizeLabel(this, "Label2", "New &Number of History Files", Label2Rect);
    txtNoFiles = makeControl<QLineEdit>(this, "txtNoFiles", NoFilesRect);
    Label2->setBuddy(txtNoFiles);

    fraTrendLocation = makeControl<QGroupBox>(this, "fraTrendLocation", TrendLocationRect);
    fraTrendLocation->setTitle("Trends Location");
    fraPath = makeControl<QWidget>(fraTrendLocation, "fraPath", PathRect);
    drvConvert = makeControl<DriveList>(fraPath, "drvConvert", DriveRect);
    dirConvert = makeControl<DirList>(fraPath, "dirConvert", DirRect);
    filConvert = makeControl<FileList>(fraTrendLocation, "filConvert", FilesRect);
    filConvert->setPattern("*.hst");
    filConvert->setPath(dirConvert->path());
    drvConvert->showDriveOf(dirConvert->path());
    lblMultiSelect = makeLabel(fraTrendLocation, "lblMultiSelect",
                               "Hold the Control key to select multiple trends", MultiSelectRect);
    lblMultiSelect->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    fraButtons = makeControl<QWidget>(this, "fraButtons", ButtonsRect);
    cmdOK = makeButton(fraButtons, "cmdOK", "OK", OkRect);
    cmdOK->setDefault(true);
    cmdClose = makeButton(fraButtons, "cmdClose", "Close", CloseRect);
    cmdHelp = makeButton(fraButtons, "cmdHelp", "Help", HelpRect);
}

void frmExtend::connectHandlers() {
    connect(drvConvert, &DriveList::changed, this, &frmExtend::drvConvert_Change);
    connect(dirConvert, &DirList::changed, this, &frmExtend::dirConvert_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmExtend::cmdOK_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmExtend::cmdHelp_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmExtend::cmdClose_Click);
}

void frmExtend::setTabOrder() {
    const QList<QWidget*> order = {txtNoFiles, drvConvert, dirConvert, filConvert,
                                   cmdOK,      cmdClose,   cmdHelp};
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    for (QLabel* label : {Label1, Label2, lblMultiSelect}) label->setFocusPolicy(Qt::NoFocus);
    txtNoFiles->setFocus();  // the first control in tab order that takes the focus
}

void frmExtend::Form_Load() {
    // A machine without the usual drive or folder simply stays where it is.
    try {
        drvConvert->setDrive(StartDrive);
    } catch (const platform::Error&) {
    }
    try {
        dirConvert->setPath(StartFolder);
    } catch (const platform::Error&) {
    }
}

void frmExtend::drvConvert_Change() {
    try {
        dirConvert->setPath(currentFolderOn(drvConvert->drive()));
    } catch (const platform::Error& error) {
        toolkit::showMessage(QString("Error %1 %2")
                                 .arg(error.number())
                                 .arg(QString::fromStdString(error.description())),
                             MessageIcon::Exclamation);
    }
}

void frmExtend::dirConvert_Change() {
    filConvert->setPath(dirConvert->path());
    drvConvert->showDriveOf(dirConvert->path());
}

void frmExtend::cmdOK_Click() {
    if (m_running) return;  // OK pressed during a run's event pass
    const std::optional<std::int16_t> count = ConvertToInt16(txtNoFiles->text());
    if (!count || *count < 1) {
        toolkit::showMessage("Please enter the number of files", MessageIcon::None);
        return;
    }
    std::vector<std::string> names;
    try {
        names = GetSelectedItems(*filConvert);
    } catch (const platform::Error&) {
    }
    if (names.empty()) {
        toolkit::showMessage("Please select one or more trend files", MessageIcon::None);
        return;
    }
    m_running = true;
    ConvertingView view;
    ExtendTrends(view, QFile::encodeName(dirConvert->path()).toStdString(), names, *count);
    m_running = false;
}

void frmExtend::Form_Resize() {
    try {
        layout::Form_Resize(*this);
    } catch (const platform::Error&) {
        // No size the minimum lets through makes a step fail; should one, the
        // controls keep what was assigned before it.
    }
}

void frmExtend::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmExtend::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
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

void frmExtend::cmdHelp_Click() { frmHelp::open(); }

void frmExtend::cmdClose_Click() { CloseAll(); }

void frmExtend::CloseAll() { toolkit::endProgram(); }

void frmExtend::keyPressEvent(QKeyEvent* event) {
    // Enter reaches the window when the focused control does not use it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdOK->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmExtend::closeEvent(QCloseEvent* event) {
    CloseAll();
    event->accept();
}
