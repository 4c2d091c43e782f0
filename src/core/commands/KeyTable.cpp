#include "KeyTable.h"

namespace velkor {

namespace {

enum class ShiftState { None, Shift, Ctrl, CtrlShift, Other };

ShiftState shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    // The keypad flag says where a key sits, not what is held.
    modifiers &= ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier)
        return ShiftState::None;
    if (modifiers == Qt::ShiftModifier)
        return ShiftState::Shift;
    if (modifiers == Qt::ControlModifier)
        return ShiftState::Ctrl;
    if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return ShiftState::CtrlShift;
    return ShiftState::Other;
}

} // namespace

KeyCommand keyCommand(int key, Qt::KeyboardModifiers modifiers)
{
    const ShiftState shift = shiftStateOf(modifiers);
    const bool none = shift == ShiftState::None;
    const bool ctrl = shift == ShiftState::Ctrl;
    switch (key) {
    case Qt::Key_Escape:
        return none ? KeyCommand::Exit : KeyCommand::None;
    case Qt::Key_F1:
        return none ? KeyCommand::Info : KeyCommand::None;
    case Qt::Key_F2:
        if (shift == ShiftState::Shift)
            return KeyCommand::CopyXml;
        return none ? KeyCommand::FocusTree : ctrl ? KeyCommand::CopyTreeOrText : KeyCommand::None;
    case Qt::Key_F3:
        return none ? KeyCommand::FocusHeader : ctrl ? KeyCommand::CopyHeader : KeyCommand::None;
    case Qt::Key_F5:
        return none ? KeyCommand::OpenFile : ctrl ? KeyCommand::Paste : KeyCommand::None;
    case Qt::Key_F6:
        return none ? KeyCommand::FocusLines : ctrl ? KeyCommand::CopyTable : KeyCommand::None;
    case Qt::Key_F7:
        return none ? KeyCommand::FocusDetails : ctrl ? KeyCommand::CopyDetails : KeyCommand::None;
    case Qt::Key_F8:
        return none ? KeyCommand::Register : shift == ShiftState::Shift ? KeyCommand::RegisterFiles : KeyCommand::None;
    case Qt::Key_F9:
        return none ? KeyCommand::Check : KeyCommand::None;
    case Qt::Key_F11:
        return none ? KeyCommand::ToggleView : KeyCommand::None;
    case Qt::Key_F12:
        return none ? KeyCommand::ToggleCorrections : KeyCommand::None;
    case Qt::Key_P:
        return ctrl ? KeyCommand::Print : shift == ShiftState::CtrlShift ? KeyCommand::SavePdf : KeyCommand::None;
    default:
        return KeyCommand::None;
    }
}

bool isListCopyKey(int key, Qt::KeyboardModifiers modifiers)
{
    return (key == Qt::Key_C || key == Qt::Key_Insert) && shiftStateOf(modifiers) == ShiftState::Ctrl;
}

} // namespace velkor
