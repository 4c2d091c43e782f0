#pragma once

#include <QString>

namespace velkor {

class Desktop;
class ListView;

// The three clipboard operations every copy command uses.
class ClipboardExport
{
public:
    explicit ClipboardExport(Desktop &desktop) : m_desktop(desktop) {}

    // Replaces the clipboard's contents with the text; failures are ignored.
    void CopyTextToClipboard(const QString &text);

    // The list as TAB-separated text: every row or only the selected ones,
    // with or without the header line. Returns false for an empty list
    // (the clipboard is then untouched); a failure after that is reported
    // under "Kopiowanie tabeli".
    bool CopyListView(const ListView &list, bool allRows, bool withHeader);

    // Fits every column to its contents and its header text.
    static void AutoFitColumns(ListView &list);

private:
    Desktop &m_desktop;
};

} // namespace velkor
