// A data directory with its own book, and a small synthetic old-data file
// with its layout: what the import tests and the window tests share.
#pragma once

#include "components/core/database.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "components/core/table.h"
#include "components/formats/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Field number → value (CP932 bytes); every other field is empty.
using RecordValues = std::map<int, std::string>;

class OldDataFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<Database> db;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    void writeFile(const char* name, const std::string& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }

    void writeLines(const char* name, const std::vector<std::string>& lines) const
    {
        LineListFile(lines).write(path(name));
    }

    // The base layout: reading (half-width), telephone (bytes), name (JIS
    // pairs without spaces), model (split), inspection date (YYYYMMDD),
    // riding capacity (bytes), remarks (JIS pairs and CR LF), body shape
    // (ConvType.INI): 65 bytes a record.
    static std::vector<std::string> baseLayout()
    {
        return {"8", "1", "8", "21", "2", "10", "20", "3", "8", "1", "8", "22", "0", "13", "8", "30",
                "24", "2", "20", "42", "4", "2", "22", "3", "23"};
    }

    static std::string baseRecord(const std::string& reading, const std::string& phone, const std::string& jisName,
                                  const std::string& remarks = "0#1#")
    {
        return reading + phone + jisName + "ABC 12345.6789" + sj("ｹﾞﾝｹｲ") + " X1" + "20190501" + "05" + remarks + "SED";
    }

    static std::string yamada() { return baseRecord(sj("ﾔﾏﾀﾞ") + "    ", "0312345678", "\x33\x3B\x44\x45!!!!"); }
    static std::string suzuki() { return baseRecord(sj("ｽｽﾞｷ") + "    ", "0312345678", "\x6B\x4E\x5A\x4C!!!!", " $0#"); }
    static std::string sato() { return baseRecord(sj("ｻﾄｳ") + "     ", "0459998888", "\x34\x3A\x23\x46!!!!"); }

    // The records the base file's three records make.
    static RecordValues expected(const char* reading, const char* phone, const char* name,
                                 const std::string& remarks = sj("０１") + "\r\n")
    {
        return {{1, sj(reading)},        {2, phone},
                {3, sj(name)},           {8, sj("ＡＢＣ")},
                {10, sj("Ｘ１")},        {11, sj("１２３４５")},
                {12, sj("６７８９")},    {13, sj("令和０１年０５月０１日")},
                {22, sj("セダン")},      {24, "5"},
                {42, remarks}};
    }

    // The sample files: SAMPLE.JWP with its layout SAMPLE.INI, ConvType.INI,
    // three records and 7 bytes of a fourth.
    void writeSample() const
    {
        writeLines("SAMPLE.INI", baseLayout());
        writeLines("ConvType.INI", {"SED," + sj("ｾﾀﾞﾝ"), "CPE," + sj("ｸｰﾍﾟ")});
        writeFile("SAMPLE.JWP", yamada() + suzuki() + sato() + sj("ﾔﾏﾀﾞ") + "   ");
    }

    // Every record of the table in its primary order, read past the table.
    std::vector<RecordValues> records() const
    {
        std::string columns;
        for (int no = 1; no <= kStandardFieldCount; ++no)
            columns += (no > 1 ? ", " : "") + std::string("coalesce(CAST(") + quoteIdentifier(recordField(no).name) +
                       " AS BLOB), x'')";
        Statement s = db->prepare("SELECT " + columns + " FROM INDATA ORDER BY " +
                                  quoteIdentifier(recordField(1).name) + ", rowid");
        std::vector<RecordValues> out;
        while (s.step()) {
            RecordValues r;
            for (int no = 1; no <= kStandardFieldCount; ++no)
                if (std::string v = s.columnBytes(no - 1); !v.empty())
                    r[no] = v;
            out.push_back(r);
        }
        return out;
    }
};
