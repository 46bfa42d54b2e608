// The readers and writers of the log types, keyed by log-type code. Codes without an
// entry cannot be read (written): the engine reports failure for them.

#include "convert/engine/LogFormat.h"
#include "convert/readers/AdifReader.h"
#include "convert/readers/CabrilloReader.h"
#include "convert/readers/CtResReader.h"
#include "convert/readers/DbaseSpecReader.h"
#include "convert/readers/FixedColumnReader.h"
#include "convert/readers/HamLogReader.h"
#include "convert/readers/NaPrnReader.h"
#include "convert/readers/QwBinReader.h"
#include "convert/readers/Qx7LogReader.h"
#include "convert/readers/QxV3Reader.h"
#include "convert/readers/QxV4Reader.h"
#include "convert/readers/RttyBinReader.h"
#include "convert/readers/SizeEstimateReader.h"
#include "convert/readers/SwisslogReader.h"
#include "convert/readers/TextSpecReader.h"
#include "convert/readers/YpLogReader.h"
#include "convert/writers/AdifWriter.h"
#include "convert/writers/AppletWriter.h"
#include "convert/writers/CabrilloWriter.h"
#include "convert/writers/LogsearchWriter.h"
#include "convert/writers/Qx7LogWriter.h"
#include "convert/writers/TextLogWriter.h"
#include "convert/writers/XmlWriter.h"

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
