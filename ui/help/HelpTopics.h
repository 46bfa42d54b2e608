#pragma once
// The help topics compiled into the program, and the names the windows ask for. A window
// names its topic through one of these constants, so a test can check that every topic a
// window opens has a text.

#include <QString>
#include <QStringList>

#include <vector>

namespace qx7::help {

inline constexpr const char* kContents = "contents";
inline constexpr const char* kLogWindow = "step0";
inline constexpr const char* kLogSearch = "logsearch5";
inline constexpr const char* kSwl = "swl0";
inline constexpr const char* kManager = "qsl_manager";
// The log files and report windows.
inline constexpr const char* kOpenLog = "open_log";
inline constexpr const char* kNewLog = "new_log";
inline constexpr const char* kLogStatistics = "log_statistics";
inline constexpr const char* kFooterLines = "footer_lines";
inline constexpr const char* kLogGridSetup = "log_grid_setup";
// The conversion dialogs.
inline constexpr const char* kDateFormat = "tools31";
inline constexpr const char* kAdifOptions = "tools33";
inline constexpr const char* kImportSpecs = "tools30";
// The configuration pages; "config00" is the introduction of the two groups.
inline constexpr const char* kConfigIntro = "config00";
// The label designer and its dialogs.
inline constexpr const char* kDesignerIntro = "qxdes_intro";
inline constexpr const char* kDesignerNewLayout = "qxdes_newlayout";
inline constexpr const char* kDesignerElements = "qxdes_elements";
inline constexpr const char* kDesignerOptions = "qxdes_options";
inline constexpr const char* kPrintOptions = "f12";

struct Topic
{
    const char* name;
    const char* title;
    const char* html; // body only; the window adds the frame
};

// Every compiled-in topic, in the order of the contents list.
const std::vector<Topic>& allTopics();
// The topics the windows open (main, log, manager, SWL, configuration and designer windows).
QStringList topicsWindowsAsk();

bool topicExists(const QString& name);
QString topicTitle(const QString& name);
// A complete HTML page for the topic; a page that says so when the topic is unknown.
QString topicPage(const QString& name);

// Parts of the table, one file per group of windows.
const std::vector<Topic>& mainTopics();
const std::vector<Topic>& managerAndSwlTopics();
const std::vector<Topic>& configTopics();
const std::vector<Topic>& logFileTopics();
const std::vector<Topic>& designerTopics();

} // namespace qx7::help
