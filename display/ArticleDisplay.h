// The article display of a law volume: what its sub table's after-scroll calls whenever the
// sub table moves to another article.
#pragma once

#include <vector>

#include "display/ArticleRenderer.h"

struct VolumeRegistry;

namespace store {
class DataSet;
}

namespace display {

// The link table's rows of one article: Locate on Gyo, then Next while Gyo still matches (the
// link table is ordered by Gyo).
std::vector<ArticleLinkRow> linkRowsOfArticle(store::DataSet& linkTable, long long gyo);

}  // namespace display

// Renders the current article of law volume v (the sub table's Honbun and KubunNo, the link
// table's rows of its Gyo, v's highlight words), keeps the document as v's ArticleRtf and shows
// it in v's text view.
void DisplayArticle(VolumeRegistry& registry, int v);
