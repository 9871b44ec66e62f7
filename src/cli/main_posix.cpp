#include <unistd.h>

#include <cstdio>

#include "cli/CommandLine.h"

namespace {

// Names and text as the bytes they are: UTF-8 on any usual system.
class StandardStreams : public cli::Console {
public:
    void out(const std::string& text) override { std::fwrite(text.data(), 1, text.size(), stdout); }
    void err(const std::string& text) override { std::fwrite(text.data(), 1, text.size(), stderr); }
    bool errIsTerminal() const override { return ::isatty(STDERR_FILENO) == 1; }
};

}  // namespace

int main(int argc, char* argv[]) {
    StandardStreams console;
    const int status = cli::Run(std::vector<std::string>(argv + 1, argv + argc), console);
    return std::fflush(stdout) == 0 ? status : cli::Stopped;
}
