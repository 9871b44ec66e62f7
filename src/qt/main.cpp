#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "forms/frmHelp.h"
#include "qt/Toolkit.h"
#include "qt/frmExtend.h"

namespace {

// --help and --version answer without a window; anything else is refused.
// Returns the exit status, or -1 to go on and open the window.
int answerCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, "Print this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Print the version and exit.");
    parser.addOptions({help, version});
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString why =
            parser.errorText().isEmpty()
                ? "Unexpected argument '" + parser.positionalArguments().first() + "'."
                : parser.errorText();
        std::fprintf(stderr, "kelvane: %s Try 'kelvane --help'.\n", qPrintable(why));
        return 2;
    }
    if (parser.isSet(help)) {
        std::printf(
            "Usage: kelvane [--help | --version]\n"
            "Opens Kelvane, which raises the number of history files in the headers of\n"
            "Velmar trend files (%s) in place.\n\n"
            "  -h, --help     Print this help and exit.\n"
            "  -v, --version  Print the version and exit.\n",
            TrendFilePattern);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s\n", versionLine().c_str());
        return 0;
    }
    return -1;
}

}  // namespace

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
