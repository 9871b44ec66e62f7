#include "TrendFixtures.h"

#include <cstring>
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
    header.bytes[136] = header.bytes[137] = header.bytes[139] = 0;
    header.bytes[138] = 4;
    header.SetHistoryFileCount(0x0102);
    return header;
}

Bytes trendFile(const TrendFileHeader& header, std::size_t tailLength) {
    Bytes bytes(header.bytes.begin(), header.bytes.end());
    for (std::size_t i = 0; i < tailLength; ++i) bytes.push_back(std::uint8_t(i * 13 + 5));
    return bytes;
}

Bytes withCount(Bytes file, std::int16_t count) {
    file[148] = std::uint8_t(std::uint16_t(count) & 0xFF);
    file[149] = std::uint8_t(std::uint16_t(count) >> 8);
    return file;
}

namespace {

// The progress window, each change recorded; never placed over an owner.
class RecordedProgress : public ConvertingWindow {
public:
    explicit RecordedProgress(RecordingView& view) : m_view(view) {}
    bool isShown() const override { return m_shown; }
    void show() override { m_shown = true, m_view.record("show"); }
    void hide() override { m_shown = false, m_view.record("hide"); }
    void setFileName(const std::string& text) override { m_view.record("label " + text); }
    void setHeading(const std::string& text, const twips::Rect&) override {
        m_view.record("heading " + text);
    }
    twips::PixelRect frame() const override { return {0, 0, 300, 90}; }
    std::optional<twips::PixelRect> ownerFrame() const override { return std::nullopt; }
    void moveTo(int, int) override {}
    void centreOnScreen() override {}
    void allowClose(bool) override {}

private:
    RecordingView& m_view;
    bool m_shown = false;
};

}  // namespace

RecordingView::RecordingView() : m_progress(std::make_unique<RecordedProgress>(*this)) {}

void RecordingView::showMessage(const std::string& text, MessageIcon icon) {
    static const char* const names[] = {"none", "information", "exclamation", "error"};
    record(std::string("message ") + names[int(icon)] + ": " + text);
}

void RecordingView::record(std::string event) {
    events.push_back(std::move(event));
    if (onEvent) onEvent(events.back());
}

RunResult ExtendTrends(RecordingView& view, const std::string& folder,
                       const std::vector<std::string>& fileNames, std::int16_t newFileCount,
                       platform::FileAccess& files, RunUnderWay* underWay) {
    RunReport report(view, view.progress(), view, fileNames);
    return ExtendTrends(report, *files.openFolder(folder), fileNames, newFileCount, RunMode::Write,
                        underWay);
}

TempFolder::TempFolder(const std::filesystem::path& parent) {
    std::random_device seed;
    do m_path = parent / ("kelvane-test-" + std::to_string(seed()));
    while (!std::filesystem::create_directory(m_path));
}

namespace {

using Step = SpyFiles::Step;

class FakeFile : public platform::OpenFile {
public:
    FakeFile(std::unique_ptr<platform::OpenFile> file, SpyFiles& files, std::string name)
        : m_file(std::move(file)), m_files(files), m_name(std::move(name)) {
        ++m_files.openFiles;
    }
    ~FakeFile() override { m_files.openFiles -= m_file != nullptr; }

    std::size_t readStart(std::span<std::uint8_t> buffer) override {
        m_files.step(Step::Read, m_name);
        return m_file->readStart(buffer);
    }
    bool openForWriting(const platform::Waiting& waiting) override {
        m_files.step(Step::OpenForWriting, m_name);
        return m_file->openForWriting(waiting);
    }
    std::uint64_t size() override {
        m_files.step(Step::Size, m_name);
        return m_file->size();
    }
    platform::FileId id() const override { return m_file->id(); }
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        m_files.step(Step::Write, m_name);
        m_files.note("write " + m_name + " " + std::to_string(offset) + "+" +
                     std::to_string(bytes.size()));
        m_file->writeAt(offset, bytes);
    }
    void close() override {
        --m_files.openFiles;
        std::unique_ptr<platform::OpenFile>(std::move(m_file))->close();
    }

private:
    std::unique_ptr<platform::OpenFile> m_file;
    SpyFiles& m_files;
    std::string m_name;
};

class FakeFolder : public platform::Folder {
public:
    FakeFolder(std::unique_ptr<platform::Folder> folder, SpyFiles& files)
        : m_folder(std::move(folder)), m_files(files) {}

    std::unique_ptr<platform::OpenFile> openExisting(const std::string& name) override {
        m_files.step(Step::Open, name);
        auto file = m_folder->openExisting(name);
        return file ? std::make_unique<FakeFile>(std::move(file), m_files, name) : nullptr;
    }
    void flush() override {
        m_files.note("flush");
        m_files.step(Step::Flush, "");
        m_folder->flush();
    }
    Entries list() override {
        m_files.step(Step::List, "");
        return m_folder->list();
    }

private:
    std::unique_ptr<platform::Folder> m_folder;
    SpyFiles& m_files;
};

}  // namespace

std::unique_ptr<platform::Folder> SpyFiles::openFolder(const std::string& path) {
    return std::make_unique<FakeFolder>(platform::nativeFileAccess().openFolder(path), *this);
}
