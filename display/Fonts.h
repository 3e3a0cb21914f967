// The faces the documents and windows name (ＭＳ 明朝 and its siblings) and the IPA faces that
// stand in for them on this system.
#pragma once

#include <QString>

namespace display {

// Registers the IPA faces as substitutes of the faces the documents and forms name. Safe to
// call any number of times; only the first call registers.
void registerFontSubstitutions();

// The face of article text, "ＭＳ 明朝".
QString articleFontFamily();

}  // namespace display
