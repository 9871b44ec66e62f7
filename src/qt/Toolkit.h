#pragma once

// The services every Qt window shares: modal message boxes, one pass over
// the pending window events, and ending the program. Message boxes and the
// end go through replaceable hooks so that tests never wait on a modal dialog.

#include <QString>
#include <functional>

#include "AppIdentity.h"
#include "trends/Trends.h"

class QWidget;

namespace toolkit {

inline const QString AppTitle = QString::fromUtf8(identity::Title);

// Gives Qt the application's name, version and icon.
void useApplicationIdentity();

// The windows are designed for the classic 8-point dialog font; set it as
// the application's font so that every caption fits its control.
void useDialogFont();

// Message boxes stand over this window (the main window).
void setMessageOwner(QWidget* owner);

// A modal box with `text` as plain text, `icon`, one OK button and the
// caption "Kelvane".
void showMessage(const QString& text, MessageIcon icon);

// Handles every pending window event, then returns.
void doEvents();

// Closes every window and ends the process at once, without returning
// (unless a test replaced the end).
void endProgram();

using MessageHook = std::function<void(const QString& text, MessageIcon icon)>;
using EndHook = std::function<void()>;

// Replace the real box or the real end (for tests); an empty hook restores it.
void setMessageHook(MessageHook hook);
void setEndHook(EndHook hook);

}  // namespace toolkit
