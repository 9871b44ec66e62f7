#pragma once

// The help window on Qt Widgets: what Kelvane does, how to use it, and its
// version. There is at most one; Close destroys it and the next Help builds
// a new one.

#include <QLabel>
#include <QPushButton>
#include <QWidget>

class frmHelp : public QWidget {
    Q_OBJECT
public:
    // Shows the help window, creating and loading it if there is none.
    static void open();
    // The open help window, or nullptr.
    static frmHelp* existing();

private:
    frmHelp();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* cmdClose;
    QLabel* lblVersion;
    void Form_Load();
};
