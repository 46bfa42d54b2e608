#include "datamodule/QueueStatus.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

TEST(QueueStatus, PanelTextByLabelsPagesAndLayout)
{
    EXPECT_EQ(queueStatusText({0, 24, 1, true}), "");
    EXPECT_EQ(queueStatusText({0, 24, 1, false}), "");
    EXPECT_EQ(queueStatusText({5, 24, 1, false}), std::nullopt); // left as it is
    EXPECT_EQ(queueStatusText({1, 24, 1, true}), " 1 label ");
    EXPECT_EQ(queueStatusText({1, 1, 1, true}), " 1 QSL to print ");
    EXPECT_EQ(queueStatusText({7, 1, 1, true}), " 7 QSLs to print ");
    EXPECT_EQ(queueStatusText({25, 24, 1, true}), " 25 labels  = 2 pages ");
    EXPECT_EQ(queueStatusText({24, 24, 1, true}), " 24 labels  = 1 page ");
    EXPECT_EQ(queueStatusText({24, 24, 2, true}), " 24 labels  = 2 pages "); // starts at 2
}

TEST(QueueStatus, InformationMessage)
{
    EXPECT_EQ(queueInformationText({25, 24, 1, true}, 6, 2, "sample.qxd", true),
              "There are 25 labels = 2 page(s) to print in the print queue.\r\n\r\n"
              "6 QSO line(s) and 2 text footer line(s) on label layout: \"sample.qxd\""
              "\r\n\r\nPrint queue order: alphabetical");
    EXPECT_EQ(queueInformationText({3, 1, 1, true}, 18, 0, "card.qxd", false),
              "There are 3 QSLs to print in the print queue.\r\n\r\n"
              "18 QSO line(s) and 0 text footer line(s) on label layout: \"card.qxd\""
              "\r\n\r\nPrint queue order: first in, first out");
}

} // namespace
} // namespace qx7
