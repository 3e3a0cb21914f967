// Keyword colouring: the search's keyword normalisation plus the hyphen, then a new render.
#include "app/KeywordColouring.h"

#include <QLineEdit>

#include "app/VolumeRegistry.h"
#include "display/ArticleDisplay.h"
#include "search/SearchStatements.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace {

// A keyword as the texts spell it: full-width digits, and "－" for the ASCII hyphen as for the
// prolonged-sound mark, so that a typed «35-2» finds «３５－２».
std::string colourWordOf(const QLineEdit& edit)
{
    static const std::string fullWidthHyphen = text::cp932("－");
    return search::NormaliseKeywordText(text::replaceAll(text::fromQString(edit.text()), "-", fullWidthHyphen));
}

}  // namespace

void ColorKeywords(VolumeRegistry& registry, int v)
{
    if (!registry.files.lawPresent(v))
        return;
    LawVolumeEntry& entry = registry.law[static_cast<std::size_t>(v)];
    if (entry.EditKey1->text().isEmpty() && entry.EditKey2->text().isEmpty())
        return;
    const std::string word1 = colourWordOf(*entry.EditKey1);
    const std::string word2 = colourWordOf(*entry.EditKey2);
    entry.EditKey1->setText(text::toQString(word1));
    entry.EditKey2->setText(text::toQString(word2));
    entry.HighlightWord1 = word1;
    entry.HighlightWord2 = word2;
    DisplayArticle(registry, v);
}
