// Link following from article text: the press's meaning, the link-table look-ups, the move of
// the main window and the detour through a detached sub table that renders a memo window's
// article.
#include "display/TextLinks.h"

#include <optional>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "display/DisplayMessages.h"
#include "display/RichTextView.h"
#include "display/ScopedFlag.h"
#include "memo/TMemoWindow.h"
#include "nav/Navigation.h"
#include "platform/Platform.h"
#include "search/ReferenceSearch.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/Table.h"
#include "text/Cp932.h"

namespace display {

LinkPress classifyLinkPress(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, bool doubleClick)
{
    // The shift state knows Shift, Ctrl and Alt; the keypad flag and the system key are not in it.
    const bool modified = (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    if (modified || doubleClick)
        return LinkPress::MainWindow;
    if (buttons == Qt::RightButton)
        return LinkPress::ContextMenu;
    if (buttons == Qt::LeftButton)
        return LinkPress::MemoWindow;
    return LinkPress::MainWindow;
}

bool locateLinkRow(store::DataSet& linkTable, std::int64_t gyo, int sel)
{
    return linkTable.Active() && linkTable.Locate("Gyo;Sel", {store::Value(gyo), store::Value(sel)});
}

}  // namespace display

namespace {

std::optional<std::int64_t> listGyo(const VolumeRegistry& registry, int v)
{
    const store::DataSet* shown = registry.tables.law[VolumeSlot(v)].mainSource->dataSet();
    if (!shown || !shown->Active() || shown->IsEmpty())
        return std::nullopt;
    return shown->IntegerField("Gyo");
}

// Runs the body with z's sub table on its own, not following the list, and attaches it to the
// list again afterwards, also when the body fails: a sub table left detached would stop the
// display of z for good. Neither change renders.
template <typename Body>
void withSubTableDetached(VolumeRegistry& registry, int z, Body&& body)
{
    store::Table& subTable = *registry.tables.law[VolumeSlot(z)].subTable;
    store::DataSource* list = registry.tables.law[VolumeSlot(z)].mainSource;
    // Re-linked in place: the table keeps its rows, so no file is read again and none can be
    // missing by then.
    auto attach = [&] {
        {
            ScopedFlag suspended(registry.RenderSuspended);
            subTable.SetMasterFields("Gyo");
            subTable.SetMasterSource(list);
        }
        registry.LinkToMemoMode = 0;
    };
    try {
        ScopedFlag suspended(registry.RenderSuspended);
        subTable.SetMasterSource(nullptr);
        subTable.SetMasterFields(std::string());
    } catch (...) {
        attach();
        throw;
    }
    try {
        body();
    } catch (...) {
        attach();
        throw;
    }
    attach();
}

}  // namespace

void HoverTextLink(MainWindowInterface& main, int v, int byteIndex)
{
    VolumeRegistry& registry = main.registry();
    if (!registry.files.lawPresent(v))
        return;
    store::Table* linkTable = registry.tables.law[VolumeSlot(v)].linkTable;
    const std::optional<std::int64_t> gyo = listGyo(registry, v);
    const bool overLink = linkTable && gyo && display::locateLinkRow(*linkTable, *gyo, byteIndex);
    main.platformOfWindow().setScreenCursor(overLink ? CursorShape::Hand : CursorShape::Arrow);
}

void FollowTextLink(MainWindowInterface& main, int v, int pressedAt)
{
    VolumeRegistry& registry = main.registry();
    if (!registry.files.lawPresent(v))
        return;
    store::Table* linkTable = registry.tables.law[VolumeSlot(v)].linkTable;
    const std::optional<std::int64_t> gyo = listGyo(registry, v);
    if (!linkTable || !gyo || !display::locateLinkRow(*linkTable, *gyo, pressedAt))
        return;
    const std::int64_t target = linkTable->IntegerField("GoGyo");
    const int z = static_cast<int>(linkTable->IntegerField("Zeimoku"));

    if (z < 0) {
        registry.LinkToMemoMode = 0;
        registry.RenderSuspended = 0;
        registry.Sansyo.PresetScope = z;
        ReferenceSearch(main, v);
        return;
    }
    // A volume number outside the six is as absent as an absent volume.
    if (!registry.files.lawPresent(z))
        return;
    if (registry.LinkToMemoMode == 0) {
        MoveMainWindowToArticle(main, z, target);
        return;
    }
    OpenLinkInMemoWindow(main, v, *registry.law[VolumeSlot(v)].RichEdit, *gyo, pressedAt, z, target);
}

bool MoveMainWindowToArticle(MainWindowInterface& main, int z, std::int64_t gyo)
{
    VolumeRegistry& registry = main.registry();
    if (!registry.files.lawPresent(z))
        return false;
    RecordHistory(main);
    main.SetActivePage(registry.law[VolumeSlot(z)].TabSheet);
    ClearLawConditions(main, z);
    ShowWholeLawVolume(main, z);
    store::Table* mainTable = registry.tables.law[VolumeSlot(z)].mainTable;
    if (mainTable && mainTable->Active() && mainTable->Locate("Gyo", {store::Value(gyo)}))
        return true;
    main.platformOfWindow().showMessage(text::cp932(displaymessages::kNoTargetArticle));
    return false;
}

void OpenLinkInMemoWindow(MainWindowInterface& main, int sourceVolume, RichTextView& sourceView, std::int64_t sourceGyo,
                          int pressedAt, int z, std::int64_t target)
{
    VolumeRegistry& registry = main.registry();
    if (!registry.files.lawPresent(z) || !registry.files.lawPresent(sourceVolume))
        return;
    store::Table& subTable = *registry.tables.law[VolumeSlot(z)].subTable;
    store::Table& linkTable = *registry.tables.law[VolumeSlot(sourceVolume)].linkTable;
    withSubTableDetached(registry, z, [&] {
        // Found, the sub table's after-scroll renders the target into MemoRtf.
        if (!subTable.Active() || !subTable.Locate("Gyo", {store::Value(target)})) {
            main.platformOfWindow().showMessage(text::cp932(displaymessages::kNoTargetArticle));
            return;
        }
        int caret = pressedAt;
        while (caret > 0 && display::locateLinkRow(linkTable, sourceGyo, caret))
            --caret;
        if (caret > 1)
            --caret;
        sourceView.setCaretPosition(caret);
        // The walk moved the link table; the memo window reads the clicked link's row.
        if (!display::locateLinkRow(linkTable, sourceGyo, pressedAt))
            return;
        registry.LinkSourceVolume = sourceVolume;
        ShowMemoWindow(main, sourceVolume);
    });
}
