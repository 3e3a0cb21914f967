// Building a book entry's two lines and colouring the search words in them.
#include "display/BookEntryDisplay.h"

#include "app/VolumeRegistry.h"
#include "display/RichTextView.h"
#include "platform/Platform.h"
#include "store/DataSet.h"
#include "store/Table.h"
#include "text/Cp932.h"

namespace display {

namespace {

constexpr std::string_view kIdeographicSpace = "\x81\x40";  // 　

}  // namespace

BookEntryLines bookEntryLines(const store::DataSet& entry, const store::DataSet* nameTable)
{
    BookEntryLines lines;
    const std::string separator(kIdeographicSpace);
    if (nameTable)
        lines.line1 = nameTable->TextField("BookNameLong") + separator + nameTable->TextField("BookHan") + separator +
                      nameTable->TextField("BookSyupan");
    else
        lines.line1 = entry.TextField("BookNameShort") + separator + separator;
    lines.line2 = entry.TextField("Mokuji");
    if (lines.line2.starts_with(kIdeographicSpace))
        lines.line2.erase(0, kIdeographicSpace.size());
    return lines;
}

}  // namespace display

namespace {

// An upper bound on the matches coloured in one entry, as a guard against a search that would
// not move on.
constexpr int kMatchLimit = 1'000'000;

}  // namespace

void ShowBookEntry(Platform& platform, VolumeRegistry& registry, int b)
{
    if (!registry.files.bookPresent(b))
        return;
    BookVolumeEntry& entry = registry.book[static_cast<std::size_t>(b)];
    const store::BookVolumeTables& tables = registry.tables.book[static_cast<std::size_t>(b)];
    RichTextView* view = entry.RichEdit;
    store::Table* subTable = tables.subTable;
    if (!view || !subTable || !subTable->Active())
        return;
    view->clear();
    if (subTable->IsEmpty())
        return;

    store::Table* nameTable = tables.nameTable;
    const bool named = nameTable && nameTable->Active() &&
                       nameTable->Locate("BookNo;BookRenban", {subTable->FieldValue("BookNo"), subTable->FieldValue("BookRenban")});
    const display::BookEntryLines lines = display::bookEntryLines(*subTable, named ? nameTable : nullptr);
    view->loadPlainText(lines.line1 + "\r\n" + lines.line2);

    // Not painted while it is coloured, so the colours appear at once.
    view->setUpdatesEnabled(false);
    if (!entry.HighlightWord2.empty())
        ColourBookKeyword(platform, registry, b, entry.HighlightWord2, display::kBookWord2Colour);
    if (!entry.HighlightWord1.empty())
        ColourBookKeyword(platform, registry, b, entry.HighlightWord1, display::kBookWord1Colour);
    view->setUpdatesEnabled(true);
}

void ColourBookKeyword(Platform& platform, VolumeRegistry& registry, int b, const std::string& word, const QColor& colour)
{
    if (!registry.files.bookPresent(b) || word.empty())
        return;
    RichTextView* view = registry.book[static_cast<std::size_t>(b)].RichEdit;
    if (!view)
        return;
    platform.setScreenCursor(CursorShape::Hourglass);
    view->select(0, 0);
    const int length = static_cast<int>(word.size());
    for (int matches = 0; matches < kMatchLimit; ++matches) {
        const int found = view->findText(word, view->selectionStart() + view->selectionLength(), -1);
        if (found < 0)
            break;
        view->select(found, length);
        view->setTextColor(colour);
    }
    view->setCaretPosition(0);
    platform.setScreenCursor(CursorShape::Arrow);
}
