// A child process for the benchmark. Modes:
//   startup_probe kelvane      the main window as the program starts it
//   startup_probe minimal      one empty window of the same size
//   startup_probe list FOLDER  the main window showing FOLDER's file list
// Prints "painted" when the window has painted, then, in list mode, the
// process's peak resident memory in KiB; then exits.

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "qt/Toolkit.h"
#include "qt/frmExtend.h"

namespace {

// This program's own peak resident memory. Not getrusage: its peak starts
// from the parent's at the fork.
long peakKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Reports once, after the first paint of `window` has finished.
class PaintWatcher : public QObject {
public:
    explicit PaintWatcher(bool reportMemory) : m_reportMemory(reportMemory) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [this] { report(); });
        }
        return false;
    }

private:
    void report() {
        std::printf("painted\n");
        if (m_reportMemory) std::printf("%ld\n", peakKiB());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }
    bool m_reportMemory;
    bool m_seen = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const char* mode = argc > 1 ? argv[1] : "";
    const bool list = std::strcmp(mode, "list") == 0 && argc > 2;
    PaintWatcher watcher(list);
    if (std::strcmp(mode, "minimal") == 0) {
        QWidget window;
        window.resize(384, 389);
        window.installEventFilter(&watcher);
        window.show();
        return application.exec();
    }
    toolkit::useApplicationIdentity();
    toolkit::useDialogFont();
    if (list) QDir::setCurrent(QString::fromLocal8Bit(argv[2]));  // opened at start
    frmExtend window;
    window.form().Form_Load();
    window.installEventFilter(&watcher);
    window.show();
    return application.exec();
}
