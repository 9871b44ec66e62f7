// Measures Kelvane against the physical floor of what it does, in its own
// process and as a program beside it, and exits non-zero when a target is
// missed. Run it headless (QT_QPA_PLATFORM=offscreen) and under an X server
// (xvfb-run -a).

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "TrendFixtures.h"
#include "careful_step.h"
#include "forms/FolderBrowser.h"
#include "forms/FormTools.h"
#include "qt/FileList.h"
#include "qt/Toolkit.h"
#include "qt/frmConverting.h"
#include "qt/frmExtend.h"
#include "trends/Definitions.h"
#include "trends/Trends.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double secondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A run's observer that shows nothing, for the loops timed without windows.
struct QuietView : RunObserver {
    void fileStarted(std::size_t) override {}
    void fileTreated(const FileOutcome&) override {}
};

void runQuietly(const std::string& folder, const std::vector<std::string>& names,
                std::int16_t count) {
    QuietView quiet;
    ExtendTrends(quiet, *platform::nativeFileAccess().openFolder(folder), names, count);
}

// A folder of trend files, removed at the end.
struct Folder {
    fs::path path;
    std::vector<std::string> names;
    explicit Folder(const std::string& tag) {
        path =
            fs::temp_directory_path() / ("kelvane-bench-" + tag + "-" + std::to_string(getpid()));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    void addTrendFiles(int count, std::uintmax_t size, const char* prefix = "T",
                       const char* extension = ".hst") {
        const TrendFileHeader header = validHeader(1);
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "%s%06d%s", prefix, i, extension);
            const fs::path file = path / name;
            std::ofstream(file, std::ios::binary)
                .write(reinterpret_cast<const char*>(header.bytes.data()), TrendFileHeader::Size);
            fs::resize_file(file, size);  // sparse past the header
            names.push_back(name);
        }
    }
    std::string programPath() const { return path.string(); }
};

void fileStepFloor(const Folder& folder, std::int16_t count) {
    const OpenedFolder opened(folder.programPath());
    for (const std::string& name : folder.names) fileStep(opened.fd, name, count);
    ::syncfs(opened.fd);
}

