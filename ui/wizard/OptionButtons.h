#pragma once
// The buttons of the wizard's small option dialogs (ADIF comment, band, date format).

class QDialog;
class QDialogButtonBox;

namespace qx7 {

// "&OK" (the default button), "&Cancel" and, when a topic is given, "&Help" opening it;
// named "OKButton", "CancelButton" and "HelpButton". Cancel rejects `dialog`; what OK
// does is the caller's (connect to the box's accepted()).
QDialogButtonBox* optionButtons(QDialog& dialog, const char* helpTopic = nullptr);

} // namespace qx7
