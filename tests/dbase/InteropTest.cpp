// Independent readers and writers agree with us: python3-dbfread reads our tables,
// Perl's XBase::Index walks our .mdx tags in our order, python3-dbf's tables read here.
// Each test skips, saying why, when its tool is not installed.

#include "TestUtil.h"

#include "dbase/Codepage.h"
#include "dbase/Table.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace qx7::dbase {
namespace {

using test::ScratchDir;

std::string python()
{
    // The system interpreter carries the Debian modules; a PATH one may not.
    return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

bool hasPythonModule(const std::string& module)
{
    std::string out;
    return test::runCommand(python() + " -c 'import " + module + "' 2>/dev/null", out);
}

bool hasPerlXBase()
{
    std::string out;
    return test::runCommand("perl -MXBase::Index -e 1 2>/dev/null", out);
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

// A log with duplicates, non-ASCII calls and deleted records, big enough for two-level trees.
void fillLog(const std::filesystem::path& path, Level level, std::size_t count)
{
    Table::create(path, test::logFields(), {level, test::logIndexes()});
    Table t;
    t.open(path);
    std::mt19937 rng(42);
    const char* calls[] = {"DL1ABC", "K1AA", "G4XYZ", "ÖE1ÄÜ", "9A1A", "W1AW/P", "JA1XYZ", "DL1AB"};
    for (std::size_t i = 0; i < count; ++i) {
        t.append();
        t.setText("CALL",
                  std::string(calls[rng() % 8]) + (rng() % 3 ? std::to_string(rng() % 50) : ""));
        t.setText("DATE",
                  "2024" + std::to_string(10 + rng() % 3) + std::to_string(10 + rng() % 18));
        t.setText("TIME", std::to_string(1000 + rng() % 1300));
        t.setText("COMM", rng() % 2 ? "Grüße" : "");
        t.setBoolean("MARK", rng() % 2);
        t.post();
        if (rng() % 10 == 0) {
            t.deleteRecord();
        }
    }
}

std::string hex(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

std::string padded(const Table& t, const std::string& field)
{
    std::string v = utf8ToCp1252(t.text(field));
    v.resize(static_cast<std::size_t>(t.field(t.fieldIndex(field)).width), ' ');
    return v;
}

TEST(Interop, DbfreadReadsOurTables)
{
    if (!hasPythonModule("dbfread")) {
        GTEST_SKIP() << "python3-dbfread is not installed";
    }
    for (Level level : {Level::DBase4, Level::DBase5}) { // dbfread has no level 7 descriptors
        SCOPED_TRACE(static_cast<int>(level));
        ScratchDir dir;
        const auto path = dir / "log.dbf";
        fillLog(path, level, 300);
        const std::string script =
            "import dbfread,sys\n"
            "t=dbfread.DBF(sys.argv[1])\n"
            "print(t.encoding)\n"
            "print(' '.join('%s:%s:%d' % (f.name,f.type,f.length) for f in t.fields))\n"
            "for d,rs in ((' ',t.records),('*',t.deleted)):\n"
            "  for r in rs: print(d+'|'.join('T' if v is True else 'F' if v is False else '' if v "
            "is None else v for v in r.values()))\n";
        std::string out;
        ASSERT_TRUE(test::runCommand(python() + " -c \"" + script + "\" " + path.string(), out))
            << out;
        const auto got = lines(out);
        ASSERT_GE(got.size(), 2u);
        EXPECT_EQ(got[0], "cp1252");
        EXPECT_EQ(got[1].substr(0, 24), "CALL:C:16 DATE:C:8 TIME:");
        std::vector<std::string> live, deleted;
        Table t;
        t.open(path, {OpenMode::ReadOnly});
        t.setShowDeleted(true);
        for (t.first(); !t.eof(); t.next()) {
            std::string row;
            for (int i = 0; i < t.fieldCount(); ++i) {
                row += (i ? "|" : "") +
                       (t.field(i).type == 'L' ? (t.text(i).empty() ? "F" : t.text(i)) : t.text(i));
            }
            (t.isDeleted() ? deleted : live).push_back((t.isDeleted() ? "*" : " ") + row);
        }
        std::vector<std::string> ours = live;
        ours.insert(ours.end(), deleted.begin(), deleted.end());
        EXPECT_EQ(std::vector<std::string>(got.begin() + 2, got.end()), ours);
    }
}

TEST(Interop, PerlXBaseWalksOurTagsInOurOrder)
{
    if (!hasPerlXBase()) {
        GTEST_SKIP() << "libdbd-xbase-perl (XBase::Index) is not installed";
    }
    ScratchDir dir;
    const auto path = dir / "log.dbf";
    fillLog(path, Level::DBase4, 3000);
    const std::string walker =
        "perl -MXBase::Index -e '$i = XBase::Index->new($ARGV[0], tag => $ARGV[1]) or die "
        "XBase::Index->errstr; $i->prepare_select; while (my ($k, $v) = $i->fetch) "
        "{ print unpack(\"H*\", $k), \" $v\\n\" } die $i->errstr if $i->errstr' ";
    Table t;
    t.open(path, {OpenMode::ReadOnly});
    t.setShowDeleted(true); // deleted records stay indexed
    struct TagCase
    {
        const char* tag;
        std::vector<std::string> fields;
    };
    const TagCase cases[] = {{"CALL", {"CALL"}}, {"DATETIME", {"DATE", "TIME"}}};
    for (const TagCase& c : cases) {
        SCOPED_TRACE(c.tag);
        std::string out;
        ASSERT_TRUE(test::runCommand(walker + (dir / "log.mdx").string() + " " + c.tag, out))
            << out;
        std::vector<std::string> ours;
        t.setIndex(c.tag);
        for (t.first(); !t.eof(); t.next()) {
            std::string key;
            for (const auto& f : c.fields) {
                key += padded(t, f);
            }
            ours.push_back(hex(key) + " " + std::to_string(t.recNo()));
        }
        EXPECT_EQ(lines(out), ours);
    }
    std::string tags;
    ASSERT_TRUE(test::runCommand("index_dump " + (dir / "log.mdx").string(), tags));
    EXPECT_EQ(lines(tags), (std::vector<std::string>{"CALL", "DATETIME"}));
}

TEST(Interop, TablesWrittenByPythonDbfReadHere)
{
    if (!hasPythonModule("dbf")) {
        GTEST_SKIP() << "python3-dbf is not installed";
    }
    ScratchDir dir;
    // Each table is written, then listed by python3-dbf itself as the expected text.
    const std::string script =
        "import dbf,datetime,sys,os\n"
        "os.chdir(sys.argv[1])\n"
        "specs={'db3':'CALL C(10); D D; P N(7,2); OK L; NOTE M',"
        "'fp':'CALL C(10); D D; P N(7,2); OK L; NOTE M; R F(9,3)',"
        "'vfp':'CALL C(10); D D; P N(7,2); OK L; NOTE M; I I; T T; B B'}\n"
        "for kind,spec in specs.items():\n"
        "  t=dbf.Table(kind+'.dbf',spec,dbf_type=kind,codepage='cp1252'); t.open(dbf.READ_WRITE)\n"
        "  for n in range(40):\n"
        "    row=['C%d\\xe4'%n, datetime.date(2000+n%20,1+n%12,1+n%28), n*1.25-7, n%2==0, 'memo "
        "%d'%n*(n%5)]\n"
        "    if kind=='fp': row.append(n/8)\n"
        "    if kind=='vfp': row += [n-20, datetime.datetime(2024,1,1,n%24,n,0), n*0.5]\n"
        "    t.append(tuple(row))\n"
        "  dbf.delete(t[3]); t.close()\n";
    std::string out;
    ASSERT_TRUE(
        test::runCommand(python() + " -c \"" + script + "\" " + dir.path().string() + " 2>&1", out))
        << out;
    for (const char* kind : {"db3", "fp", "vfp"}) {
        SCOPED_TRACE(kind);
        Table t;
        t.open(dir / (std::string(kind) + ".dbf"), {OpenMode::ReadOnly});
        EXPECT_EQ(t.recordCount(), 40u);
        int n = 0;
        for (t.first(); !t.eof(); t.next(), ++n) {
            if (n == 3) {
                ++n; // deleted
            }
            EXPECT_EQ(t.text("CALL"), "C" + std::to_string(n) + "ä");
            char date[16];
            std::snprintf(date, sizeof date, "%04d%02d%02d", 2000 + n % 20, 1 + n % 12, 1 + n % 28);
            EXPECT_EQ(t.text("D"), date);
            EXPECT_DOUBLE_EQ(std::stod(t.text("P")), n * 1.25 - 7);
            EXPECT_EQ(t.boolean("OK"), n % 2 == 0);
            std::string memo;
            for (int k = 0; k < n % 5; ++k) {
                memo += "memo " + std::to_string(n);
            }
            EXPECT_EQ(t.text("NOTE"), memo);
            if (std::string(kind) == "vfp") {
                EXPECT_EQ(t.text("I"), std::to_string(n - 20));
                char stamp[32];
                std::snprintf(stamp, sizeof stamp, "2024-01-01 %02d:%02d:00", n % 24, n);
                EXPECT_EQ(t.text("T"), stamp);
                EXPECT_DOUBLE_EQ(std::stod(t.text("B")), n * 0.5);
            }
        }
        EXPECT_EQ(n, 40);
    }
}

} // namespace
} // namespace qx7::dbase
