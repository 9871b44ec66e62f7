#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/CommandLine.h"

namespace {

// Names and text as the bytes they are: UTF-8 on any usual system.
class StandardStreams : public cli::Console {
public:
    void out(const std::string& text) override {
        m_outFailed |= std::fwrite(text.data(), 1, text.size(), stdout) != text.size();
    }
    void err(const std::string& text) override { std::fwrite(text.data(), 1, text.size(), stderr); }
    bool errIsTerminal() const override { return ::isatty(STDERR_FILENO) == 1; }
    bool flushOut() override {
        return std::fflush(stdout) == 0 && !m_outFailed && !std::ferror(stdout);
    }

private:
    bool m_outFailed = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    // A reader that goes away must not end a run half way: the run finishes,
    // makes its changes durable and says that its report was lost.
    std::signal(SIGPIPE, SIG_IGN);
    StandardStreams console;
    return cli::Run(std::vector<std::string>(argv + 1, argv + argc), console);
}
