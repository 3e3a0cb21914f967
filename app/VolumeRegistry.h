// The volume registry: fixed arrays, indexed by volume, through which every part of the program
// reaches a volume's controls, tables and per-volume state, plus the values all volumes share.
// It owns nothing: the controls belong to the main window, the tables to the data modules.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QPointer>

#include "authoring/ReferenceResolver.h"
#include "nav/HistoryRing.h"
#include "search/ReferenceScope.h"
#include "store/IndexCharacters.h"
#include "store/Volumes.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class DataGrid;
class OutlineTree;
class RichTextView;
class TMemoWindow;
class WordApplication;

struct LawVolumeEntry {
    // Controls, in the order the main window registers them.
    QWidget* TabSheet = nullptr;
    QLineEdit* EditKey1 = nullptr;
    QLineEdit* EditKey2 = nullptr;
    QLineEdit* EditBangou = nullptr;
    QComboBox* ComboBox = nullptr;
    OutlineTree* TreeView = nullptr;
    DataGrid* DBGrid = nullptr;
    RichTextView* RichEdit = nullptr;
    QWidget* Panel2 = nullptr;  // the list panel

    // The RTF of the article last rendered for this volume (printing reads it back).
    std::string ArticleRtf;
    // The two words coloured in the article text, code page 932.
    std::string HighlightWord1;
    std::string HighlightWord2;
    // 1 while the outline is being moved to follow the current row.
    int TreeSyncBusy = 0;
    // 1 when the next outline click is to record a history entry first.
    int TreeClickRecords = 0;
};

struct BookVolumeEntry {
    QWidget* TabSheet = nullptr;
    QLineEdit* EditKey1 = nullptr;
    QLineEdit* EditKey2 = nullptr;
    QLineEdit* EditPage = nullptr;
    QComboBox* ComboBox = nullptr;
    DataGrid* DBGrid = nullptr;
    RichTextView* RichEdit = nullptr;
    QPlainTextEdit* Memo = nullptr;  // the print memo, shown only while printing
    QWidget* Panel3 = nullptr;       // the detail panel

    std::string HighlightWord1;
    std::string HighlightWord2;
};

// A volume index as the registry's arrays take it.
inline std::size_t VolumeSlot(int v)
{
    return static_cast<std::size_t>(v);
}

struct VolumeRegistry {
    // The availability flags and file names, fixed from start-up to exit.
    store::VolumeFiles files;

    std::array<LawVolumeEntry, store::kLawVolumeCount> law;
    std::array<BookVolumeEntry, store::kBookVolumeCount> book;
    // The tables, data sources and query pools the data modules register.
    store::TableRegistry tables;

    // The rich text a followed link's target is rendered into for a new memo window.
    std::string MemoRtf;
    // The display flags: a link is being followed into a memo window; a sub table is being
    // detached or re-attached and must not render.
    int LinkToMemoMode = 0;
    int RenderSuspended = 0;
    // The law volume whose text held the link being followed into a memo window; the new
    // window reads the link row from that volume's link table.
    int LinkSourceVolume = 0;

    // The one history of every view the user left, all volumes together, with its four indices.
    nav::HistoryRing History;

    // The pool entries TakeLawQuery and TakeBookQuery used last.
    int LawQueryPosition = -1;
    int BookQueryPosition = -1;

    // The characters whose flag columns a law volume 0 search may test, in index order.
    std::array<std::string, store::kIndexCharacterCount> IndexCharacters;
    // The statement lines a search builds, hands to a query and clears.
    std::vector<std::string> SqlClauseList;

    // The link editor's current amendment date and open flag; whether the displayed article was
    // missing from the authoring copy when the editor was made; the drive ("C:" or "D:") of the
    // authoring copy, decided at every opening; the 自動入力 setting the editor closed with.
    int AmendmentStamp = 230302;
    int LinkEditorOpen = 0;
    int LinkEditorArticleMissing = 0;
    std::string AuthoringDrive;
    int AutoStampSetting = 0;
    // The code of the link the editor registered last: 同 and phrases such as 「同法第５条」
    // propose it.
    std::string LastLinkCode = authoring::kFirstLinkCode;

    // The values the reference dialog (TSansyo) and the reference search share for one run.
    search::ReferenceDialogValues Sansyo;
    // The memo window created last; empty once that window is freed.
    QPointer<TMemoWindow> LatestMemoWindow;

    // The word processor's automation client the platform provides (the main window's
    // WordApplication1), nullptr when it has none; not owned.
    WordApplication* WordApplication1 = nullptr;

    // The tick count when the program started (the start-up time and the search timer).
    std::int64_t StartTick = 0;
    // Status panel 0's text (UTF-8) when the running search started, put back if it fails.
    std::string StatusTextBeforeSearch;

    // The law index 0..5 whose tab sheet is tab and which is present; otherwise -1.
    int LawIndexOfTab(const QWidget* tab) const;
    // The book index 0..2 whose tab sheet is tab and which is present; otherwise -1.
    int BookIndexOfTab(const QWidget* tab) const;
};
