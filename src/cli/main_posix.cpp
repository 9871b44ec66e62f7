#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/CommandLine.h"

namespace {

// The signal that asked the program to end; a handler can only set a flag.
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void askToStop(int signal) { stopSignal = signal; }

// Names and text as the bytes they are: UTF-8 on any usual system.
class StandardStreams : public cli::Console {
public:
    void out(const std::string& text) override {
        m_outFailed |= std::fwrite(text.data(), 1, text.size(), stdout) != text.size();
    }
    void err(const std::string& text) override { std::fwrite(text.data(), 1, text.size(), stderr); }
    bool errIsTerminal() const override { return m_errIsTerminal; }
    int interrupted() const override { return stopSignal; }
    bool flushOut() override {
        return std::fflush(stdout) == 0 && !m_outFailed && !std::ferror(stdout);
    }

private:
    bool m_outFailed = false;
    const bool m_errIsTerminal = ::isatty(STDERR_FILENO) == 1;  // asked once, not for every file
};

}  // namespace

int main(int argc, char* argv[]) {
    // A reader that goes away must not end a run half way: the run finishes,
    // makes its changes durable and says that its report was lost.
    std::signal(SIGPIPE, SIG_IGN);
    // An interrupt, a termination or a hang-up ends the run between two
    // files, once the changes are durable and the report written; one
    // ignored from the start (nohup, a background job) stays ignored. Calls
    // are restarted: stdio gives up a write cut short by a signal.
    struct sigaction action = {}, was = {};
    action.sa_handler = askToStop;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        if (sigaction(signal, nullptr, &was) == 0 && was.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each file's line as it is treated, as on Windows
    StandardStreams console;
    const int status = cli::run(std::vector<std::string>(argv + 1, argv + argc), console);
    // Ended by the signal, as the shell or a calling script expects.
    if (status > cli::Interrupted) {
        std::signal(status - cli::Interrupted, SIG_DFL);
        std::raise(status - cli::Interrupted);
    }
    return status;
}
