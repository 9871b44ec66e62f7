// Helper for the window tests: starts a run over every file of the folder it
// is given and presses Close during the run's third event pass. Prints
// "syncfs" for each flush of the folder's file system. Exits 0 only through
// the program's own end; 3 if the run came back.

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>

#include "platform/PosixCalls.h"
#include "qt/Toolkit.h"
#include "qt/frmExtend.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) return 2;
    toolkit::setMessageHook([](const QString&, MessageIcon) {});
    platform::posix::calls().syncfs = [](int fd) {
        return ::write(STDOUT_FILENO, "syncfs\n", 7) == 7 ? ::syncfs(fd) : -1;
    };
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));  // the window opens there
    frmExtend window;
    window.findChild<QListView*>("filConvert")->selectAll();
    window.findChild<QLineEdit*>("txtNoFiles")->setText("513");
    int passes = 0;
    QTimer everyPass;
    QObject::connect(&everyPass, &QTimer::timeout, [&] {
        if (++passes == 3) window.findChild<QPushButton*>("cmdClose")->click();
    });
    everyPass.start(0);
    window.findChild<QPushButton*>("cmdOK")->click();
    return 3;
}
