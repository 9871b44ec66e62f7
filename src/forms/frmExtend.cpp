#include "forms/frmExtend.h"

ExtendForm::ExtendForm(platform::FileAccess& files)
    : m_browser(*this, frmExtendDesign::FilePattern, files) {}

void ExtendForm::Form_Load() {
    const std::optional<platform::Error> driveError =
        m_browser.chooseDriveNamed(frmExtendDesign::StartDrive);
    if (driveError) showMessage(driveError->what(), MessageIcon::Exclamation);
    m_browser.openFolder(frmExtendDesign::StartFolder);
}

void ExtendForm::drvConvert_Change(int index) {
    if (const auto error = m_browser.chooseDrive(index))
        showMessage(error->what(), MessageIcon::Exclamation);
}

void ExtendForm::cmdOK_Click() {
    if (m_running) return;
    const std::optional<std::int16_t> count = convertToInt16(numberText());
    if (!count || *count < 1)
        return showMessage("Please enter the number of files", MessageIcon::None);
    const std::vector<std::string> names = selectedFileNames();
    const std::shared_ptr<platform::Folder> folder = m_browser.folder();
    if (names.empty() || !folder)
        return showMessage("Please select one or more trend files", MessageIcon::None);
    m_running = true;
    ExtendTrends(*this, *folder, names, *count, RunMode::Write, &m_underWay);
    m_running = false;
}

void ExtendForm::cmdHelp_Click() {
    if (!m_help || !m_help->isOpen()) {
        m_help = makeHelpWindow();
        m_help->setVersionLine(versionLine());  // its Form_Load
    }
    m_help->showInFront();
    m_help->focusClose();  // the one control that takes the focus
}

void ExtendForm::CloseAll() {
    m_underWay.flush();  // what a run in progress changed is on disk first
    m_help.reset();
    m_progress.reset();
    closeWindow();
    endProgram();
}

void ExtendForm::showProgress() {
    if (!m_progress) m_progress = std::make_unique<ConvertingForm>(makeProgressWindow());
    m_progress->Show();
}

void ExtendForm::setProgressFileName(const std::string& text) { m_progress->setFileName(text); }

void ExtendForm::hideProgress() { m_progress->Hide(); }
