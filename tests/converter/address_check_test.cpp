#include "converter/address_check.h"
#include "tests/converter/old_data_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST(AddressCheckTest, CompletesAddressesWithoutAPrefecture)
{
    const struct {
        const char* address;
        const char* completed;  // nullptr: stays
    } cases[] = {
        {"榛東村新井１", "群馬県北群馬郡榛東村新井１"},
        {"赤城村敷島", "群馬県勢多郡赤城村敷島"},
        {"宇都宮市本町", "栃木県宇都宮市本町"},
        {"前橋市大手町", "群馬県前橋市大手町"},
        {"前橋", "群馬県前橋"},
        {"　前橋市", "群馬県　前橋市"},
        {"abcd", "群馬県abcd"},
        {"abcd県x", nullptr},  // bytes 5 and 6 form "県"
        {"群馬県前橋市", nullptr},
        {"栃木県小山市", nullptr},
        {"群馬県宇都宮", nullptr},
        {"東京都新宿区", nullptr},
        {"神奈川県横浜市", nullptr},
        {"　大阪府堺市", nullptr},
        {"\t大阪府堺市", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto completed = completedAddress(sj(c.address));
        EXPECT_EQ(completed, c.completed ? std::optional(sj(c.completed)) : std::nullopt) << c.address;
        if (completed) {
            EXPECT_EQ(completedAddress(*completed), std::nullopt) << c.address;
        }
    }
}

class AddressCheckTableTest : public OldDataFixture {};

TEST_F(AddressCheckTableTest, ChecksEveryRecordOnceAndLeavesDuplicateKeys)
{
    Table table(*db, "INDATA");
    table.SetIndexFieldNames("使用者住所");
    table.Open();
    // Completing moves each record past the others in the table's order.
    const char* const addresses[] = {"前橋市", "前橋市１", "前橋市２", "群馬県前橋市", "", "宇都宮"};
    for (const char* a : addresses)
        table.AppendRecord({sj("あ"), std::nullopt, std::nullopt, sj(a)});
    const AddressCheckOutcome first = checkAddresses(table);
    EXPECT_EQ(first.completed, 3);
    EXPECT_EQ(first.notCompleted, 1);  // 前橋市 would become the key of 群馬県前橋市
    std::multiset<std::string> stored;
    for (const RecordValues& r : records())
        stored.insert(r.count(4) ? sjis::toUtf8(r.at(4)) : "");
    EXPECT_EQ(stored, (std::multiset<std::string>{"", "前橋市", "群馬県前橋市", "群馬県前橋市１", "群馬県前橋市２",
                                                  "栃木県宇都宮"}));
    const AddressCheckOutcome second = checkAddresses(table);
    EXPECT_EQ(second.completed, 0);
    EXPECT_EQ(second.notCompleted, 1);
    EXPECT_EQ(table.RecordCount(), 6);
}

}  // namespace
