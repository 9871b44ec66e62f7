#include "forms/frmConverting.h"

void ConvertingForm::Show() {
    if (m_window->isShown()) return m_window->show();  // to the front, the name kept
    m_window->allowClose(false);
    // Blank until the run names its first file: shown with the last run's
    // last name, the window would paint that first.
    m_window->setFileName("");
    if (!m_placed) placeOverOwner();
    m_placed = true;  // where it was, or where the user moved it, from then on
    m_window->show();
}

void ConvertingForm::Hide() {
    m_window->hide();
    m_window->allowClose(true);
}

void ConvertingForm::placeOverOwner() {
    const std::optional<twips::PixelRect> owner = m_window->ownerFrame();
    if (!owner) return m_window->centreOnScreen();
    const twips::PixelRect frame = m_window->frame();
    const twips::PixelRect place =
        frmConvertingDesign::placeOver(*owner, frame.width, frame.height);
    m_window->moveTo(place.left, place.top);
}

void ConvertingForm::showWaiting(bool waiting) {
    namespace design = frmConvertingDesign;
    if (waiting) return m_window->setHeading(design::WaitingCaption, design::Label1Waiting);
    m_window->setHeading(design::Label1Caption, design::Label1);
}
