#include "app/ui/settings/ShortcutRecorder.h"

#include <array>
#include <utility>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include "app/ui/kit/Localized.h"

namespace solvara {

namespace {

struct KeyEntry {
    int qtKey;
    std::uint16_t keyCode;
};

// Qt keys to the key codes of the table, by the key that types them on a US layout (so a
// shifted character names its key: "!" is the 1 key).
constexpr std::array<KeyEntry, 97> mainKeys{{
    {Qt::Key_A, 0},
    {Qt::Key_S, 1},
    {Qt::Key_D, 2},
    {Qt::Key_F, 3},
    {Qt::Key_H, 4},
    {Qt::Key_G, 5},
    {Qt::Key_Z, 6},
    {Qt::Key_X, 7},
    {Qt::Key_C, 8},
    {Qt::Key_V, 9},
    {Qt::Key_B, 11},
    {Qt::Key_Q, 12},
    {Qt::Key_W, 13},
    {Qt::Key_E, 14},
    {Qt::Key_R, 15},
    {Qt::Key_Y, 16},
    {Qt::Key_T, 17},
    {Qt::Key_O, 31},
    {Qt::Key_U, 32},
    {Qt::Key_I, 34},
    {Qt::Key_P, 35},
    {Qt::Key_L, 37},
    {Qt::Key_J, 38},
    {Qt::Key_K, 40},
    {Qt::Key_N, 45},
    {Qt::Key_M, 46},
    {Qt::Key_1, 18},
    {Qt::Key_2, 19},
    {Qt::Key_3, 20},
    {Qt::Key_4, 21},
    {Qt::Key_6, 22},
    {Qt::Key_5, 23},
    {Qt::Key_9, 25},
    {Qt::Key_7, 26},
    {Qt::Key_8, 28},
    {Qt::Key_0, 29},
    {Qt::Key_Exclam, 18},
    {Qt::Key_At, 19},
    {Qt::Key_NumberSign, 20},
    {Qt::Key_Dollar, 21},
    {Qt::Key_AsciiCircum, 22},
    {Qt::Key_Percent, 23},
    {Qt::Key_ParenLeft, 25},
    {Qt::Key_Ampersand, 26},
    {Qt::Key_Asterisk, 28},
    {Qt::Key_ParenRight, 29},
    {Qt::Key_Equal, 24},
    {Qt::Key_Plus, 24},
    {Qt::Key_Minus, 27},
    {Qt::Key_Underscore, 27},
    {Qt::Key_BracketRight, 30},
    {Qt::Key_BraceRight, 30},
    {Qt::Key_BracketLeft, 33},
    {Qt::Key_BraceLeft, 33},
    {Qt::Key_Apostrophe, 39},
    {Qt::Key_QuoteDbl, 39},
    {Qt::Key_Semicolon, 41},
    {Qt::Key_Colon, 41},
    {Qt::Key_Backslash, 42},
    {Qt::Key_Bar, 42},
    {Qt::Key_Comma, 43},
    {Qt::Key_Less, 43},
    {Qt::Key_Slash, 44},
    {Qt::Key_Question, 44},
    {Qt::Key_Period, 47},
    {Qt::Key_Greater, 47},
    {Qt::Key_QuoteLeft, 50},
    {Qt::Key_AsciiTilde, 50},
    {Qt::Key_Return, 36},
    {Qt::Key_Tab, 48},
    {Qt::Key_Backtab, 48},
    {Qt::Key_Space, 49},
    {Qt::Key_Backspace, 51},
    {Qt::Key_Escape, 53},
    {Qt::Key_Insert, 114},
    {Qt::Key_Home, 115},
    {Qt::Key_PageUp, 116},
    {Qt::Key_Delete, 117},
    {Qt::Key_End, 119},
    {Qt::Key_PageDown, 121},
    {Qt::Key_Left, 123},
    {Qt::Key_Right, 124},
    {Qt::Key_Down, 125},
    {Qt::Key_Up, 126},
    {Qt::Key_F1, 122},
    {Qt::Key_F2, 120},
    {Qt::Key_F3, 99},
    {Qt::Key_F4, 118},
    {Qt::Key_F5, 96},
    {Qt::Key_F6, 97},
    {Qt::Key_F7, 98},
    {Qt::Key_F8, 100},
    {Qt::Key_F9, 101},
    {Qt::Key_F10, 109},
    {Qt::Key_F11, 103},
    {Qt::Key_F12, 111},
    {Qt::Key_Enter, 76},
}};

constexpr std::array<KeyEntry, 17> keypadKeys{{
    {Qt::Key_0, 82},
    {Qt::Key_1, 83},
    {Qt::Key_2, 84},
    {Qt::Key_3, 85},
    {Qt::Key_4, 86},
    {Qt::Key_5, 87},
    {Qt::Key_6, 88},
    {Qt::Key_7, 89},
    {Qt::Key_8, 91},
    {Qt::Key_9, 92},
    {Qt::Key_Period, 65},
    {Qt::Key_Asterisk, 67},
    {Qt::Key_Plus, 69},
    {Qt::Key_Slash, 75},
    {Qt::Key_Minus, 78},
    {Qt::Key_Equal, 81},
    {Qt::Key_Enter, 76},
}};

bool isModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_ScrollLock:
            return true;
        default:
            return false;
    }
}

