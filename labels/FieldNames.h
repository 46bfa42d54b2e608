#pragma once
// The print-queue fields a data field can show, and the naming scheme that tells which
// QSO line or footer line a field belongs to: "A_DATE" is the date of QSO line 1,
// "R_RSTS" the report sent on line 18, "FOOTER2" the second footer line.

#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

inline constexpr int kMaxQsoLines = 18;
inline constexpr int kMaxFooterLines = 9;

// Every field of a print-queue record, in table order.
const std::vector<std::string>& printQueueFieldNames();

// The item suffixes of a QSO line in the order the field dialog lists them.
const std::vector<std::string>& qsoItemSuffixes(); // DATE, TIME, ... HRDC
// The header fields: HISCALL, MANAGER, MYCALL, NUMQSOS.
const std::vector<std::string>& headerFieldNames();

// The QSO line (1 = "A") of a field whose second character is "_", else 0. Letters
// beyond the queue's 18 lines count as no line.
int qsoLineOf(std::string_view field);
// The footer number 1..9 of "FOOTERn", else 0.
int footerOf(std::string_view field);
// Characters 3..6 of a line field ("DATE" of "A_DATE").
std::string lineSuffixOf(std::string_view field);
// "C_RSTS" from 3 and "RSTS".
std::string qsoFieldName(int line, std::string_view suffix);
std::string footerFieldName(int footer);

// The three groups of the field dialog; choosing in one clears the others.
struct FieldChoice
{
    enum class Group
    {
        Header,
        QsoLine,
        Footer
    };
    Group group = Group::Header;
    int header = 0; // index into headerFieldNames()
    int line = 1;   // 1..18
    int item = 0;   // index into qsoItemSuffixes()
    int footer = 1; // 1..9
    bool operator==(const FieldChoice&) const = default;
};
// Decodes a stored field name into the dialog's groups; an empty name is "HISCALL",
// an unknown one line A, "QSO Date".
FieldChoice decodeFieldName(std::string_view field);
std::string fieldNameOf(const FieldChoice& choice);

} // namespace qx7
