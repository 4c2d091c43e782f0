#pragma once

#include <QString>

namespace velkor {

// A request to bring a node into view: a full path as the tree writes it,
// optionally followed by TAB and an occurrence number.
struct RevealRequest
{
    QString path;
    int occurrence = 1;

    // The path is the text before the first TAB; the occurrence is the
    // leading number of the last TAB-separated part, rounded halves to even;
    // no TAB, no number or 0 all mean the first occurrence.
    static RevealRequest parse(const QString &request);
    static QString make(const QString &path, int occurrence);
};

} // namespace velkor
