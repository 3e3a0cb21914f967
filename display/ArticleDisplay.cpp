// The display path from a sub table's move to the text view.
#include "display/ArticleDisplay.h"

#include "app/VolumeRegistry.h"
#include "display/RichTextView.h"
#include "store/DataSet.h"
#include "store/Table.h"

namespace display {

std::vector<ArticleLinkRow> linkRowsOfArticle(store::DataSet& linkTable, long long gyo)
{
    std::vector<ArticleLinkRow> rows;
    if (!linkTable.Active() || !linkTable.Locate("Gyo", {store::Value(static_cast<std::int64_t>(gyo))}))
        return rows;
    while (!linkTable.Eof() && linkTable.IntegerField("Gyo") == gyo) {
        rows.push_back({static_cast<int>(linkTable.IntegerField("Sel")), static_cast<int>(linkTable.IntegerField("GoGyo")),
                        static_cast<int>(linkTable.IntegerField("Zeimoku"))});
        linkTable.Next();
    }
    return rows;
}

}  // namespace display

void DisplayArticle(VolumeRegistry& registry, int v)
{
    if (!registry.files.lawPresent(v))
        return;
    LawVolumeEntry& entry = registry.law[static_cast<std::size_t>(v)];
    store::Table* subTable = registry.tables.law[static_cast<std::size_t>(v)].subTable;
    store::Table* linkTable = registry.tables.law[static_cast<std::size_t>(v)].linkTable;
    if (!subTable || !subTable->Active() || !entry.RichEdit)
        return;

    display::ArticleRenderInput input;
    if (!subTable->IsEmpty()) {
        input.honbun = subTable->TextField("Honbun");
        input.kubunNo = static_cast<int>(subTable->IntegerField("KubunNo"));
        if (linkTable)
            input.links = display::linkRowsOfArticle(*linkTable, subTable->IntegerField("Gyo"));
    }
    input.highlightWord1 = entry.HighlightWord1;
    input.highlightWord2 = entry.HighlightWord2;
    entry.ArticleRtf = display::RenderArticle(input);
    entry.RichEdit->loadRtf(entry.ArticleRtf);
}
