#include "trends/Trends.h"

#include <optional>
#include <utility>

#include "trends/FileTools.h"

namespace {

const std::string CrLf = "\r\n";

std::string invalidFileMessage(const std::string& fileName) {
    return "File '" + fileName + "' is not a valid trend file.";
}

std::string alreadySetMessage(const std::string& fileName, int storedCount) {
    return StripExtension(fileName) + " is already set for " + std::to_string(storedCount) +
           " files." + CrLf + "It will be skipped.";
}

std::string closingMessage() {
    return "Conversion is complete." + CrLf +
           "You must set the new number of history files in your project's" + CrLf +
           "trend tag definitions before restarting Velmar.";
}

std::string stoppedMessage(const std::string& fileName, const platform::Error& error) {
    return "Conversion stopped at file '" + fileName + "'." + CrLf + error.what();
}

// Reads the header; false when the file is too short to hold one.
bool readHeader(platform::OpenFile& file, TrendFileHeader& header) {
    return file.readStart(header.bytes) == TrendFileHeader::Size;
}

struct Message {
    std::string text;
    MessageIcon icon = MessageIcon::None;
};

// A run under way: what it changed and has not yet flushed, and whom to tell.
struct Run {
    RunView& view;
    platform::Folder& folder;
    const std::string* lastChanged = nullptr;  // unflushed, else nullptr
};

// The run in progress, for an end of the program in its middle.
Run* runUnderWay = nullptr;

// Makes the run's changes durable; the failure message when that fails.
std::optional<std::string> flushChanges(Run& run) {
    if (!run.lastChanged) return std::nullopt;
    const std::string& lastChanged = *std::exchange(run.lastChanged, nullptr);
    try {
        run.folder.flush();
    } catch (const platform::FlushError& error) {
        return stoppedMessage(error.fileName(), error);
    } catch (const platform::Error& error) {
        return stoppedMessage(lastChanged, error);
    }
    return std::nullopt;
}

// Treats one file. The file is decided on while open for reading only and
// opened for writing just to write; it is closed before its message, so no
// box ever keeps a file open.
void ExtendTrendFile(Run& run, const std::string& fileName, std::int16_t newFileCount) {
    auto file = run.folder.openExisting(fileName);
    TrendFileHeader header;
    Message message;
    if (!file || !readHeader(*file, header) || !IsValidTrendHeader(header)) {
        message = {invalidFileMessage(fileName), MessageIcon::Error};
    } else if (header.HistoryFileCount() > newFileCount) {
        message = {alreadySetMessage(fileName, header.HistoryFileCount()),
                   MessageIcon::Information};
    } else {
        file->openForWriting();
        // Another program may have cut the file since it was read; a write
        // now would grow it again.
        if (file->size() < TrendFileHeader::Size)
            throw platform::errors::make(platform::errors::InputPastEnd);
        header.SetHistoryFileCount(newFileCount);
        run.lastChanged = &fileName;  // whatever the write does, it is flushed
        file->writeAt(TrendFileHeader::HistoryFileCountOffset, header.HistoryFileCountBytes());
    }
    if (file) file->close();
    if (!message.text.empty()) run.view.showMessage(message.text, message.icon);
}

}  // namespace

void ExtendTrends(RunView& view, const std::string& folder,
                  const std::vector<std::string>& fileNames, std::int16_t newFileCount,
                  platform::FileAccess& files) {
    ExtendTrends(view, *files.openFolder(folder), fileNames, newFileCount);
}

void ExtendTrends(RunView& view, platform::Folder& folder,
                  const std::vector<std::string>& fileNames, std::int16_t newFileCount) {
    Run run{view, folder};
    struct UnderWay {
        Run* outer;
        ~UnderWay() { runUnderWay = outer; }
    } underWay{std::exchange(runUnderWay, &run)};

    std::optional<std::string> stopped;
    const std::string* current = nullptr;
    view.showProgress();
    try {
        for (const std::string& fileName : fileNames) {
            current = &fileName;
            view.setProgressFileName(StripExtension(fileName));
            view.doEvents();
            ExtendTrendFile(run, fileName, newFileCount);
        }
    } catch (const platform::Error& error) {
        stopped = stoppedMessage(*current, error);
    }
    // On disk before the user is told anything, however the run ended.
    const std::optional<std::string> flushFailed = flushChanges(run);
    view.hideProgress();
    if (stopped) view.showMessage(*stopped, MessageIcon::Exclamation);
    if (flushFailed) view.showMessage(*flushFailed, MessageIcon::Exclamation);
    if (!stopped && !flushFailed) view.showMessage(closingMessage(), MessageIcon::None);
}

void FlushRunUnderWay() {
    if (!runUnderWay) return;
    if (const std::optional<std::string> failed = flushChanges(*runUnderWay)) {
        runUnderWay->view.hideProgress();
        runUnderWay->view.showMessage(*failed, MessageIcon::Exclamation);
    }
}
