#include "qt/Toolkit.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMessageBox>

#include "forms/DialogFont.h"

namespace toolkit {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void useApplicationIdentity() {
    QApplication::setApplicationName(AppTitle);
    QApplication::setWindowIcon(QIcon(":/icons/kelvane-256.png"));
}

void useDialogFont() {
    QFont font = QApplication::font();
    // Where the dialog font is missing (off Windows), common sans-serif fonts.
    font.setFamilies({dialogFont::Name, "Liberation Sans", "Arial", "Nimbus Sans", "Sans Serif"});
    font.setPointSizeF(dialogFont::PointSize);
    QApplication::setFont(font);
}

void showMessage(QWidget* owner, const QString& text, MessageIcon icon) {
    QMessageBox box(boxIcon(icon), AppTitle, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);  // file names are text, never markup
    box.exec();
}

void doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace toolkit
