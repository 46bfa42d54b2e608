// The readers and writers of the log types, keyed by log-type code. Codes without an
// entry cannot be read (written): the engine reports failure for them.

#include "convert/AdifReader.h"
#include "convert/AdifWriter.h"
#include "convert/AppletWriter.h"
#include "convert/CabrilloReader.h"
#include "convert/CabrilloWriter.h"
#include "convert/CtResReader.h"
#include "convert/DbaseSpecReader.h"
#include "convert/FixedColumnReader.h"
#include "convert/HamLogReader.h"
#include "convert/LogFormat.h"
#include "convert/LogsearchWriter.h"
#include "convert/NaPrnReader.h"
#include "convert/QwBinReader.h"
#include "convert/Qx7LogReader.h"
#include "convert/Qx7LogWriter.h"
#include "convert/QxV3Reader.h"
#include "convert/QxV4Reader.h"
#include "convert/RttyBinReader.h"
#include "convert/SizeEstimateReader.h"
#include "convert/SwisslogReader.h"
#include "convert/TextLogWriter.h"
#include "convert/TextSpecReader.h"
#include "convert/XmlWriter.h"
#include "convert/YpLogReader.h"

#include <map>

namespace qx7 {

const LogReader* findReader(int logType)
{
    static const AdifReader adif;
    static const SizeEstimateReader sizeOnly;
    static const Qx7LogReader own;
    static const TextSpecReader text;
    static const DbaseSpecReader dbase;
    static const CabrilloReader cabrillo;
    static const YpLogReader yplog;
    static const FixedColumnReader columns;
    static const CtResReader ct;
    static const NaPrnReader na;
    static const HamLogReader hamLog;
    static const QxV3Reader qx3;
    static const QxV4Reader qx4;
    static const RttyBinReader rtty;
    static const SwisslogReader swisslog;
    static const QwBinReader qw;
    // 43 (SPRINT) is offered for import: it is read with the SPRINT column layout.
    static const std::map<int, const LogReader*> readers = {
        {45, &adif},    {42, &own},     {24, &own},     {25, &sizeOnly}, {36, &sizeOnly},
        {3, &text},     {34, &text},    {8, &dbase},    {11, &dbase},    {13, &dbase},
        {37, &dbase},   {38, &dbase},   {39, &dbase},   {27, &cabrillo}, {30, &yplog},
        {16, &columns}, {26, &columns}, {31, &columns}, {32, &columns},  {10, &columns},
        {43, &columns}, {4, &ct},       {12, &na},      {29, &hamLog},   {1, &qx3},
        {2, &qx4},      {7, &rtty},     {9, &swisslog}, {33, &qw},
    };
    const auto it = readers.find(logType);
    return it == readers.end() ? nullptr : it->second;
}

const LogWriter* findWriter(int logType)
{
    static const AdifWriter adif;
    static const Qx7LogWriter own;
    static const TextLogWriter text;
    static const CabrilloWriter cabrillo;
    static const AppletWriter applet;
    static const XmlWriter xml;
    static const LogsearchWriter logsearch;
    static const std::map<int, const LogWriter*> writers = {
        {45, &adif},   {42, &own}, {19, &text},      {20, &text},      {27, &cabrillo},
        {40, &applet}, {46, &xml}, {47, &logsearch}, {48, &logsearch},
    };
    const auto it = writers.find(logType);
    return it == writers.end() ? nullptr : it->second;
}

} // namespace qx7
