// Code page 932 to and from QString, for the widgets and files at the edges. Kept apart from
// Cp932.h so that the layers below the windows never see a Qt type.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "text/Cp932.h"

namespace text {

QString toQString(std::string_view cp932Text);

// The code page 932 form of a widget's text; characters it cannot hold become 〓 and are
// counted in *replaced when given.
std::string fromQString(const QString& s, std::size_t* replaced = nullptr);

}  // namespace text
