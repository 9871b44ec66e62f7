#pragma once

// The services every Qt window shares: the application's identity and
// font, modal message boxes and one pass over the pending window events.

#include <QString>

#include "AppIdentity.h"
#include "forms/RunReport.h"

class QWidget;

namespace toolkit {

inline const QString AppTitle = QString::fromUtf8(identity::Title);

// Gives Qt the application's name, version and icon.
void useApplicationIdentity();

// The windows' dialog font, as the application's font.
void useDialogFont();

// A modal box over `owner` with `text` as plain text, `icon`, one OK button
// and the caption "Kelvane".
void showMessage(QWidget* owner, const QString& text, MessageIcon icon);

// Handles every pending window event, then returns.
void doEvents();

}  // namespace toolkit
