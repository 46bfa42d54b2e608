#include "datamodule/QueueStatus.h"

#include <algorithm>

namespace qx7 {

int queuePages(int labels, int perPage, int startAt)
{
    const int c = std::max(1, perPage);
    const int filled = labels + std::max(1, startAt) - 1;
    return (filled + c - 1) / c;
}

std::optional<std::string> queueStatusText(const QueueStatusInputs& in)
{
    if (in.labels <= 0)
        return std::string();
    if (!in.printerAndLayout)
        return std::nullopt;
    const std::string n = std::to_string(in.labels);
    if (in.perPage == 1)
        return in.labels == 1 ? std::string(" 1 QSL to print ") : " " + n + " QSLs to print ";
    if (in.labels == 1)
        return std::string(" 1 label ");
    const int pages = queuePages(in.labels, in.perPage, in.startAt);
    return " " + n + " labels " + " = " + std::to_string(pages) +
           (pages == 1 ? " page " : " pages ");
}

std::string queueInformationText(const QueueStatusInputs& in, int priRows, int priBoLN,
                                 const std::string& layoutFile, bool alphabetical)
{
    std::string text;
    if (in.perPage == 1)
        text = "There are " + std::to_string(in.labels) + " QSLs to print in the print queue.";
    else
        text = "There are " + std::to_string(in.labels) +
               " labels = " + std::to_string(queuePages(in.labels, in.perPage, in.startAt)) +
               " page(s) to print in the print queue.";
    text += "\r\n\r\n" + std::to_string(priRows) + " QSO line(s) and " + std::to_string(priBoLN) +
            " text footer line(s) on label layout: \"" + layoutFile + "\"";
    text += "\r\n\r\nPrint queue order: ";
    text += alphabetical ? "alphabetical" : "first in, first out";
    return text;
}

} // namespace qx7
