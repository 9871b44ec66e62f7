#include "TrendFixtures.h"

#include <cstring>
#include <fstream>
#include <random>

TrendFileHeader validHeader(std::int16_t count) {
    TrendFileHeader header;
    std::memcpy(header.bytes.data() + 128, "VELMAR", 6);
    header.bytes[138] = 2;
    header.SetHistoryFileCount(count);
    return header;
}

TrendFileHeader patternedHeader() {
    TrendFileHeader header;
    for (std::size_t i = 0; i < TrendFileHeader::Size; ++i)
        header.bytes[i] = std::uint8_t((i * 37 + 11) % 255 + 1);
    std::memcpy(header.bytes.data() + 128, "VELMAR\0", 7);
    header.bytes[136] = header.bytes[137] = 0;
    header.bytes[138] = 4;
    header.bytes[139] = 0;
    header.SetHistoryFileCount(7);
    return header;
}

Bytes trendFile(const TrendFileHeader& header, std::size_t tailLength) {
    Bytes bytes(header.bytes.begin(), header.bytes.end());
    for (std::size_t i = 0; i < tailLength; ++i) bytes.push_back(std::uint8_t(i * 13 + 5));
    return bytes;
}

TempFolder::TempFolder() {
    std::random_device seed;
    for (;;) {
        m_path =
            std::filesystem::temp_directory_path() / ("kelvane-test-" + std::to_string(seed()));
        if (std::filesystem::create_directory(m_path)) return;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempFolder::programPath() const {
    const auto text = m_path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path TempFolder::write(const std::string& name, const Bytes& bytes) const {
    const auto file = m_path / name;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file;
}

Bytes TempFolder::read(const std::string& name) const {
    std::ifstream in(m_path / name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void RecordingView::showMessage(const std::string& text, MessageIcon icon) {
    static const char* const names[] = {"none", "information", "exclamation", "error"};
    events.push_back(std::string("message ") + names[int(icon)] + ": " + text);
}

void RecordingView::doEvents() {
    events.push_back("events");
    if (onEvents) onEvents();
}

namespace {

using Fault = CountingFileAccess::Fault;

class CountedFile : public platform::OpenFile {
public:
    CountedFile(std::unique_ptr<platform::OpenFile> file, std::shared_ptr<int> open, Fault fault,
                platform::Error error)
        : m_file(std::move(file)), m_open(std::move(open)), m_fault(fault), m_error(error) {
        ++*m_open;
    }
    ~CountedFile() override {
        if (m_file) --*m_open;
    }

    std::size_t readStart(std::span<std::uint8_t> buffer) override {
        if (m_fault == Fault::Read) throw m_error;
        return m_file->readStart(buffer);
    }
    void writeStart(std::span<const std::uint8_t> bytes) override {
        if (m_fault == Fault::Write) throw m_error;
        m_file->writeStart(bytes);
    }
    void close() override {
        --*m_open;
        auto file = std::move(m_file);
        file->close();
        if (m_fault == Fault::Close) throw m_error;
    }

private:
    std::unique_ptr<platform::OpenFile> m_file;
    std::shared_ptr<int> m_open;
    Fault m_fault;
    platform::Error m_error;
};

}  // namespace

void CountingFileAccess::inject(Fault fault, const std::string& faultyName, platform::Error error) {
    m_fault = fault;
    m_faultyName = faultyName;
    m_error = error;
}

std::unique_ptr<platform::OpenFile> CountingFileAccess::openExisting(const std::string& path) {
    const bool faulty = m_fault != Fault::None && path.ends_with(m_faultyName);
    if (faulty && m_fault == Fault::Open) throw m_error;
    auto file = platform::nativeFileAccess().openExisting(path);
    if (!file) return nullptr;
    return std::make_unique<CountedFile>(std::move(file), m_open, faulty ? m_fault : Fault::None,
                                         m_error);
}
