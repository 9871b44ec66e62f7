#include "qt/Toolkit.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace toolkit {
namespace {

MessageHook messageHook;
EndHook endHook;
QPointer<QWidget> messageOwner;

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
    QApplication::setApplicationVersion(
        QString("%1.%2.%3").arg(identity::Major).arg(identity::Minor).arg(identity::Revision));
    QApplication::setWindowIcon(QIcon(":/icons/kelvane-256.png"));
}

void useDialogFont() {
    QFont font = QApplication::font();
    font.setFamilies({"MS Shell Dlg 2", "Liberation Sans", "Arial", "Nimbus Sans", "Sans Serif"});
    font.setPointSizeF(8);
    QApplication::setFont(font);
}

void setMessageOwner(QWidget* owner) { messageOwner = owner; }

void showMessage(const QString& text, MessageIcon icon) {
    if (messageHook) return messageHook(text, icon);
    QMessageBox box(boxIcon(icon), AppTitle, text, QMessageBox::Ok, messageOwner);
    box.setTextFormat(Qt::PlainText);  // file names are text, never markup
    box.exec();
}

void doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void endProgram() {
    static bool ending = false;
    if (ending) return;  // closing the main window below asks again
    ending = true;
    FlushRunUnderWay();  // what a run in progress changed is on disk first
    for (QWidget* window : QApplication::topLevelWidgets()) window->close();
    if (endHook) {
        endHook();
        ending = false;
        return;
    }
    // At once: no trend file is open at any point the user can get here, and
    // returning into a run that is still on the stack must not happen.
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

void setMessageHook(MessageHook hook) { messageHook = std::move(hook); }
void setEndHook(EndHook hook) { endHook = std::move(hook); }

}  // namespace toolkit
