#pragma once

#include <array>
#include <vector>

namespace velkor {

// A total of the invoice header (P_13_x, with its VAT P_14_x and the VAT
// in PLN P_14_xW) and the VAT rate codes (P_12) of the lines that make it up.
struct RateGroup
{
    const char *netField;
    const char *vatField;    // nullptr: no VAT at these rates
    const char *vatPlnField; // nullptr: no VAT in PLN
    std::vector<const char *> codes;
    const char *label; // the group as a printed VAT summary names it
};

// The header's totals in schema order, as its documentation assigns them.
const std::array<RateGroup, 13> &rateGroups();
// The groups whose lines are not told by their rate code.
enum SpecialRateGroup { OssGroup = 4, MarginGroup = 12 };

} // namespace velkor
