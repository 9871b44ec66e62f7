#include "qt/CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>

#include "trends/ProductRules.h"

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
