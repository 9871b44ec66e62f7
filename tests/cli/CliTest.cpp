// kelvane-cli as a script uses it: each command against a folder of our own
// trend files, its output, its exit status and the bytes it leaves.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <regex>
#endif

#include "TrendFixtures.h"
#include "cli/CommandLine.h"
#include "cli/Report.h"
#include "platform/Places.h"

namespace {

struct Captured : cli::Console {
    std::string printed, errors;
    bool terminal = false, outLost = false;
    void out(const std::string& text) override { printed += text; }
    void err(const std::string& text) override { errors += text; }
    bool errIsTerminal() const override { return terminal; }
    bool flushOut() override { return !outLost; }
};

class CliTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string dir = folder.programPath();
    Bytes a = trendFile(validHeader(5)), b = trendFile(validHeader(30));

    void SetUp() override {
        for (const auto& [name, bytes] : {std::pair("a.hst", a), {"B.HST", b}, {"other.txt", a}})
            folder.write(name, bytes);
        folder.write("bad.hst", Bytes(200, 1));
        std::filesystem::create_directory(folder.path() / "empty");
        std::filesystem::create_directory(folder.path() / "twice");  // one file, two names
        std::filesystem::create_hard_link(folder.write("twice/t.hst", a),
                                          folder.path() / "twice/u.hst");
    }
    std::string path(const std::string& name) const { return dir + platform::Separator + name; }
    // `text` with "DIR" as the test's folder and every "/" as the system's
    // separator, which no other "/" may stand for.
    std::string expand(std::string text) const {
        std::replace(text.begin(), text.end(), '/', platform::Separator);
        for (auto at = text.find("DIR"); at != text.npos; at = text.find("DIR", at + dir.size()))
            text.replace(at, 3, dir);
        return text;
    }
    int run(std::vector<std::string> arguments, Captured& console,
            platform::FileAccess& files = platform::nativeFileAccess()) {
        for (std::string& argument : arguments) argument = expand(argument);
        return cli::run(arguments, console, files);
    }
};

// A command: its exit status, what it prints, how standard error starts,
// and the count a.hst then holds.
struct Command {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    std::string printed;
    std::int16_t aAfter = 5;
    std::string error = "";
};
class CliCommand : public CliTest, public ::testing::WithParamInterface<Command> {};

TEST_P(CliCommand, StatusOutputAndFiles) {
    const Command& row = GetParam();
    Captured console;
    EXPECT_EQ(run(row.arguments, console), row.status);
    EXPECT_EQ(console.printed, expand(row.printed));
    EXPECT_TRUE(console.errors.starts_with(expand(row.error))) << console.errors;
    EXPECT_EQ(console.errors.empty(), row.error.empty()) << console.errors;
    EXPECT_EQ(folder.read("a.hst"), withCount(a, row.aAfter));
    EXPECT_EQ(folder.read("B.HST"), b);
}

