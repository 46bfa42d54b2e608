#pragma once
// Everything a conversion knows about one log taking part in it, as input or output:
// the file, its log type, its options, and for text and dBase logs the column mapping.

#include <ctime>
#include <string>
#include <vector>

namespace qx7 {

struct TQXLogSpec
{
    std::string FileName; // full path (output: folder and file name)
    int LogType = 0;      // code of the log-type table
    std::time_t FileDate = 0;
    std::string CallSign;  // found in the log by the reader, or the user's for an output
    long long LogSize = 0; // QSOs counted by the line loader or the reader
    int BandMode = -1;     // -1 band or frequency, 0 band in metres only, 1 MHz only
    std::string DateFormat;
    std::string Comment; // put into every QSO of this log; at most 60 characters
    unsigned char Checked = 0;
    std::string SpecName;
    std::vector<std::string> FieldMap; // text: "KEY;width"; dBase: "DBFFIELD=KEY"
    unsigned char HasSpec = 0;
    int TextType = -1; // -1 not set, 0 delimited, 1 fixed width
    char Delimiter = 0;
    char Qualifier = 0;
    int HeaderRows = 0;
    unsigned char WriteMode = 2; // output: 0 update, 1 keep existing, 2 overwrite
    unsigned char NotSentOnly = 0;
    unsigned char RemoveExchange = 0;
    unsigned char ReplaceReports = 0;
    std::string DateFrom; // "yyyymmdd", empty for no limit
    std::string DateTo;
};

// A specification for a file: its type and, when the file exists, its modification time.
TQXLogSpec makeLogSpec(const std::string& fileName, int logType);

} // namespace qx7
