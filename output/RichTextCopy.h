// Copying what a rich-text view shows into another rich-text control: from the RTF rendered into
// the view when that reads back as the same text, otherwise from the view itself. Article
// printing copies into its scratch control this way, and a new memo window into its pane.
#pragma once

#include <string>

class RichTextView;

namespace output {

// The scratch file through which a view's rich text is handed over, in the working directory.
// The renderer of the program's earlier versions used the same name for the same purpose.
inline constexpr char kScratchFile[] = "C2.dl_";

// Target gets view's content through the scratch file: view saved as RTF to "C2.dl_", target
// loaded from it, the file deleted. When the file cannot be written or read back, target stays
// as it was and the answer is false; no "C2.dl_" of ours is left behind either way.
bool TransferThroughScratchFile(const RichTextView& view, RichTextView& target);

// Target gets view's whole formatted content directly, as a copy and paste would give it, but
// without the clipboard: the user's clipboard, view's caret and view's selection stay as they are.
void TransferDirect(const RichTextView& view, RichTextView& target);

// Target is filled with a copy of what view shows, taken preferably from buffer (the RTF that was
// rendered into view):
//   1. target loads buffer; when it refuses the data, the scratch-file transfer;
//   2. only when checkPlainText: if target's plain text differs from view's, the scratch-file
//      transfer; if it still differs, the direct transfer.
// Nothing is reported: each step silently stands in for the one before.
void LoadCopyOfView(const std::string& buffer, const RichTextView& view, RichTextView& target, bool checkPlainText);

}  // namespace output
