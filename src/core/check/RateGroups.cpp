#include "RateGroups.h"

namespace velkor {

const std::array<RateGroup, 13> &rateGroups()
{
    static const std::array<RateGroup, 13> groups = {{
        {"P_13_1", "P_14_1", "P_14_1W", {"23", "22"}, "23% lub 22%"},
        {"P_13_2", "P_14_2", "P_14_2W", {"8", "7"}, "8% lub 7%"},
        {"P_13_3", "P_14_3", "P_14_3W", {"5"}, "5%"},
        {"P_13_4", "P_14_4", "P_14_4W", {"4", "3"}, "ryczałt dla taksówek"},
        {"P_13_5", "P_14_5", nullptr, {}, "procedura OSS"}, // lines with P_12_XII
        {"P_13_6_1", nullptr, nullptr, {"0 KR"}, "0% (kraj)"},
        {"P_13_6_2", nullptr, nullptr, {"0 WDT"}, "0% WDT"},
        {"P_13_6_3", nullptr, nullptr, {"0 EX"}, "0% eksport"},
        {"P_13_7", nullptr, nullptr, {"zw"}, "zwolnione"},
        {"P_13_8", nullptr, nullptr, {"np I"}, "np (poza krajem)"},
        {"P_13_9", nullptr, nullptr, {"np II"}, "np (art. 100 ust. 1 pkt 4)"},
        {"P_13_10", nullptr, nullptr, {"oo"}, "odwrotne obciążenie"},
        {"P_13_11", nullptr, nullptr, {}, "procedura marży"}, // lines without a rate
    }};
    return groups;
}

} // namespace velkor
