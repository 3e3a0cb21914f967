// Font substitutions: fontconfig knows the Japanese names of the IPA faces only under a
// Japanese locale and the ASCII names not at all, so the program names the substitutes itself.
#include "display/Fonts.h"

#include <QFont>

namespace display {

void registerFontSubstitutions()
{
    static const bool registered = [] {
        struct Substitution {
            const char* family;
            const char* substitute;
        };
        static const Substitution substitutions[] = {
            {"ＭＳ 明朝", "IPAMincho"},       {"MS Mincho", "IPAMincho"},
            {"ＭＳ Ｐ明朝", "IPAPMincho"},    {"MS PMincho", "IPAPMincho"},
            {"ＭＳ ゴシック", "IPAGothic"},   {"MS Gothic", "IPAGothic"},
            {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},
        };
        for (const Substitution& s : substitutions)
            QFont::insertSubstitution(QString::fromUtf8(s.family), QString::fromUtf8(s.substitute));
        return true;
    }();
    (void)registered;
}

QString articleFontFamily()
{
    return QStringLiteral("ＭＳ 明朝");
}

}  // namespace display
