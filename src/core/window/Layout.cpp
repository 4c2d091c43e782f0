#include "Layout.h"

namespace velkor {

using namespace layout;

TwipRect &rectOf(PaneRects &rects, Pane pane)
{
    return rects[std::size_t(pane)];
}

const TwipRect &rectOf(const PaneRects &rects, Pane pane)
{
    return rects[std::size_t(pane)];
}

PaneRects initialPaneRects()
{
    PaneRects r;
    rectOf(r, Pane::RamkaD) = {0, 525, 6105, 5370};
    rectOf(r, Pane::RamkaS) = {10080, 525, 5475, 1800};
    rectOf(r, Pane::RamkaK) = {10080, 2730, 4845, 2325};
    rectOf(r, Pane::Ramka) = {105, 6510, 5580, 4215};
    rectOf(r, Pane::RamkaE) = {10080, 5670, 4845, 2745};
    rectOf(r, Pane::RamkaT) = {6195, 525, 3795, 8415};
    rectOf(r, Pane::Korygowane) = {10080, 105, 3270, 225};
    // Contents start where a first layout pass would put them in these frames.
    for (const auto &[content, frame] : {std::pair{Pane::Drzewo, Pane::RamkaD}, {Pane::Struktura, Pane::RamkaT},
                                         {Pane::ListaS, Pane::RamkaS}, {Pane::ListaK, Pane::RamkaK},
                                         {Pane::Lista, Pane::Ramka}, {Pane::ListaE, Pane::RamkaE}}) {
        const TwipRect &f = rectOf(r, frame);
        rectOf(r, content) = {Margin, ContentTop, f.width - 2 * Margin, f.height - ContentTop - Margin};
    }
    for (Pane button : {Pane::Command1, Pane::Command2, Pane::Command3, Pane::Command4, Pane::Command5,
                        Pane::Command6, Pane::Command7})
        rectOf(r, button) = {Margin, ButtonTop, 2010, 330};
    rectOf(r, Pane::Command11) = {Margin, ButtonTop, 435, 330};
    rectOf(r, Pane::Command12) = {Margin, ButtonTop, 960, 330};
    return r;
}

namespace {

// Moves a control unless the new size is negative.
void place(PaneRects &rects, Pane pane, TwipRect rect)
{
    if (rect.width < 0 || rect.height < 0)
        return;
    rectOf(rects, pane) = rect;
}

// The list, tree or text box filling a frame below its buttons.
void placeContent(PaneRects &rects, Pane content, Pane frame)
{
    const TwipRect &f = rectOf(rects, frame);
    place(rects, content, {Margin, ContentTop, f.width - 2 * Margin, f.height - ContentTop - Margin});
}

// A button against the right edge of its frame, or directly left of `rightNeighbour`.
void placeButton(PaneRects &rects, Pane button, Pane frame, Pane rightNeighbour = Pane::Count)
{
    const TwipRect current = rectOf(rects, button);
    int right = rectOf(rects, frame).width - Margin;
    if (rightNeighbour != Pane::Count)
        right -= rectOf(rects, rightNeighbour).width;
    place(rects, button, {right - current.width, ButtonTop, current.width, current.height});
}

} // namespace

PaneRects layoutMainWindow(int clientWidth, int clientHeight, int statusHeight, PaneRects r)
{
    const TwipRect d0 = rectOf(r, Pane::RamkaD);
    place(r, Pane::RamkaD, {Margin, d0.top, clientWidth - 3 * Margin - rectOf(r, Pane::RamkaS).width, d0.height});

    const TwipRect &d = rectOf(r, Pane::RamkaD);
    place(r, Pane::RamkaS, {d.right() + Margin, d.top, rectOf(r, Pane::RamkaS).width, d.height});
    place(r, Pane::Ramka, {d.left, d.bottom() + Margin, d.width, clientHeight - d.bottom() - Margin - statusHeight});
    place(r, Pane::RamkaT, {Margin, d.top, d.width, clientHeight - d.top - statusHeight});

    placeButton(r, Pane::Command6, Pane::RamkaD);
    placeButton(r, Pane::Command5, Pane::RamkaD, Pane::Command6);
    placeContent(r, Pane::Drzewo, Pane::RamkaD);

    placeButton(r, Pane::Command7, Pane::RamkaT);
    placeContent(r, Pane::Struktura, Pane::RamkaT);

    const TwipRect &s = rectOf(r, Pane::RamkaS);
    const TwipRect &lines = rectOf(r, Pane::Ramka);
    place(r, Pane::RamkaE, {s.left, lines.top, s.width, lines.height});
    const TwipRect k = rectOf(r, Pane::Korygowane);
    place(r, Pane::Korygowane, {s.left, k.top, k.width, k.height});
    place(r, Pane::RamkaK, s);

    placeContent(r, Pane::ListaS, Pane::RamkaS);
    placeButton(r, Pane::Command1, Pane::RamkaS);

    placeButton(r, Pane::Command4, Pane::RamkaK);
    placeContent(r, Pane::ListaK, Pane::RamkaK);

    placeButton(r, Pane::Command2, Pane::Ramka);
    placeContent(r, Pane::Lista, Pane::Ramka);
    placeButton(r, Pane::Command11, Pane::Ramka, Pane::Command2);

    placeButton(r, Pane::Command3, Pane::RamkaE);
    placeContent(r, Pane::ListaE, Pane::RamkaE);
    return r;
}

} // namespace velkor
