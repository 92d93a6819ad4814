// The data directory both programs' backup benchmarks use: a full-size
// KEN_ALL.CSV and a book of vehicle records with multi-line remarks and
// addresses with and without their prefecture.
#pragma once

#include "bench/record_corpus.h"
#include "components/core/record_fields.h"
#include "tests/components/ken_all_synthetic.h"

#include <QFile>
#include <QString>
#include <cstdio>
#include <string>

inline void writeFullSizeKenAll(const QString& dir)
{
    const std::string kenAll =
        ken_all_synthetic::make(ken_all_synthetic::tokyoExcerpt(QStringLiteral(TEST_DATA_DIR "/KEN_ALL_13TOKYO.CSV")), 30);
    QFile f(dir + QStringLiteral("/KEN_ALL.CSV"));
    if (!f.open(QIODevice::WriteOnly) || f.write(kenAll.data(), qint64(kenAll.size())) != qint64(kenAll.size()))
        std::fprintf(stderr, "cannot write KEN_ALL.CSV\n");
}

inline void insertBackupRecords(Database& db, std::size_t count)
{
    const std::vector<SjisString> kana = encodeAll({"あ", "か", "さ", "た", "な", "は", "ま", "や", "ら", "わ"});
    const std::vector<SjisString> addresses =
        encodeAll({"東京都千代田区飯田橋３－１０", "港区芝浦３－４", "北海道港区芝２丁目３－１",
                   "東京都渋谷区桜丘町２６－１", "大阪府大阪市北区梅田１", "どこにもない住所",
                   "群馬県群新宿区西新宿２丁目８－１"});
    Values record(kExtendedFieldCount);
    insertRecords(
        db, count,
        [&](std::size_t i) -> const Values& {
            record[0] = kana[i % kana.size()] + sj("やまだ") + std::to_string(i);
            record[1] = "03-1234-" + std::to_string(i % 10000);
            record[2] = sj("山田太郎");
            record[3] = addresses[i % addresses.size()];
            record[4] = sj("品川５００あ") + std::to_string(i);
            record[5] = sj("令和０２年０４月０１日");
            record[7] = "ABC-" + std::to_string(i % 300);
            record[10] = sj("１２３４５");
            record[11] = sj("０００") + std::to_string(i % 50);
            record[13] = sj("あおば損害保険");
            record[14] = "C" + std::to_string(i);
            record[22] = sj("トヨタ");
            record[27] = std::to_string(1000 + i % 900);
            record[41] = sj("令和０２年０４月０１日 点検\r\n令和０３年０４月０１日 車検");
            record[55] = sj("メモ");
            return record;
        },
        IndexUpkeep::BuiltAfterwards);
}
