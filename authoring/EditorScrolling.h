// How the link editor scrolls its article text: by visual lines, as an edit control numbers them
// (a wrapped line counts once for each of its screen lines).
#pragma once

class QTextEdit;

namespace authoring {

// Screens lower than this have the article text scrolled by the opening, higher ones by the
// showing step.
inline constexpr int kScreenHeightForScrolling = 700;

// The visual line at the top of the text edit's viewport.
int FirstVisibleLine(const QTextEdit* edit);
// Scrolls the text down by n visual lines (as far as it goes).
void ScrollDownLines(QTextEdit* edit, int n);

}  // namespace authoring
