#pragma once
// The texts that tell how full the print queue is: the status bar's queue panel and
// the queue information message. Pages follow from the labels per sheet of the loaded
// layout and the label position the first sheet starts at.

#include <optional>
#include <string>

namespace qx7 {

struct QueueStatusInputs
{
    int labels = 0;
    int perPage = 1; // rows x columns of the layout's page
    int startAt = 1;
    bool printerAndLayout = false; // a printer is available and a layout is loaded
};

int queuePages(int labels, int perPage, int startAt);
// The queue panel's text; nothing when the panel keeps what it shows.
std::optional<std::string> queueStatusText(const QueueStatusInputs& in);
// The queue information message.
std::string queueInformationText(const QueueStatusInputs& in, int priRows, int priBoLN,
                                 const std::string& layoutFile, bool alphabetical);

} // namespace qx7
