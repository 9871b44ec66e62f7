#include "Trends.h"

#include <limits>

#include "FileTools.h"

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
    return "Conversion stopped at file '" + fileName + "'." + CrLf + "Error " +
           std::to_string(error.number()) + " " + error.description();
}

std::int16_t toInt16(std::int32_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw platform::errors::make(platform::errors::Overflow);
    return static_cast<std::int16_t>(value);
}

// Reads the header; false when the file is too short to hold one.
bool readHeader(platform::OpenFile& file, TrendFileHeader& header) {
    return file.readStart(header.bytes) == TrendFileHeader::Size;
}

void ExtendTrendFile(RunView& view, platform::FileAccess& files, const std::string& folder,
                     const std::string& fileName, std::int32_t newFileCount) {
    auto file = files.openExisting(AddBackslash(folder) + fileName);
    TrendFileHeader header;
    if (!file || !readHeader(*file, header) || !IsValidTrendHeader(header)) {
        view.showMessage(invalidFileMessage(fileName), MessageIcon::Error);
    } else if (header.HistoryFileCount() > newFileCount) {
        view.showMessage(alreadySetMessage(fileName, header.HistoryFileCount()),
                         MessageIcon::Information);
    } else {
        header.SetHistoryFileCount(toInt16(newFileCount));
        file->writeStart(header.bytes);
    }
    if (file) file->close();
}

}  // namespace

std::string TrimAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

bool IsValidTrendHeader(const TrendFileHeader& header) {
    const bool signatureOk = TrimAtNul(header.Signature()) == "VELMAR";
    const bool kindOk = header.KindCode() >= 0 && header.KindCode() <= 6;
    return signatureOk && header.MustBeZero() == 0 && kindOk;
}

void ExtendTrends(RunView& view, const std::string& folder,
                  const std::vector<std::string>& fileNames, std::int32_t newFileCount,
                  platform::FileAccess& files) {
    view.showProgress();
    for (const std::string& fileName : fileNames) {
        view.setProgressFileName(StripExtension(fileName));
        view.doEvents();
        try {
            ExtendTrendFile(view, files, folder, fileName, newFileCount);
        } catch (const platform::Error& error) {
            view.hideProgress();
            view.showMessage(stoppedMessage(fileName, error), MessageIcon::Exclamation);
            return;
        }
    }
    view.hideProgress();
    view.showMessage(closingMessage(), MessageIcon::None);
}
