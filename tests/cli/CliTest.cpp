// kelvane-cli as a script uses it: each command against a folder of our own
// trend files, its output, its exit status and the bytes it leaves.

#include <gtest/gtest.h>

#include "TrendFixtures.h"
#include "cli/CommandLine.h"
#include "cli/Report.h"
#include "platform/Places.h"

namespace {

struct Captured : cli::Console {
    std::string printed, errors;
    void out(const std::string& text) override { printed += text; }
    void err(const std::string& text) override { errors += text; }
    bool errIsTerminal() const override { return false; }
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
    }
    std::string path(const std::string& name) const { return dir + platform::Separator + name; }
    int run(std::vector<std::string> arguments, Captured& console,
            platform::FileAccess& files = platform::nativeFileAccess()) {
        for (std::string& argument : arguments)
            if (argument.starts_with("DIR"))
                argument = argument == "DIR" ? dir : dir + platform::Separator;
        return cli::Run(arguments, console, files);
    }
};

TEST_F(CliTest, CommandsOutcomesAndExitStatuses) {
    // arguments, status, standard output, what a.hst holds after
    // clang-format off
    const std::tuple<std::vector<std::string>, int, std::string, Bytes> cases[] = {
        {{"show", "DIR/"}, 1, path("a.hst") + ": 5 history files, kind 2\n" + path("B.HST") +
             ": 30 history files, kind 2\n" + path("bad.hst") + ": not a valid trend file\n", a},
        {{"show", "--", path("a.hst")}, 0, path("a.hst") + ": 5 history files, kind 2\n", a},
        {{"extend", "--to=9", "--dry-run", path("a.hst"), path("B.HST")}, 0, path("a.hst") +
             ": would be extended from 5 to 9\n" + path("B.HST") + ": skipped, already set for 30 files\n", a},
        {{"extend", path("missing.hst"), "--to", " 2.5 "}, 1, path("missing.hst") + ": not a valid trend file, left alone\n", a},
        {{"extend", "--to", "12", path("a.hst")}, 0, path("a.hst") + ": extended from 5 to 12\n", withCount(a, 12)},
        {{"extend", "--to", "0", "DIR"}, 2, "", a},              {{"extend", "DIR"}, 2, "", a},
        {{"extend", "--to", "9", "--bogus", "DIR"}, 2, "", a},   {{"show", "--dry-run", "DIR"}, 2, "", a},
        {{"show"}, 2, "", a},                                    {{"frob", "--to", "9", "DIR"}, 2, "", a}};
    // clang-format on
    for (const auto& [arguments, status, out, after] : cases) {
        folder.write("a.hst", a);
        Captured console;
        EXPECT_EQ(run(arguments, console), status) << arguments[0] << " " << arguments.back();
        EXPECT_EQ(console.printed, out) << arguments.back();
        EXPECT_EQ(console.errors.empty(), status != cli::UsageError) << console.errors;
        EXPECT_EQ(folder.read("a.hst"), after) << arguments.back();
        EXPECT_EQ(folder.read("B.HST"), b);
    }
}

TEST_F(CliTest, JsonOfAWholeFolderThenAFailureThatStopsIt) {
    Captured json;
    EXPECT_EQ(run({"extend", "--json", "--to", "20", "DIR"}, json), cli::InvalidFiles);
    EXPECT_EQ(json.printed,
              "[\n  {\"file\": " + cli::JsonString(path("a.hst")) +
                  ", \"outcome\": \"extended\", \"before\": 5, \"after\": 20},\n  {\"file\": " +
                  cli::JsonString(path("B.HST")) +
                  ", \"outcome\": \"skipped\", \"before\": 30, \"after\": 30},\n  {\"file\": " +
                  cli::JsonString(path("bad.hst")) +
                  ", \"outcome\": \"invalid\", \"before\": null, \"after\": null}\n]\n");
    EXPECT_EQ(cli::JsonString("q\"\n\\\x7f\xff\xc3\xa9"),
              "\"q\\\"\\u000a\\\\\\u007f\\udcff\xc3\xa9\"");

    Captured shown;
    EXPECT_EQ(run({"show", "--json", path("B.HST")}, shown), cli::Done);
    EXPECT_EQ(shown.printed, "[\n  {\"file\": " + cli::JsonString(path("B.HST")) +
                                 ", \"valid\": true, \"kind\": 2, \"count\": 30}\n]\n");

    // A write that fails at the first file, a flush that fails, a read that fails.
    const platform::Error full = platform::errors::make(platform::errors::DiskFull);
    const std::string failed =
        "\", \"outcome\": \"failed\", \"before\": 5, \"after\": null, "
        "\"error\": \"Error 61 Disk full\"}\n]\n";
    using Step = FakeFiles::Step;
    // clang-format off
    const std::tuple<Step, std::vector<std::string>, std::string> faults[] = {
        {Step::Write, {"extend", "--json", "--to", "40", "DIR"}, failed},  // B.HST would be next
        {Step::Flush, {"extend", "--json", "--to", "20", path("a.hst")}, failed},
        {Step::Read, {"show", "DIR"}, ""}};
    // clang-format on
    for (const auto& [fault, arguments, last] : faults) {
        FakeFiles failing;
        Events log;
        failing.log = &log;
        failing.fault = {fault, full};
        folder.write("a.hst", a);
        Captured stopped;
        EXPECT_EQ(run(arguments, stopped, failing), cli::Stopped) << int(fault);
        if (!last.empty()) {
            EXPECT_TRUE(stopped.printed.ends_with("a.hst" + last)) << stopped.printed;
        }
        if (arguments[0] == "extend") {
            EXPECT_EQ(log.back(), "flush");  // however the run ends
        }
        EXPECT_EQ(folder.read("B.HST"), b);  // the files after the failure are untouched
    }
}

}  // namespace