// The pressed keys as the desktop writes them ("Ctrl+Alt+Ä", "F13").
QString keysText(const QKeyEvent& event) {
    const int key = event.key();
    if (key == 0 || key == Qt::Key_unknown) {
        const QString typed = event.text().trimmed();
        return typed.isEmpty() ? localized("This key") : typed;
    }
    const Qt::KeyboardModifiers shown = event.modifiers() & ~Qt::KeypadModifier & ~Qt::GroupSwitchModifier;
    return QKeySequence(QKeyCombination(shown, static_cast<Qt::Key>(key))).toString(QKeySequence::NativeText);
}

}  // namespace

ShortcutRecorder::ShortcutRecorder(QObject* parent) : QObject(parent) {}

ShortcutRecorder::~ShortcutRecorder() {
    if (action_ && QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
}

void ShortcutRecorder::start(Action action) {
    stop();
    action_ = action;
    QCoreApplication::instance()->installEventFilter(this);
}

void ShortcutRecorder::stop() {
    if (!action_) return;
    QCoreApplication::instance()->removeEventFilter(this);
    action_.reset();
    emit stopped();
}

std::optional<std::uint16_t> ShortcutRecorder::keyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        for (const KeyEntry& entry : keypadKeys) {
            if (entry.qtKey == qtKey) return entry.keyCode;
        }
    }
    for (const KeyEntry& entry : mainKeys) {
        if (entry.qtKey == qtKey) return entry.keyCode;
    }
    return std::nullopt;
}

std::uint64_t ShortcutRecorder::modifierBits(Qt::KeyboardModifiers modifiers) {
    std::uint64_t bits = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) bits |= KeyboardShortcutManager::shiftKey;
    if (modifiers.testFlag(Qt::ControlModifier)) bits |= KeyboardShortcutManager::controlKey;
    if (modifiers.testFlag(Qt::AltModifier)) bits |= KeyboardShortcutManager::optionKey;
    if (modifiers.testFlag(Qt::MetaModifier)) bits |= KeyboardShortcutManager::commandKey;
    return bits;
}

bool ShortcutRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (!action_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Accepted: no menu or button shortcut fires; the press then comes here as a key press.
            event->accept();
            return true;
        case QEvent::KeyPress:
            // The same press reaches the filter once per widget it propagates through; the first
            // visit settles it.
            handleKeyPress(static_cast<const QKeyEvent&>(*event));
            return true;
        default:
            return QObject::eventFilter(watched, event);
    }
}

void ShortcutRecorder::handleKeyPress(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Escape) {
        stop();
        return;
    }
    if (isModifierKey(event.key())) return;
    const std::optional<std::uint16_t> code = keyCode(event.key(), event.modifiers());
    if (!code) {
        emit refused(*action_, keysText(event));
        return;
    }
    const std::uint64_t bits = modifierBits(event.modifiers());
    if (bits == 0) return;
    emit recorded(*action_, Shortcut{*code, bits});
    stop();
}

}  // namespace solvara