#ifdef _WIN32  // as Wine words them
const std::string noFile = "File not found", notAFolder = "Path not found";
#else
const std::string noFile = "No such file or directory", notAFolder = "Not a directory";
#endif
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, CliCommand, ::testing::Values(
    Command{"ShowAFolder", {"show", "DIR/"}, 1,
            "DIR/a.hst: 5 history files, kind 2\nDIR/B.HST: 30 history files, kind 2\nDIR/bad.hst: not a valid trend file\n"},
    Command{"DryRun", {"extend", "--to=9", "--dry-run", "DIR/a.hst", "DIR/B.HST"}, 0,
            "DIR/a.hst: would be extended from 5 to 9\nDIR/B.HST: skipped, already set for 30 files\n"},
    // Each file once, where first given, however often a PATH names it.
    Command{"EachFileOnce", {"extend", "--to", "12", "DIR/a.hst", "DIR", "DIR/a.hst"}, 1, "DIR/a.hst: extended from 5 to 12\n"
            "DIR/B.HST: skipped, already set for 30 files\nDIR/bad.hst: not a valid trend file, left alone\n", 12},
    Command{"OneFileTwoNames", {"extend", "--to", "9", "DIR/twice"}, 0, "DIR/twice/t.hst: extended from 5 to 9\n"},
    // A PATH that is not there stops the command there, with the system's cause.
    Command{"MissingStopsTheCommand", {"extend", "DIR/missing.hst", "--to", " 2.5 ", "DIR/a.hst"}, 3,
            "DIR/missing.hst: failed, Error 76 Path not found (open: " + noFile + "); the files after it were not treated\n"},
    Command{"ShowThroughAFile", {"show", "DIR/a.hst/x.hst"}, 3, "DIR/a.hst/x.hst: failed, Error 76 Path not found (open: " + notAFolder + ")\n"},
    Command{"NoTrendFiles", {"extend", "--to", "9", "DIR/empty"}, 0, "", 5, "kelvane-cli: DIR/empty: no trend files (*.hst) there"},
    Command{"NoCount", {"extend", "DIR"}, 2, "", 5, "kelvane-cli: --to"},
    Command{"UnknownOption", {"extend", "--to", "9", "--bogus", "DIR"}, 2, "", 5, "kelvane-cli: unknown option"},
    Command{"CountTwice", {"extend", "--to=5", "--to", "7", "DIR"}, 2, "", 5, "kelvane-cli: --to is given"},
    Command{"NoPath", {"show"}, 2, "", 5, "kelvane-cli: no PATH"},
    Command{"UnknownCommand", {"fr\x1bob", "--to", "9", "DIR"}, 2, "", 5, "kelvane-cli: unknown command 'fr\\x1bob'"}),
    rowName);
// clang-format on

#ifdef _WIN32
// Windows' own forms: a drive alone for its current folder (here, the test's),
// "\\?\" and "\\.\"; a file's name with a separator after it leads nowhere.
TEST_F(CliTest, WindowsOwnForms) {
    const std::string drive = dir.substr(0, 2);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    Captured relative, prefixed;
    EXPECT_EQ(run({"extend", "--to", "7", drive + "a.hst", drive}, relative), 1);
    EXPECT_EQ(relative.printed, drive + "a.hst: extended from 5 to 7\n" + drive +
                                    "B.HST: skipped, already set for 30 files\n" + drive +
                                    "bad.hst: not a valid trend file, left alone\n");
    EXPECT_EQ(run({"show", "\\\\?\\DIR/a.hst", "\\\\.\\DIR/B.HST", "DIR/a.hst\\"}, prefixed), 3);
    EXPECT_EQ(prefixed.printed,
              expand("\\\\?\\DIR/a.hst: 7 history files, kind 2\n\\\\.\\DIR/B.HST: 30 history "
                     "files, kind 2\n"
                     "DIR/a.hst\\: failed, Error 76 Path not found (open: Invalid name)\n"));
    std::filesystem::current_path(before);
}
#endif

TEST_F(CliTest, JsonOfAWholeFolderAndOfAFile) {
    Captured json;
    EXPECT_EQ(run({"extend", "--json", "--to", "20", "DIR"}, json), cli::InvalidFiles);
    EXPECT_EQ(json.printed,
              "[\n  {\"file\": " + cli::jsonString(path("a.hst")) +
                  ", \"outcome\": \"extended\", \"before\": 5, \"after\": 20},\n  {\"file\": " +
                  cli::jsonString(path("B.HST")) +
                  ", \"outcome\": \"skipped\", \"before\": 30, \"after\": 30},\n  {\"file\": " +
                  cli::jsonString(path("bad.hst")) +
                  ", \"outcome\": \"invalid\", \"before\": null, \"after\": null}\n]\n");
    EXPECT_EQ(cli::jsonString("q\"\n\\\x7f\xff\xc3\xa9"),
              "\"q\\\"\\u000a\\\\\\u007f\\udcff\xc3\xa9\"");

    Captured shown;
    EXPECT_EQ(run({"show", "--json", path("B.HST")}, shown), cli::Done);
    EXPECT_EQ(shown.printed, "[\n  {\"file\": " + cli::jsonString(path("B.HST")) +
                                 ", \"valid\": true, \"kind\": 2, \"count\": 30}\n]\n");
}

