#include <QApplication>

#include "qt/CommandLine.h"
#include "qt/Toolkit.h"
#include "qt/frmExtend.h"

int main(int argc, char* argv[]) {
    if (const int status = answerCommandLine(argc, argv); status >= 0) return status;
    QApplication application(argc, argv);
    toolkit::useApplicationIdentity();
    toolkit::useDialogFont();
    frmExtend window;
    window.form().Form_Load();
    window.show();
    return application.exec();
}
