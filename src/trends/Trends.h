#pragma once

// The trend extension run: raises the number of history files in the header
// of each selected trend file, in place.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileAccess.h"
#include "trends/Definitions.h"

enum class MessageIcon { None, Information, Exclamation, Error };

// What a run needs of the windows: the progress window, modal message boxes
// (captioned with the application title by whoever shows them) and one pass
// over the pending window events.
class RunView {
public:
    virtual ~RunView() = default;
    virtual void showProgress() = 0;
    virtual void setProgressFileName(const std::string& text) = 0;
    virtual void hideProgress() = 0;
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    virtual void doEvents() = 0;
};

// Treats every name of `fileNames`, in order, in `folder`: writes
// `newFileCount` into each valid header whose stored count is not greater,
// and tells the user about every other file. However the run ends, its
// changes are on disk before its last message. A failure stops the run at
// that file, closes it and is reported to the user.
void ExtendTrends(RunView& view, platform::Folder& folder,
                  const std::vector<std::string>& fileNames, std::int16_t newFileCount);

// The same in the folder at the path `folder`, opened when the run starts.
void ExtendTrends(RunView& view, const std::string& folder,
                  const std::vector<std::string>& fileNames, std::int16_t newFileCount,
                  platform::FileAccess& files = platform::nativeFileAccess());

// For a program that ends in the middle of a run (between two files): makes
// what the run changed durable, and tells the user through the run's view
// when that fails. Does nothing outside a run.
void FlushRunUnderWay();
