// The address check: user addresses of the region that lack their
// prefecture get it in front, with the county for a town or village whose
// name the address begins with.
#pragma once

#include "components/core/cp932.h"
#include "components/core/table.h"

#include <optional>
#include <string_view>

// The completed address, or nothing when the address stays: an empty
// address, one that begins (after blanks) with a prefecture's name, and one
// whose third character is "県" stay. Otherwise an address that begins with
// a town of the place-name table gets its prefecture and county, and any
// other gets "群馬県".
std::optional<SjisString> completedAddress(std::string_view address);

struct AddressCheckOutcome {
    int completed = 0;     // addresses written
    int notCompleted = 0;  // completions the table refused (a key that exists)
};

// Completes 使用者住所 of every record, each once, in one transaction. A
// completion the table refuses leaves that record as it was. Any other
// failure rolls everything back and is thrown.
AddressCheckOutcome checkAddresses(Table& records);
