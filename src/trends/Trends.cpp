#include "trends/Trends.h"

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

// Treats one file; true when its count was written. The file is closed
// before its message, so no box ever keeps a file open.
bool ExtendTrendFile(RunView& view, platform::Folder& folder, const std::string& fileName,
                     std::int16_t newFileCount) {
    auto file = folder.openExisting(fileName);
    TrendFileHeader header;
    Message message;
    if (!file || !readHeader(*file, header) || !IsValidTrendHeader(header)) {
        message = {invalidFileMessage(fileName), MessageIcon::Error};
    } else if (header.HistoryFileCount() > newFileCount) {
        message = {alreadySetMessage(fileName, header.HistoryFileCount()),
                   MessageIcon::Information};
    } else {
        // Another program may have cut the file since it was read; a write
        // now would grow it again.
        if (file->size() < TrendFileHeader::Size)
            throw platform::errors::make(platform::errors::InputPastEnd);
        header.SetHistoryFileCount(newFileCount);
        file->writeAt(TrendFileHeader::HistoryFileCountOffset, header.HistoryFileCountBytes());
    }
    if (file) file->close();
    if (message.text.empty()) return true;
    view.showMessage(message.text, message.icon);
    return false;
}

}  // namespace

void ExtendTrends(RunView& view, const std::string& folder,
                  const std::vector<std::string>& fileNames, std::int16_t newFileCount,
                  platform::FileAccess& files) {
    ExtendTrends(view, *files.openFolder(folder), fileNames, newFileCount);
}

void ExtendTrends(RunView& view, platform::Folder& folder,
                  const std::vector<std::string>& fileNames, std::int16_t newFileCount) {
    const std::string* lastChanged = nullptr;
    const std::string* current = nullptr;
    view.showProgress();
    try {
        for (const std::string& fileName : fileNames) {
            current = &fileName;
            view.setProgressFileName(StripExtension(fileName));
            view.doEvents();
            if (ExtendTrendFile(view, folder, fileName, newFileCount)) lastChanged = &fileName;
        }
        // On disk before the user is told it is done.
        current = lastChanged;
        if (lastChanged) folder.flush();
    } catch (const platform::Error& error) {
        view.hideProgress();
        view.showMessage(stoppedMessage(*current, error), MessageIcon::Exclamation);
        return;
    }
    view.hideProgress();
    view.showMessage(closingMessage(), MessageIcon::None);
}
