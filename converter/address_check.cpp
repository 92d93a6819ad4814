#include "converter/address_check.h"

#include "components/core/record_fields.h"
#include "components/formats/post_read.h"
#include "converter/old_data_import.h"

#include <utility>
#include <vector>

namespace {

struct PlaceName {
    SjisString town;    // the address's first three characters
    SjisString prefix;  // what goes in front
};

const std::vector<PlaceName>& placeNames()
{
    static const std::vector<PlaceName> table = [] {
        const std::pair<const char*, const char*> rows[] = {
            {"榛東村", "群馬県北群馬郡"}, {"伊香保", "群馬県北群馬郡"}, {"吉岡村", "群馬県北群馬郡"},
            {"吉岡町", "群馬県北群馬郡"}, {"北橘村", "群馬県勢多郡"},   {"赤城村", "群馬県勢多郡"},
            {"富士見", "群馬県勢多郡"},   {"箕郷町", "群馬県群馬郡"},   {"群馬町", "群馬県群馬郡"},
            {"宇都宮", "栃木県"},
        };
        std::vector<PlaceName> out;
        for (const auto& [town, prefix] : rows)
            out.push_back({sj(town), sj(prefix)});
        return out;
    }();
    return table;
}

}  // namespace

std::optional<SjisString> completedAddress(std::string_view address)
{
    if (address.empty() || postal::beginsWithPrefecture(address))
        return std::nullopt;
    static const SjisString ken = sj("県"), gunma = sj("群馬県");
    SjisString a(address);
    for (const PlaceName& p : placeNames())
        if (address.starts_with(p.town)) {
            a = p.prefix + a;
            break;
        }
    if (a.size() < 6 || a.compare(4, 2, ken) != 0)
        a = gunma + a;
    if (a == address)
        return std::nullopt;
    return a;
}

AddressCheckOutcome checkAddresses(Table& records)
{
    const std::string table = quoteIdentifier(records.TableName());
    const std::string field = quoteIdentifier(recordField(4).name);
    records.CheckBrowseMode();
    AddressCheckOutcome outcome;
    {
        Database& db = records.database();
        Database::Transaction tx(db);
        std::vector<std::pair<long long, SjisString>> changes;
        Statement all = db.prepare("SELECT rowid, coalesce(CAST(" + field + " AS BLOB), x'') FROM " + table);
        while (all.step())
            if (auto completed = completedAddress(all.columnBytes(1)))
                changes.emplace_back(all.columnInt(0), std::move(*completed));
        Statement update = db.prepare("UPDATE " + table + " SET " + field + " = ? WHERE rowid = ?");
        for (const auto& [row, address] : changes) {
            try {
                update.reset().bindBlob(1, address).bindInt(2, row).step();
                ++outcome.completed;
            } catch (const DbError& e) {
                if (!isRecordRefusal(e))
                    throw;
                ++outcome.notCompleted;
            }
        }
        tx.commit();
    }
    records.Refresh();
    return outcome;
}
