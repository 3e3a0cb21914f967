// QString conversions through the same iconv path as every other edge.
#include "text/QtText.h"

namespace text {

QString toQString(std::string_view cp932Text)
{
    Conversion c = toUtf8(cp932Text);
    return QString::fromUtf8(c.text.data(), static_cast<qsizetype>(c.text.size()));
}

std::string fromQString(const QString& s, std::size_t* replaced)
{
    QByteArray utf8 = s.toUtf8();
    Conversion c = fromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (replaced)
        *replaced = c.replaced + c.invalid;
    return std::move(c.text);
}

}  // namespace text
