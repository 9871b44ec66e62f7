#include "forms/frmExtend.h"

ExtendForm::ExtendForm(ExtendWindow& window, platform::FileAccess& access, const Clock& clock)
    : m_window(window), m_clock(clock), m_browser(window, frmExtendDesign::FilePattern, access) {}

void ExtendForm::Form_Load() {
    const std::optional<platform::Error> driveError =
        m_browser.chooseDriveNamed(frmExtendDesign::StartDrive);
    if (driveError) m_window.showMessage(driveError->what(), MessageIcon::Exclamation);
    m_browser.openFolder(frmExtendDesign::StartFolder);
}

void ExtendForm::drvConvert_Change(int index) {
    if (const auto error = m_browser.chooseDrive(index))
        m_window.showMessage(error->what(), MessageIcon::Exclamation);
}

void ExtendForm::cmdOK_Click() {
    if (m_report) return;
    const std::optional<std::int16_t> count = newFileCountFrom(m_window.numberText());
    if (!count) return m_window.showMessage(frmExtendDesign::NoNumberMessage, MessageIcon::None);
    const std::vector<std::string> names = m_window.selectedFileNames();
    const std::shared_ptr<platform::Folder> folder = m_browser.folder();
    if (names.empty() || !folder)
        return m_window.showMessage(frmExtendDesign::NoSelectionMessage, MessageIcon::None);
    if (!m_converting)
        m_converting = std::make_unique<ConvertingForm>(m_window.makeConvertingWindow());
    RunReport report(m_window, *m_converting, m_clock, names);
    struct Running {
        RunReport*& report;
        ~Running() { report = nullptr; }
    } running{m_report = &report};
    ExtendTrends(report, *folder, names, *count, RunMode::Write, &m_underWay);
}

void ExtendForm::cmdHelp_Click() {
    if (!m_help || !m_help->isOpen()) {
        m_help = m_window.makeHelpWindow();
        m_help->setVersionLine(versionLine());  // its Form_Load
    }
    m_help->showInFront();
    m_help->focusClose();  // the one control that takes the focus
}

void ExtendForm::CloseAll() {
    // What a run in progress changed is on disk first.
    if (const std::optional<FlushFailure> failure = m_underWay.flush(); failure && m_report)
        m_report->tellFlushFailed(*failure);
    m_help.reset();
    m_converting.reset();
    m_window.closeWindow();
    m_window.endProgram();
}
