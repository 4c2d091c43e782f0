#pragma once

namespace velkor {

// libarchive turns every ZIP entry's DOS time into a time_t with mktime().
// With TZ unset, glibc looks at /etc/localtime again at every such call, a
// file-system lookup per entry of a package of thousands; naming that same
// file in TZ makes it read once. A TZ the user set is left as it is, and
// nothing changes outside Linux. Call at start-up, before any thread runs.
void nameLocalTimeZoneOnce();

} // namespace velkor
