// The article-number jump over a law volume's main table.
#include "search/ArticleNumberJump.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "platform/Platform.h"
#include "search/ArticleNumber.h"
#include "search/SearchMachinery.h"
#include "search/SearchMessages.h"
#include "store/DataSource.h"
#include "store/Table.h"
#include "text/Cp932.h"
#include "text/QtText.h"

void NormaliseArticleNumber(MainWindowInterface& main, int v)
{
    LawVolumeEntry& e = main.registry().law[static_cast<std::size_t>(v)];
    e.EditBangou->setText(text::toQString(
        search::NormaliseArticleNumber(text::fromQString(e.EditBangou->text()), SelectedRangeText(e.ComboBox))));
}

void ArticleNumberJump(MainWindowInterface& main, int v)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.lawPresent(v))
        return;
    LawVolumeEntry& e = r.law[static_cast<std::size_t>(v)];
    const store::LawVolumeTables& t = r.tables.law[static_cast<std::size_t>(v)];
    if (e.EditBangou->text().isEmpty()) {
        main.platformOfWindow().showMessage(text::cp932(searchmessages::kNoArticleNumber));
        return;
    }
    NormaliseArticleNumber(main, v);
    const bool found = search::JumpToArticleNumber(v, text::fromQString(e.EditBangou->text()),
                                                   SelectedRangeText(e.ComboBox), *t.mainTable, *t.mainSource,
                                                   [&main, v] { main.FitLawListColumns(v); });
    if (!found)
        main.platformOfWindow().showMessage(text::cp932(searchmessages::kNoArticle));
}
