// The built-in glyphs of the main window's thirteen command buttons, drawn by the program.
#pragma once

#include <QPixmap>

inline constexpr int kCommandButtonCount = 13;

// The glyph of button index in the button bar's order (戻る first, Color last).
QPixmap BuiltInButtonGlyph(int index);
