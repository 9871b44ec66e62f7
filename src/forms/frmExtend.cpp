#include "forms/frmExtend.h"

ExtendForm::ExtendForm(platform::FileAccess& files)
    : m_lists(*this, frmExtendDesign::FilePattern, files) {}

void ExtendForm::Form_Load() {
    const std::optional<platform::Error> driveError =
        m_lists.chooseDriveNamed(frmExtendDesign::StartDrive);
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
