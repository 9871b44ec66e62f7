#pragma once

// What a command prints: a line for a person or one JSON array for a
// program, and how it ends when asked to.

#include <string>

#include "cli/CommandLine.h"
#include "platform/Error.h"

namespace cli {

class Printer {
public:
    Printer(Console& console, bool json) : m_console(console), m_json(json) {}
    ~Printer() { end(); }
    // Closes the JSON array, once.
    void end() {
        if (m_json && !m_ended) m_console.out(m_items ? "\n]\n" : "[]\n");
        m_ended = true;
    }
    // A file, or a PATH, that could not be read: its failure as `show` or
    // `extend` prints it; `untreatedAfter` when files after it were left.
    void failure(const std::string& path, const platform::Error& error, bool show,
                 bool untreatedAfter);
    // Builds only the text printed: a line, or a JSON object.
    template <typename Line, typename Json>
    void print(const Line& line, const Json& json) {
        if (!m_json) return m_console.out(line());
        m_console.out((m_items++ ? ",\n  " : "[\n  ") + json());
    }

private:
    Console& m_console;
    bool m_json;
    bool m_ended = false;
    int m_items = 0;
};

// The command ends, between two files, as the program was asked to: the
// report is whole, and standard error says what was left.
int interrupted(int signal, std::size_t left, Printer& printer, Console& console);

}  // namespace cli
