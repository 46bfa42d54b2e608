#pragma once
// Pictures of the main window for the documentation: the logs named on the command
// line side by side, the print queue filled from them, saved as PNG files.

#include "core/Prompter.h"

#include <QString>

namespace qx7 {

class TQXForm;

// Answers every question with Yes (or OK), so that a picture run never waits.
class SilentYesPrompter : public Prompter
{
public:
    PromptButton ask(PromptIcon, const std::string&, PromptButton buttons) override
    {
        return hasButton(buttons, PromptButton::Yes) ? PromptButton::Yes : PromptButton::Ok;
    }
};

// Fills the queue from every open log, and writes "main-window.png" and
// "log-search.png" into `folder`. False when a picture cannot be written.
bool takeScreenshots(TQXForm& form, const QString& folder);
// The log file and report dialogs on the active log: "open-log.png", "new-log.png",
// "statistics.png", "statistics-chart.png", "footer-lines.png", "log-grid-setup.png",
// "log-grid-setup-columns.png", "qso-edit.png", "qsl-dates.png", "directory.png".
bool takeLogFileScreenshots(TQXForm& form, const QString& folder);

} // namespace qx7
