#include "CommandRow.h"

#include "gui/widgets/WindowStyle.h"

namespace velkor {

CommandRow::CommandRow(QWidget *window)
{
    const auto add = [&](int index, const QString &caption, const QString &tooltip = {}) {
        m_buttons.emplace_back(index, commandButton(window, index, caption, tooltip));
    };
    add(8, QStringLiteral("Otwórz z pliku F5"));
    add(9, QStringLiteral("Wklej Ctrl+F5"));
    add(10, QStringLiteral("Kontrola  F9"), QStringLiteral("Sprawdź sumy, numery i plik faktury"));
    add(13, QStringLiteral("Drukuj  Ctrl+P"), QStringLiteral("Drukuj fakturę lub zapisz jako PDF"));
    add(0, QStringLiteral("Zamknij Esc"));
    add(14, QStringLiteral("Rejestr  F8"), QStringLiteral("Rejestr faktur: folder (F8), kilka plików lub paczka ZIP (Shift+F8)"));
}

TwipRect commandRowRect(int index)
{
    switch (index) {
    case 0:
        return {0, 0, 1275, 435};
    case 8:
        return {1260, 0, 1590, 435};
    case 9:
        return {2835, 0, 1590, 435};
    case 10:
        return {4410, 0, 1080, 435};
    case 13:
        return {5475, 0, 1245, 435};
    case 14:
        return {8745, 0, 1200, 435};
    default:
        return {};
    }
}

TwipRect strukturaOnRect()
{
    return {6720, 105, 2010, 225};
}

} // namespace velkor
