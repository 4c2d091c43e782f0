#pragma once

#include <QStringView>

namespace velkor {

// The text without the spaces (U+0020 only) at its ends, as the classic
// Trim does; tabs, line breaks and other blanks stay.
inline QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace velkor
