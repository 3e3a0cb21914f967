// Index arithmetic of the history ring.
#include "nav/HistoryRing.h"

namespace nav {

void HistoryRing::AdvanceHead()
{
    if (m_head == kSlotCount - 1) {
        m_head = 0;
        m_wrapped = 1;
    } else {
        ++m_head;
    }
}

void HistoryRing::RecordHistory(const SaveView& saveView)
{
    if (saveView)
        saveView(m_head);
    AdvanceHead();
    m_newest = m_cursor = m_head;
}

void HistoryRing::saveViewBeingLeft(const SaveView& saveView)
{
    if (!saveView)
        return;
    saveView(m_head);
    if (m_head != m_cursor)
        saveView(m_cursor);
}

bool HistoryRing::HistoryBack(const SaveView& saveView)
{
    saveViewBeingLeft(saveView);
    if (m_cursor == 0 && m_wrapped == 0)
        return false;
    m_cursor = m_cursor == 0 ? kSlotCount - 1 : m_cursor - 1;
    AdvanceHead();
    return true;
}

bool HistoryRing::HistoryNext(const SaveView& saveView)
{
    if (m_cursor == m_newest)
        return false;
    saveViewBeingLeft(saveView);
    // Stepping past slot 100 is no wrap of the head: HistoryWrapped stays as it is.
    m_cursor = m_cursor == kSlotCount - 1 ? 0 : m_cursor + 1;
    AdvanceHead();
    return true;
}

int CaretScrollPosition(int textLength, int selStart)
{
    int lookAhead = selStart + kCaretLookAhead;
    return textLength < lookAhead ? textLength : lookAhead;
}

void HistoryRing::ForgetTab(const QWidget* tab)
{
    for (TCasheData& entry : m_slots)
        if (entry.Tab == tab)
            entry = TCasheData{};
}

}  // namespace nav
