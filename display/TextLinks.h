// The links in article text: the hand cursor over link text, and following a link on a mouse
// press, into a new memo window (a plain left click), by moving the main window (any other
// click) or into the reference search (a link whose target volume is negative).
#pragma once

#include <Qt>
#include <cstdint>

class RichTextView;
class MainWindowInterface;

namespace store {
class DataSet;
}

namespace display {

// What a mouse press on article text asks for, from its shift state (the modifier keys Shift,
// Ctrl and Alt, the buttons held, the pressed one included, and the double click): exactly the
// right button only opens the context menu, exactly the left button opens a memo window, and
// everything else moves the main window.
enum class LinkPress { ContextMenu, MemoWindow, MainWindow };
LinkPress classifyLinkPress(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, bool doubleClick);

// Whether the byte sel of article gyo is link text: the link table moves to the row when found.
bool locateLinkRow(store::DataSet& linkTable, std::int64_t gyo, int sel);

}  // namespace display

// The mouse is over byte byteIndex of law volume v's text view: the hand cursor over link text,
// the default cursor elsewhere. Moves v's link table.
void HoverTextLink(MainWindowInterface& main, int v, int byteIndex);

// Follows the link under byte pressedAt of law volume v's text view (the character the press
// landed on), as LinkToMemoMode says: set, into a new memo window; clear, by moving the main
// window. Nothing happens off link text or for a link into an absent volume.
void FollowTextLink(MainWindowInterface& main, int v, int pressedAt);

// The main window moves to article gyo of law volume z: the view being left is recorded, z's
// tab becomes the active tab, its conditions are cleared and its whole list shown, and the list
// goes to the article; "該当の条文はありません" when z has no such article. False then, or when z is
// absent.
bool MoveMainWindowToArticle(MainWindowInterface& main, int z, std::int64_t gyo);

// Opens article target of law volume z in a new memo window, for the link at byte pressedAt of
// article sourceGyo of law volume sourceVolume shown in sourceView (a main text view or a memo
// pane). z's sub table is detached from the list while the target renders into MemoRtf, and is
// attached again whatever happens; the caret of sourceView goes back to just before the link.
void OpenLinkInMemoWindow(MainWindowInterface& main, int sourceVolume, RichTextView& sourceView, std::int64_t sourceGyo,
                          int pressedAt, int z, std::int64_t target);