// A write that fails at the first file, a flush that fails at the end, a read
// that fails, a folder that cannot be listed: each stops the command there.
TEST_F(CliTest, AFailureStopsTheCommandWhereItHappens) {
    const platform::Error full(platform::errors::DiskFull, platform::Operation::Write, 28,
                               "No space left on device");
    const std::string error =
        "\"error\": \"Error 61 Disk full\", \"cause\": \"write: No space "
        "left on device\", \"code\": 28}";
    using Step = SpyFiles::Step;
    using Fault = std::tuple<Step, std::vector<std::string>, std::string>;  // printed at the end
    // clang-format off
    const Fault faults[] = {
        {Step::Write, {"extend", "--json", "--to", "40", "DIR"}, cli::jsonString(path("a.hst")) +
         ", \"outcome\": \"failed\", \"before\": 5, \"after\": null, " + error + "\n]\n"},  // B.HST would be next
        {Step::Flush, {"extend", "--to", "40", "DIR", path("twice")},  // each file it covered, then what it left
         path("a.hst") + ": failed, Error 61 Disk full (write: No space left on device)\n" + path("B.HST") +
         ": failed, Error 61 Disk full (write: No space left on device); the files after it were not treated\n"},
        {Step::Read, {"show", "--json", "DIR"}, cli::jsonString(path("a.hst")) + ", \"valid\": null, " + error + "\n]\n"},
        {Step::List, {"extend", "--json", "--to", "40", "DIR"}, cli::jsonString(dir) +
             ", \"outcome\": \"failed\", \"before\": null, \"after\": null, " + error + "\n]\n"}};
    // clang-format on
    for (const auto& [step, arguments, printedEnd] : faults) {
        SCOPED_TRACE(int(step));
        SpyFiles failing;
        failing.fault = {step, full};
        folder.write("a.hst", a);
        folder.write("B.HST", b);
        Captured stopped;
        EXPECT_EQ(run(arguments, stopped, failing), cli::Stopped);
        EXPECT_TRUE(stopped.printed.ends_with(printedEnd)) << stopped.printed;
        if (step == Step::Write || step == Step::Flush) {
            EXPECT_EQ(failing.logged.back(), "flush");  // however the run ends
        }
        // The files after the failure are untouched.
        EXPECT_EQ(folder.read("twice/t.hst"), a);
        EXPECT_TRUE(step == Step::Flush || folder.read("B.HST") == b);
    }
}

// What a terminal shows: progress counted over the whole command. A dry run
// opens nothing for writing. A report that cannot be written is never success.
TEST_F(CliTest, TerminalAndStandardOutput) {
    Captured terminal;
    terminal.terminal = true;
    SpyFiles logging;  // files of one folder named one by one: one run there, one flush
    EXPECT_EQ(run({"extend", "--to", "40", path("a.hst"), path("B.HST")}, terminal, logging),
              cli::Done);
    EXPECT_NE(terminal.errors.find("[2/2] B"), std::string::npos) << terminal.errors;
    EXPECT_EQ(logging.logged, (Events{"write a.hst 148+2", "write B.HST 148+2", "flush"}));

    SpyFiles refusing;
    refusing.fault = {SpyFiles::Step::OpenForWriting, platform::errors::make(70)};
    Captured dry;
    EXPECT_EQ(run({"extend", "--dry-run", "--to", "99", path("a.hst")}, dry, refusing), cli::Done);

    for (const auto& [arguments, status] :
         {std::pair<std::vector<std::string>, int>{{"--version"}, cli::ReportLost},
          {{"show", "DIR"}, cli::ReportLost},
          {{"extend", "--to", "9", path("missing.hst")}, cli::Stopped}}) {
        Captured lost;
        lost.outLost = true;
        EXPECT_EQ(run(arguments, lost), status) << arguments.back();
        EXPECT_TRUE(lost.errors.ends_with("the report could not be written to standard output\n"));
    }
}

