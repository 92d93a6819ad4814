// Gives a new demo data directory a handful of fictional vehicle records,
// so that a newcomer sees a filled card. A database that holds records
// already is left alone.
#include "components/core/data_directory.h"
#include "components/core/database.h"
#include "components/core/schema.h"
#include "components/core/table.h"
#include "components/formats/lookup_settings.h"
#include "components/formats/post_read.h"
#include "record_book/model/weights.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

struct DemoRecord {
    const char* reading;
    const char* phone;
    const char* name;
    const char* address;
    const char* number;
    const char* registered;
    const char* first;
    const char* model;
    const char* chassis;
    const char* engine;
    const char* designation;
    const char* classification;
    const char* validUntil;
    const char* insurer;
    const char* certificate;
    const char* kind;
    const char* use;
    const char* make;
    const char* body;
    int seats, load, weight, gross;
    const char* remarks;
};

const DemoRecord kRecords[] = {
    {"あおやまはなこ", "03-1234-5678", "青山花子", "東京都港区北青山９－９－１", "品川５００あ１２３４",
     "令和０３年０４月１２日", "令和０３年０４月", "5BA-ZZ10", "ZZ10-0012345", "1ZZ", "１２３４５", "０００１",
     "令和０７年０４月１１日", "あおば損害保険", "A123456789", "小型", "乗用", "トヨタ", "箱形", 5, 0, 1100, 1375,
     "令和０３年０４月１２日　新規登録\r\n令和０５年０４月０３日　車検"},
    {"かわむらけんじ", "045-987-6543", "川村健二", "神奈川県横浜市中区山下町９９", "横浜３３０さ５６７８",
     "平成２９年１１月２０日", "平成２９年１１月", "DBA-XY20", "XY20-0456789", "2XY", "２３４５６", "００１２",
     "令和０７年１１月１９日", "みなと火災海上", "B987654321", "普通", "乗用", "ニッサン", "箱形", 7, 0, 1600, 1985,
     "令和０５年１１月１５日　車検"},
    {"さとうまさる", "048-111-2222", "佐藤勝", "埼玉県さいたま市浦和区高砂９－９", "大宮４００た９０１２",
     "平成２６年０６月０２日", "平成２６年０６月", "LDF-QR30", "QR30-0078901", "3QR", "３４５６７", "０１２３",
     "令和０８年０６月０１日", "あおば損害保険", "C246813579", "小型", "貨物", "マツダ", "バン", 2, 650, 1200, 1960,
     "令和０６年０５月２８日　車検\r\n令和０６年０９月１０日　修理"},
    {"たなかゆうこ", "0266-55-4433", "田中優子", "長野県諏訪市湖岸通り９－８", "諏訪５８０な３４５６",
     "令和０１年０９月０９日", "令和０１年０９月", "3BA-KL40", "KL40-0034567", "4KL", "４５６７８", "００２３",
     "令和０７年０９月０８日", "みなと火災海上", "D135792468", "軽自動車", "乗用", "ダイハツ", "箱形", 4, 0, 850, 1070,
     ""},
    {"はやしじろう", "06-7777-8888", "林次郎", "大阪府大阪市北区梅田９－９－９", "なにわ３００は７８９０",
     "平成３０年０２月１４日", "平成３０年０２月", "6AA-MN50", "MN50-0090123", "5MN", "５６７８９", "０００５",
     "令和０８年０２月１３日", "あおば損害保険", "E864209753", "普通", "乗用", "ホンダ", "箱形", 5, 0, 1450, 1725,
     "令和０６年０２月０５日　車検"},
    {"やまもとさちこ", "052-333-4444", "山本幸子", "愛知県名古屋市中区栄９－１－１", "名古屋５０２や２４６８",
     "令和０４年０７月０７日", "令和０４年０７月", "5AA-GH60", "GH60-0011223", "6GH", "６７８９０", "００３４",
     "令和０７年０７月０６日", "みなと火災海上", "F975318642", "小型", "乗用", "スズキ", "箱形", 5, 0, 980, 1255,
     ""},
    {"わたなべまこと", "092-222-1111", "渡辺誠", "福岡県福岡市博多区博多駅前９－２", "福岡３３１わ１３５７",
     "平成２８年１２月０１日", "平成２８年１２月", "DBA-ST70", "ST70-0055667", "7ST", "７８９０１", "０１０１",
     "令和０８年１１月３０日", "あおば損害保険", "G112233445", "普通", "乗用", "スバル", "箱形", 5, 0, 1500, 1775,
     "令和０６年１１月２０日　車検"},
};

// Every record is already as completing its weights would leave it, so
// clicking into a weight box changes nothing.
void checkWeights(const DemoRecord& r)
{
    const Weights w{r.seats, r.load, r.weight, r.gross};
    if (completedWeights(w) != w)
        throw std::runtime_error(std::string("inconsistent weights: ") + r.name);
}

void seedRecords(Table& t)
{
    Table::Bulk bulk(t);
    for (const DemoRecord& r : kRecords) {
        checkWeights(r);
        t.Append();
        auto set = [&](const char* field, const char* value) { t.FieldByName(field).SetAsString(sj(value)); };
        set("使用者ふりがな", r.reading);
        set("電話番号", r.phone);
        set("使用者", r.name);
        set("使用者住所", r.address);
        set("自動車登録番号", r.number);
        set("登録年月日", r.registered);
        set("初度登録年月", r.first);
        set("型式", r.model);
        set("車台番号", r.chassis);
        set("原動機の型式", r.engine);
        set("自動車型式指定番号", r.designation);
        set("類別区分番号", r.classification);
        set("有効期間の満了する日", r.validUntil);
        set("自賠責保険機関", r.insurer);
        set("自賠責証明番号", r.certificate);
        set("所有者", "使用者に同じ");
        set("所有者住所", "使用者住所に同じ");
        set("使用の本拠の位置", "使用者住所に同じ");
        set("自動車の種別", r.kind);
        set("用途", r.use);
        set("自家用事業用の別", "自家用");
        set("車体の形状", r.body);
        set("車名", r.make);
        t.FieldByName("乗車定員").SetAsInteger(r.seats);
        if (r.load)
            t.FieldByName("最大積載量").SetAsInteger(r.load);
        t.FieldByName("車両重量").SetAsInteger(r.weight);
        t.FieldByName("車両総重量").SetAsInteger(r.gross);
        set("燃料の種類", "ガソリン");
        set("備考", r.remarks);
        t.Post();
    }
    bulk.commit();
}

// The postal table of the address dialog, built from the directory's
// KEN_ALL.CSV as the dialog's own rebuild does.
void seedPostData(Database& db, const QString& dir)
{
    Table post(db, "PostData");
    post.Open();
    const QString kenAll = resolveFile(dir, QStringLiteral("KEN_ALL.CSV"));
    if (!post.IsEmpty() || !QFileInfo::exists(kenAll))
        return;
    postal::replacePostData(post, postal::readPostDataFile(kenAll, readPostDataColumns(dir).columns));
    std::printf("demo_seed: %lld postal entries\n", static_cast<long long>(post.RecordCount()));
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : currentDataDirectory();
    try {
        const std::unique_ptr<Database> shared = openSharedDatabase(Database::cardataPath(dir));
        Database& db = *shared;
        Table t(db, "INDATA");
        t.Open();
        if (t.IsEmpty())
            seedRecords(t);
        seedPostData(db, dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "demo_seed: %s\n", e.what());
        return 1;
    }
    return 0;
}
