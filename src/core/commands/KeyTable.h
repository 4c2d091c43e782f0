#pragma once

#include <Qt>

namespace velkor {

// The rows of the window's key table. A key with its shift state matches at
// most one row; the shift state is compared as a whole (none, Shift, Ctrl or,
// for P alone, Ctrl+Shift; Alt matches nothing).
enum class KeyCommand {
    None,
    Exit,              // Esc
    OpenFile,          // F5
    Paste,             // Ctrl+F5
    Info,              // F1
    FocusTree,         // F2
    CopyTreeOrText,    // Ctrl+F2
    CopyXml,           // Shift+F2
    FocusHeader,       // F3
    CopyHeader,        // Ctrl+F3
    FocusLines,        // F6
    CopyTable,         // Ctrl+F6
    FocusDetails,      // F7
    CopyDetails,       // Ctrl+F7
    Check,             // F9
    ToggleView,        // F11
    ToggleCorrections, // F12
    Print,             // Ctrl+P
    SavePdf,           // Ctrl+Shift+P
    Register,          // F8
    RegisterFiles,     // Shift+F8
};

KeyCommand keyCommand(int key, Qt::KeyboardModifiers modifiers);

// Ctrl+C, or Ctrl+Insert (the other copy key users have), with exactly Ctrl
// held: the copy keys of the list panes. Both are taken before the list
// itself, which would copy a single cell.
bool isListCopyKey(int key, Qt::KeyboardModifiers modifiers);

} // namespace velkor