#ifndef _WIN32
// kelvane-cli extending `folder` to 9 in a child, its output and errors into
// the pipes `out` and `err`.
pid_t extendInChild(const char* form, const std::string& folder, int out[2], int err[2]) {
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        execl(KELVANE_CLI, KELVANE_CLI, "extend", "--to", "9", form, folder.c_str(), nullptr);
        _exit(127);
    }
    close(out[1]), close(err[1]);
    return child;
}

// What `fd` gives until its end; then closed.
std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    close(fd);
    return text;
}

// The program itself, stopped by SIGTERM while its report waits on a full
// pipe: the file under way is finished, each treated file has its line, the
// report stays whole, standard error says what was left, and the program
// ends as the signal ends it.
TEST_F(CliTest, ASignalInTheMiddleOfARun) {
    TempFolder many;
    const int count = 400;
    for (const char* form : {"--", "--json"}) {
        for (int i = 0; i < count; ++i) many.write(std::to_string(1000 + i) + ".hst", a);
        int out[2], err[2];
        ASSERT_EQ(pipe(out) | pipe(err), 0);
        fcntl(out[1], F_SETPIPE_SZ, 4096);
        const pid_t child = extendInChild(form, many.programPath(), out, err);
        pollfd ready{out[0], POLLIN, 0};
        poll(&ready, 1, 60000);
        kill(child, SIGTERM);
        const std::string printed = readAll(out[0]), errors = readAll(err[0]);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
        int changed = 0;
        for (int i = 0; i < count; ++i) {
            const Bytes now = many.read(std::to_string(1000 + i) + ".hst");
            changed += now != a;
            EXPECT_TRUE(now == a || now == withCount(a, 9)) << i;
        }
        const std::regex extended("extended");
        EXPECT_EQ(std::distance(std::sregex_iterator(printed.begin(), printed.end(), extended), {}),
                  changed);
        EXPECT_EQ(errors, "kelvane-cli: interrupted; files not treated: " +
                              std::to_string(count - changed) + "\n");
        EXPECT_TRUE(printed.ends_with(form[2] == 'j' ? "}\n]\n" : " to 9\n")) << printed;
    }
}

// Another program's lock on a file, of either family, keeps the program
// waiting until a signal ends the wait as it ends a run between two files:
// the files before are done and said, the file waited for and those after
// it untouched, and the program ends as the signal ends it.
TEST_F(CliTest, ASignalEndsAWaitForAnotherProgramsLock) {
    for (const bool flockFamily : {false, true}) {
        TempFolder locked;
        for (const char* name : {"a.hst", "b.hst", "c.hst"}) locked.write(name, a);
        const int held = open((locked.path() / "b.hst").c_str(), O_RDWR | O_CLOEXEC);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        ASSERT_EQ(flockFamily ? flock(held, LOCK_EX) : fcntl(held, F_SETLK, &lock), 0);
        int out[2], err[2];
        ASSERT_EQ(pipe(out) | pipe(err), 0);
        const pid_t child = extendInChild("--", locked.programPath(), out, err);
        usleep(300'000);
        kill(child, SIGTERM);
        int status = 0;  // the lock is let go after 5 s, should the signal not end the wait
        for (int tries = 0; tries < 500 && waitpid(child, &status, WNOHANG) == 0; ++tries)
            usleep(10'000);
        close(held);
        waitpid(child, &status, 0);
        close(out[0]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
        EXPECT_EQ(readAll(err[0]), "kelvane-cli: interrupted; files not treated: 2\n");
        EXPECT_EQ(locked.read("a.hst"), withCount(a, 9));
        EXPECT_EQ(locked.read("b.hst"), a);
    }
}
#endif

}  // namespace
