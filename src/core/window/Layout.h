#pragma once

#include <array>

namespace velkor {

// Controls the main window's layout places. Rectangles of controls inside a
// frame are relative to that frame.
enum class Pane {
    RamkaD, RamkaS, RamkaK, Ramka, RamkaE, RamkaT, Korygowane,
    Drzewo, Struktura, ListaS, ListaK, Lista, ListaE,
    Command1, Command2, Command3, Command4, Command5, Command6, Command7, Command11, Command12,
    Count
};

struct TwipRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    friend bool operator==(const TwipRect &a, const TwipRect &b)
    {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    }
};

using PaneRects = std::array<TwipRect, std::size_t(Pane::Count)>;

// Lengths of the layout grid, in twips.
namespace layout {
constexpr int Margin = 105;
constexpr int FrameTop = 525;
constexpr int UpperRowHeight = 5370;
constexpr int RightColumnWidth = 5475;
constexpr int ButtonTop = 210;
constexpr int ContentTop = 630;
constexpr int MinimumWindowWidth = 14325;
constexpr int MinimumWindowHeight = 8835;
} // namespace layout

// The rectangles of every control when the window is created, before the
// first layout pass; the command row above the frames keeps these for good.
PaneRects initialPaneRects();

// One layout pass: from the client size, the status bar's height and the
// controls' current rectangles to their new rectangles. A placement whose
// width or height would be negative is skipped and that control keeps its
// rectangle; later placements read the rectangles as they stand.
PaneRects layoutMainWindow(int clientWidth, int clientHeight, int statusHeight, PaneRects current);

TwipRect &rectOf(PaneRects &rects, Pane pane);
const TwipRect &rectOf(const PaneRects &rects, Pane pane);

} // namespace velkor
