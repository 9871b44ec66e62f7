// Saves pictures of Kelvane's three windows for the README:
//   grab_windows SAMPLE_FOLDER OUTPUT_FOLDER
// Runs headless (QT_QPA_PLATFORM=offscreen) or on a display.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListView>

#include "qt/Toolkit.h"
#include "qt/frmConverting.h"
#include "qt/frmExtend.h"

namespace {

bool save(QWidget* window, const QString& folder, const QString& name) {
    return window->grab().save(QDir(folder).filePath(name));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 3) return 2;
    toolkit::useDialogFont();
    const QString sample = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QDir::setCurrent(sample);  // the main window opens in the current folder
    frmExtend main;
    main.findChild<QLineEdit*>("txtNoFiles")->setText("20");
    auto* files = main.findChild<QListView*>("filConvert");
    for (int row : {1, 3, 4})
        files->selectionModel()->select(files->model()->index(row, 0), QItemSelectionModel::Select);
    main.show();

    frmConverting progress(&main);
    progress.setFileName("PRESSURE");
    progress.show();

    main.form().cmdHelp_Click();
    QApplication::processEvents();
    QWidget* help = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "frmHelp") help = window;

    const bool saved = save(&main, output, "main-window.png") &&
                       save(&progress, output, "progress-window.png") &&
                       save(help, output, "help-window.png");
    return saved ? 0 : 1;
}
