#include "forms/frmExtend.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace {

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<std::int16_t> ConvertToInt16(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    std::string_view number(text.data() + first, text.find_last_not_of(" \t") + 1 - first);
    const bool negative = number.front() == '-';
    if (number.front() == '-' || number.front() == '+') number.remove_prefix(1);
    const auto dot = number.find('.');
    std::string_view whole = number.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : number.substr(dot + 1);
    if ((whole.empty() && fraction.empty()) || !allDigits(whole) || !allDigits(fraction))
        return std::nullopt;
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 5) return std::nullopt;
    long value = whole.empty() ? 0 : std::stol(std::string(whole));
    if (!fraction.empty()) {
        const bool pastHalf = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        const char first = fraction.front();
        if (first > '5' || (first == '5' && (pastHalf || value % 2 == 1))) ++value;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return std::int16_t(value);
}

ExtendForm::ExtendForm(platform::FileAccess& files, std::vector<platform::Volume> volumes)
    : m_lists(*this, frmExtendDesign::FilePattern, files, std::move(volumes)) {}

void ExtendForm::Form_Load() {
    std::optional<platform::Error> driveError;
    m_lists.chooseDriveNamed(frmExtendDesign::StartDrive, driveError);
    if (driveError) showMessage(driveError->what(), MessageIcon::Exclamation);
    m_lists.openFolder(frmExtendDesign::StartFolder);
}

void ExtendForm::drvConvert_Change(int index) {
    if (const auto error = m_lists.chooseDrive(index))
        showMessage(error->what(), MessageIcon::Exclamation);
}

void ExtendForm::cmdOK_Click() {
    if (m_running) return;
    const std::optional<std::int16_t> count = ConvertToInt16(numberText());
    if (!count || *count < 1)
        return showMessage("Please enter the number of files", MessageIcon::None);
    const std::vector<std::string> names = selectedFileNames();
    const std::shared_ptr<platform::Folder> folder = m_lists.folder();
    if (names.empty() || !folder)
        return showMessage("Please select one or more trend files", MessageIcon::None);
    m_running = true;
    ExtendTrends(progress(), *folder, names, *count);
    m_running = false;
}
