#include <QApplication>

#include "qt/Toolkit.h"
#include "qt/frmExtend.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    toolkit::useApplicationIdentity();
    toolkit::useDialogFont();
    frmExtend window;
    window.Form_Load();
    window.show();
    return application.exec();
}
