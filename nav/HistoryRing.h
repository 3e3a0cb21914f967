// The one global history: 101 recorded views in a ring and the four indices that make Back and
// Next a journal of every view the user left. The window saves and restores the views; the
// ring decides which slot each step writes and which entry it brings back.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace store {
class DataSet;
}

namespace nav {

// One recorded view of a law or book volume.
struct TCasheData {
    QWidget* Tab = nullptr;                 // the tab sheet that was active
    store::DataSet* DataSet = nullptr;      // what the list showed: main table or a search result
    // A search result's statement: its pooled query may serve another search by the time the
    // entry is restored, and the statement then runs again.
    std::vector<std::string> Statement;
    std::string Filter;                     // that data set's filter expression
    bool Filtered = false;
    std::int32_t RowKey = 0;                // Gyo (law) or BookSeq (book) of the current row
    std::int32_t SelStart = 0;              // caret in the text view, a byte offset
    std::string Word1, Word2;               // the highlight words
    std::string NumberText;                 // number edit (law) or page edit (book)
    std::int32_t RangeIndex = 0;            // range combo item index, -1 when none was selected
    std::int32_t PanelHeight = 0;           // list panel (law) or detail panel (book)
    std::int32_t TreeWidth = 0;             // outline tree; not used by book entries
};

class HistoryRing {
public:
    static constexpr int kSlotCount = 101;  // slots 0..100

    // Saves the view being left into the given slot (SaveLawState or SaveBookState of the
    // active tab; nothing when the active tab is neither).
    using SaveView = std::function<void(int slot)>;

    // The index steps of RecordHistory, for an active law or book tab: the view is saved at
    // the head, the head advances, and the cursor and the newest mark stand on the new head,
    // the slot of the view now being built.
    void RecordHistory(const SaveView& saveView);

    // Back and Next save the view being left at the head (and at the cursor when it is
    // elsewhere), then step the cursor and advance the head. They return true when the cursor
    // moved: the window then restores entry(cursor()). Back refuses only at slot 0 before the
    // ring first wrapped; afterwards it circles without end. Next stops at the newest record
    // and then saves nothing.
    bool HistoryBack(const SaveView& saveView);
    bool HistoryNext(const SaveView& saveView);

    // The head moves on by one, wrapping from 100 to 0 and marking the ring wrapped for good.
    void AdvanceHead();

    // Empties every entry recorded on tab: its volume was opened again from another delivery,
    // where the same row keys may be other articles. An emptied entry restores nothing.
    void ForgetTab(const QWidget* tab);

    TCasheData& entry(int slot) { return m_slots.at(static_cast<std::size_t>(slot)); }
    const TCasheData& entry(int slot) const { return m_slots.at(static_cast<std::size_t>(slot)); }
    TCasheData& current() { return entry(m_cursor); }

    int HistoryHead() const { return m_head; }
    int HistoryCursor() const { return m_cursor; }
    int HistoryNewest() const { return m_newest; }
    int HistoryWrapped() const { return m_wrapped; }

private:
    void saveViewBeingLeft(const SaveView& saveView);

    std::array<TCasheData, kSlotCount> m_slots{};
    int m_head = 0;
    int m_cursor = 0;
    int m_newest = 0;
    int m_wrapped = 0;
};

// Restoring a caret: the view is first scrolled to this position (up to 350 characters past
// the caret, or the end of a shorter text), then the caret is put back at selStart, so the
// restored position shows with the text that follows it.
inline constexpr int kCaretLookAhead = 350;
int CaretScrollPosition(int textLength, int selStart);

}  // namespace nav
