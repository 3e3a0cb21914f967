// Font substitutions: fontconfig knows the Japanese names of the IPA faces only under a
// Japanese locale and the ASCII names not at all, so the program names the substitutes itself.
#include "display/Fonts.h"

#include <QFont>
#include <QGuiApplication>

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
    // Japanese text needs no shaping (no joined forms, no ligatures): without it Qt lays text
    // out from the font's own glyphs and advances instead of through HarfBuzz, which was most
    // of the time of laying out an article and of painting the lists. Scripts that do need
    // shaping are still shaped. Every window's font inherits this from the application's.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    static const bool unshaped = [] {
        QFont font = QGuiApplication::font();
        font.setStyleStrategy(QFont::PreferNoShaping);
        QGuiApplication::setFont(font);
        return true;
    }();
    (void)unshaped;
}

QString articleFontFamily()
{
    return QStringLiteral("ＭＳ 明朝");
}

}  // namespace display