// The least a run through windows can cost: one thread that lets the
// pending events run before each file step, and paints the file's name when
// a frame (1/60 s) has passed since it last did.
void windowedFloor(QLabel& label, const Folder& folder, std::int16_t count) {
    const OpenedFolder opened(folder.programPath());
    Clock::time_point painted{};
    for (const std::string& name : folder.names) {
        if (Clock::now() - painted >= std::chrono::microseconds(16'667)) {
            label.setText(QString::fromStdString(name.substr(0, name.rfind('.'))));
            label.repaint();
            painted = Clock::now();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        fileStep(opened.fd, name, count);
    }
    ::syncfs(opened.fd);
}

// One line of the table. Values are in `unit`; a row with a floor is judged
// by its ratio to it, a row without by its value.
struct Row {
    std::string measurement;
    long n;
    double value;
    const char* unit;
    double floor;
    double target;
};

constexpr double Micro = 1e6, Milli = 1e3;

bool report(const std::vector<Row>& rows) {
    bool allMet = true;
    std::printf("%-46s %7s %10s %-8s %6s %8s  %s\n", "measurement", "N", "median", "", "ratio",
                "target", "met");
    for (const Row& row : rows) {
        const bool hasFloor = row.floor > 0;
        const double ratio = hasFloor ? row.value / row.floor : 0;
        const bool met =
            row.target <= 0 || (hasFloor ? ratio <= row.target : row.value <= row.target);
        allMet = allMet && met;
        char ratioText[16] = "-", targetText[24] = "-";
        if (hasFloor) std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
        if (row.target > 0)
            std::snprintf(targetText, sizeof targetText, hasFloor ? "%.2f" : "<=%.0f", row.target);
        std::printf("%-46s %7ld %10.2f %-8s %6s %8s  %s\n", row.measurement.c_str(), row.n,
                    row.value, row.unit, ratioText, targetText,
                    row.target <= 0 ? ""
                    : met           ? "yes"
                                    : "NO");
    }
    return allMet;
}

// The main window, its message boxes answered at once.
struct QuietMainWindow : frmExtend {
    void showMessage(const std::string&, MessageIcon) override {}
};

// The main window as a user runs it: showing the whole selection of the
// folder it opened, in front of which the windowed loops run.
struct MainWindow {
    QuietMainWindow main;
    QLineEdit* number = main.findChild<QLineEdit*>("txtNoFiles");
    QPushButton* ok = main.findChild<QPushButton*>("cmdOK");
    QWidget bareWindow;
    QLabel* bareLabel = new QLabel(&bareWindow);

    MainWindow() {
        main.findChild<QListView*>("filConvert")->selectAll();
        main.show();
        bareWindow.show();
        if (!QTest::qWaitForWindowExposed(&main) || !QTest::qWaitForWindowExposed(&bareWindow))
            std::exit(1);
    }
    void runThroughWindows(std::int16_t count) {
        number->setText(QString::number(count));
        ok->click();
    }
};

// Seconds one run of `program` takes, called as kelvane-cli is, its
// output written away.
double programSeconds(const QString& program, std::int16_t count, const Folder& folder) {
    return secondsOf([&] {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, {"extend", "--to", QString::number(count),
                                QString::fromStdString(folder.programPath())});
        if (!process.waitForFinished(120000) || process.exitCode() != 0) std::exit(1);
    });
}

void measureRun(std::vector<Row>& rows, const std::string& platform, int fileCount, int reps) {
    Folder folder("run");
    folder.addTrendFiles(fileCount, 4096);
    const double files = double(folder.names.size());
    QDir::setCurrent(QString::fromStdString(folder.programPath()));  // the window opens there
    MainWindow window;
    std::vector<double> floor, unflushed, core, bare, windowed, cli;
    for (int rep = 0; rep < reps; ++rep) {
        const auto count = std::int16_t(100 + 5 * rep);  // rising, so every file is written
        auto perFile = [&](const std::function<void()>& work) { return secondsOf(work) / files; };
        if (fileCount == 10000) {  // the file work's own rows, once
            floor.push_back(perFile([&] { fileStepFloor(folder, count); }));
            unflushed.push_back(perFile([&] {  // what the one flush costs: the difference
                const OpenedFolder opened(folder.programPath());
                for (const std::string& name : folder.names)
                    fileStep(opened.fd, name, std::int16_t(count - 1));
            }));
            core.push_back(perFile(
                [&] { runQuietly(folder.programPath(), folder.names, std::int16_t(count + 1)); }));
        }
        // The two windowed loops alternate, so that a change of load meets both.
        bare.push_back(
            perFile([&] { windowedFloor(*window.bareLabel, folder, std::int16_t(count + 2)); }));
        windowed.push_back(perFile([&] { window.runThroughWindows(std::int16_t(count + 3)); }));
        if (fileCount == 50000)  // the same files, through the command line
            cli.push_back(programSeconds(KELVANE_CLI, std::int16_t(count + 4), folder) / files);
    }
    const double bareMicro = median(bare) * Micro;
    const std::string n = fileCount == 10000 ? "10,000" : "50,000";
    if (fileCount == 10000) {
        const double floorMicro = median(floor) * Micro;
        rows.push_back(
            {"careful file step floor, one flush", fileCount, floorMicro, "us/file", 0, 0});
        rows.push_back(
            {"file step without the flush", fileCount, median(unflushed) * Micro, "us/file", 0, 0});
        rows.push_back({"core run, view that does nothing", fileCount, median(core) * Micro,
                        "us/file", floorMicro, 1.15});
    }
    rows.push_back({"bare loop: label a frame, event pass, file step (" + platform + ")", fileCount,
                    bareMicro, "us/file", 0, 0});
    rows.push_back({"OK in a main window of " + n + " selected (" + platform + ")", fileCount,
                    median(windowed) * Micro, "us/file", bareMicro, 1.1});
    if (fileCount == 50000)
        rows.push_back({"OK in a main window, vs kelvane-cli extend (" + platform + ")", fileCount,
                        median(windowed) * Micro, "us/file", median(cli) * Micro, 1.2});
}

// One loop alone, over and over, for a profiler: the windowed ones, "bare"
// or "ok", or what they do to the files, "floor" or "core".
void profileLoop(const std::string& loop, int fileCount) {
    Folder folder("profile");
    folder.addTrendFiles(fileCount, 4096);
    QDir::setCurrent(QString::fromStdString(folder.programPath()));
    MainWindow window;
    for (int rep = 0; rep < 5; ++rep) {
        const auto count = std::int16_t(100 + rep);
        const double seconds = secondsOf([&] {
            if (loop == "bare") windowedFloor(*window.bareLabel, folder, count);
            if (loop == "ok") window.runThroughWindows(count);
            if (loop == "floor") fileStepFloor(folder, count);
            if (loop == "core") runQuietly(folder.programPath(), folder.names, count);
        });
        std::printf("%s %.1f us/file\n", loop.c_str(), seconds / fileCount * Micro);
    }
}

// kelvane-cli extend, the whole program with its lines written away, against
// the careful loop as a program of its own, which lists and sorts the folder
// too, and against the loop in this process, given the names. One run of
// any varies by a tenth with the disk's flush, so the medians are of 31
// runs; the two programs take turns at going first.
void measureCommandLine(std::vector<Row>& rows) {
    Folder folder("cli");
    folder.addTrendFiles(10000, 4096);
    const QString loop = QCoreApplication::applicationDirPath() + "/careful_loop";
    std::vector<double> inProcess, loopProgram, cli;
    for (int rep = 0; rep < 31; ++rep) {
        const auto count = std::int16_t(100 + 3 * rep);  // rising, so every file is written
        inProcess.push_back(secondsOf([&] { fileStepFloor(folder, count); }));
        const bool loopFirst = rep % 2 == 0;
        if (loopFirst) loopProgram.push_back(programSeconds(loop, std::int16_t(count + 1), folder));
        cli.push_back(programSeconds(KELVANE_CLI, std::int16_t(count + 2), folder));
        if (!loopFirst)
            loopProgram.push_back(programSeconds(loop, std::int16_t(count + 1), folder));
    }
    const auto perFile = [](const std::vector<double>& runs) {
        return median(runs) / 10000 * Micro;
    };
    rows.push_back({"careful loop as a program, vs in this process", 10000, perFile(loopProgram),
                    "us/file", perFile(inProcess), 0});
    rows.push_back({"kelvane-cli extend, vs the loop in this process", 10000, perFile(cli),
                    "us/file", perFile(inProcess), 0});
    rows.push_back({"kelvane-cli extend, vs the loop as a program", 10000, perFile(cli), "us/file",
                    perFile(loopProgram), 1.05});
}

void measureFileSize(std::vector<Row>& rows) {
    Folder small("small"), large("large");
    small.addTrendFiles(1000, 4096);
    large.addTrendFiles(1000, std::uintmax_t(64) << 20);
    std::vector<double> smallTimes, largeTimes;
    for (int rep = 0; rep < 9; ++rep) {
        const auto count = std::int16_t(100 + rep);
        smallTimes.push_back(
            secondsOf([&] { runQuietly(small.programPath(), small.names, count); }) / 1000);
        largeTimes.push_back(
            secondsOf([&] { runQuietly(large.programPath(), large.names, count); }) / 1000);
    }
    rows.push_back({"core run, 64 MiB sparse files vs 4 KiB", 1000, median(largeTimes) * Micro,
                    "us/file", median(smallTimes) * Micro, 1.1});
}

long probeMemoryKiB(const QString& probe, const fs::path& folder) {
    QProcess process;
    process.start(probe, {"list", QString::fromStdString(folder.string())});
    process.waitForFinished(120000);
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    return lines.size() > 1 ? lines[1].toLong() : -1;
}

void measureLargeFolder(std::vector<Row>& rows, const QString& probe) {
    Folder folder("list");
    folder.addTrendFiles(40000, 176, "L", ".hst");
    folder.addTrendFiles(30000, 176, "U", ".HST");
    folder.addTrendFiles(30000, 176, "M", ".Hst");
    for (int i = 0; i < 500; ++i) {  // decoys that must not show
        const std::string stem = folder.path / ("decoy" + std::to_string(i));
        std::ofstream(stem + ".hst.bak");
        std::ofstream(stem + ".txt");
        fs::create_directory(stem + "-folder.hst");
    }
    // The browsing model reads the folder; the file list shows what it holds.
    struct FilesOnly : FolderBrowserView {
        FileList list;
        std::unique_ptr<FolderBrowser> lists;
        void driveShown() override {}
        void foldersShown() override {}
        void filesShown() override { list.showFiles(lists->files()); }
    } view;
    view.lists = std::make_unique<FolderBrowser>(view, "*.hst", platform::nativeFileAccess());
    FileList& list = view.list;
    std::vector<double> ours, plain;
    std::size_t plainCount = 0;
    for (int rep = 0; rep < 5; ++rep) {
        plain.push_back(
            secondsOf([&] { plainCount = readdirListing(folder.programPath()).size(); }));
        ours.push_back(secondsOf([&] { view.lists->openFolder(folder.path.string()); }));
    }
    const int listed = list.model()->rowCount();
    if (listed != 100000 || plainCount != 100000) {
        std::printf("listing found %d and %zu names, expected 100000\n", listed, plainCount);
        std::exit(1);
    }
    rows.push_back({"file list of 100,000 trend files vs readdir", 100000, median(ours) * Milli,
                    "ms", median(plain) * Milli, 2.0});

    std::vector<double> selecting;
    for (int rep = 0; rep < 5; ++rep) {
        list.clearSelection();
        selecting.push_back(secondsOf([&] {
            list.selectAll();
            if (GetSelectedItems(list).size() != 100000) std::abort();
        }));
    }
    rows.push_back({"select all 100,000 and GetSelectedItems", 100000, median(selecting) * Milli,
                    "ms", 0, 20});

    Folder empty("empty");
    const long full = probeMemoryKiB(probe, folder.path);
    const long none = probeMemoryKiB(probe, empty.path);
    if (full < 0 || none < 0) std::exit(1);
    rows.push_back(
        {"peak memory above an empty folder", 100000, double(full - none) / 1024.0, "MiB", 0, 40});
}

double startupSeconds(const QString& probe, const QString& mode, const fs::path& folder) {
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(folder.string()));
    const auto start = Clock::now();
    process.start(probe, {mode});
    while (!process.readAllStandardOutput().contains("painted")) {
        if (!process.waitForReadyRead(30000)) std::abort();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    process.waitForFinished();
    return seconds;
}

void measureStartup(std::vector<Row>& rows, const QString& probe, const std::string& platform) {
    Folder folder("start");
    folder.addTrendFiles(10, 4096);
    std::vector<double> ours, minimal;
    for (int rep = 0; rep < 9; ++rep) {
        minimal.push_back(startupSeconds(probe, "minimal", folder.path));
        ours.push_back(startupSeconds(probe, "kelvane", folder.path));
    }
    rows.push_back({"start-up to main window painted (" + platform + ")", 10, median(ours) * Milli,
                    "ms", median(minimal) * Milli, 1.3});
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // As the window program starts: its identity and its dialog font.
    toolkit::useApplicationIdentity();
    toolkit::useDialogFont();
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "profile" && argc > 2) {
        profileLoop(argv[2], argc > 3 ? std::atoi(argv[3]) : 10000);
        return 0;
    }
    const std::string platform = QGuiApplication::platformName().toStdString();
    const QString probe = QCoreApplication::applicationDirPath() + "/startup_probe";
    std::vector<Row> rows;
    // "run" measures the runs alone, "cli" the command line alone.
    if (mode != "cli") {
        measureRun(rows, platform, 10000, 7);
        measureRun(rows, platform, 50000, 3);
    }
    if (mode != "run") measureCommandLine(rows);
    if (mode.empty()) {
        measureFileSize(rows);
        measureLargeFolder(rows, probe);
        measureStartup(rows, probe, platform);
    }
    const bool met = report(rows);
    std::printf("%s\n", met ? "every target met" : "a target was missed");
    return met ? 0 : 1;
}
