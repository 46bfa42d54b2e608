#include "cli/Command.h"

namespace qx7::cli {

int runSettings(CommandContext& ctx);
int runEngine(CommandContext& ctx);
int runLog(CommandContext& ctx);
int runCallKey(CommandContext& ctx);
int runManagers(CommandContext& ctx);
int runDbf(CommandContext& ctx);
int runQueue(CommandContext& ctx);
int runStats(CommandContext& ctx);
int runFooter(CommandContext& ctx);
int runPrint(CommandContext& ctx);
int runPreview(CommandContext& ctx);
int runSheets(CommandContext& ctx);
int runConvert(CommandContext& ctx);
int runNewLog(CommandContext& ctx);
int runMacro(CommandContext& ctx);
int runSpec(CommandContext& ctx);
int runSwl(CommandContext& ctx);
int runFormats(CommandContext& ctx);
int runBatch(CommandContext& ctx);
int runLayout(CommandContext& ctx);
int runQso(CommandContext& ctx);
int runCalibrate(CommandContext& ctx);

const std::vector<Command>& allCommands()
{
    static const std::vector<Command> commands = {
        {"settings", "settings", "print the effective settings as section/key/value", runSettings},
        {"engine", "engine",
         "the table engine's facts for this session (version, driver, level, language driver)",
         runEngine},
        {"log", "log create NAME --call CALL | log info NAME | log list | log delete NAME",
         "create a log, show one, list the logs of the log folder, delete one", runLog},
        {"callkey", "callkey CALL...", "print the QSL-bureau sort key of each call", runCallKey},
        {"managers",
         "managers import FILE | export FILE [--dx4win] | lookup CALL DATE [QMGR] | pack | empty",
         "the QSL manager database: import lists or qmgr.dbf, export, look up, pack, empty",
         runManagers},
        {"queue",
         "queue fill LOG [--call C | --from C --to C | --pattern P] [--band B] [--mode M] "
         "[--marked] | queue list | queue empty | queue export-adif FILE [--overwrite]",
         "fill the print queue from a log as F2 does, list it, empty it, export its journal",
         runQueue},
        {"stats", "stats LOG [--report]",
         "count the labels a log needs and its QSOs by band and mode (--report: the "
         "statistics window's text)",
         runStats},
        {"footer", "footer LOG | footer LOG --set LINE... | footer LOG --clear",
         "show or replace the footer lines (at most 9) printed on every label of a log", runFooter},
        {"convert",
         "convert --in TYPE:FILE [--in ...] --out TYPE:FILE [--call CALL] [--write-mode 0|1|2] "
         "[--from yyyymmdd] [--to yyyymmdd] [--not-sent-only] [--keep-exchange] "
         "[--replace-reports] [--spec NAME] [--save-macro FILE]",
         "convert logs as the Tools Wizard does (qx7cli formats lists the types)", runConvert},
        {"formats", "formats", "list the log types: code, description, extension, import, export",
         runFormats},
        {"calibrate",
         "calibrate PRINTER [--sheet TYPE] --offset X,Y [--scale SX,SY] | calibrate PRINTER "
         "[--sheet TYPE] --clear | calibrate [PRINTER] --show | calibrate PRINTER --test-sheet "
         "[--layout FILE]",
         "correct a printer's offset (mm) and scale, kept in qx7.ini; print its test sheet",
         runCalibrate},
        {"newlog", "newlog FILE.adi NAME --call CALL", "make a new QX7 log from an ADIF file",
         runNewLog},
        {"macro", "macro list | macro run NAME",
         "list or run the conversion macros of the user folder", runMacro},
        {"spec", "spec analyze FILE [--save NAME] | spec list",
         "guess the import specification of a text or CSV log (delimiter, header, fixed "
         "columns, fields) and save it for convert --spec",
         runSpec},
        {"swl",
         "swl add HEARD DATE TIME BAND MODE [--subm S] [--mycall C] [--comment T] | swl list | "
         "swl queue LISTENER | swl clear",
         "collect a listener's reports and answer them with labels", runSwl},
        {"batch",
         "batch import FILE [--own CALL] | batch list | batch check LOG | batch queue LOG | "
         "batch clear | batch take LOG CALL",
         "import QSL request lists, check them against a log, queue the found calls", runBatch},
        {"qso",
         "qso list LOG [--marked] | qso set LOG RECNO FIELD=VALUE... | qso add LOG "
         "FIELD=VALUE... | qso qsl LOG sent|rcvd RECNO... [--date D | --no-date] | qso mark LOG "
         "RECNO... | qso unmark-all LOG | qso manager LOG MGR RECNO... | qso fill-managers LOG",
         "edit the QSOs of a log as the log window does: fields (checked), QSL flags with their "
         "dates, marks, managers",
         runQso},
        {"print",
         "print [--layout FILE] [--pdf OUT.pdf | --printer NAME] [--start-at N] [--pages A-B] "
         "[--reverse] [--used LIST|remembered|none] [--duplex none|long|short] "
         "[--grayscale|--color] [--dpi N] [--keep]",
         "print the label queue through a layout (LastQXD by default); remove printed labels "
         "unless --keep",
         runPrint},
        {"preview",
         "preview --png DIR [--layout FILE] [--start-at N] [--pages A-B] [--reverse] "
         "[--used LIST|remembered|none]",
         "render the label run as PNG pages; marks nothing", runPreview},
        {"layout",
         "layout info|check|adjust [--layout FILE] | layout geometry [--set KEY=VALUE]... [--save] "
         "| layout template --yes | layout add-missing [--qso-lines N] [--footer-lines N]",
         "show, check and change a label layout (LastQXD by default) as the designer does",
         runLayout},
        {"sheets", "sheets [MAKER]",
         "list label-sheet makers, or one maker's sheet types with their sizes", runSheets},
        {"dbf", "dbf info FILE | dbf dump FILE [--index TAG] [--range FROM TO]",
         "look at any dBase table: header, fields, tags, records", runDbf},
    };
    return commands;
}

} // namespace qx7::cli
