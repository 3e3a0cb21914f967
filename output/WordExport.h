// Taking article text out of the program: plain text onto the clipboard, and the clipboard's
// text into the word processor. Where the platform offers no word-processor automation (as
// here), the article goes, formatted as its view shows it, to the next free "Temp" + n + ".odt"
// document, which the shell opens. The main window and the memo window both call these.
#pragma once

#include <filesystem>
#include <string>

class RichTextView;

// A client of a word processor's automation interface, as a platform that has one provides it
// (the main window's WordApplication1). Every step may throw; any failure sends the export to
// the fallback file.
class WordApplication {
public:
    virtual ~WordApplication();
    // Attaches to a running instance or starts one, shows its window, adds a new document,
    // pastes the clipboard at its selection, moves the insertion point up to the top of the
    // pasted text and disconnects, leaving the word processor running with the new document.
    virtual void pasteClipboardIntoNewDocument() = 0;
};

class Platform;

// The clipboard's text := the selected text of view (empty text when nothing is selected).
void CopySelection(Platform& platform, const RichTextView& view);

// The clipboard's text := the whole plain text of view.
void CopyWholeText(Platform& platform, const RichTextView& view);

// Sends the article to the word processor: the clipboard's current text (which the caller has
// just taken from shown) through the automation client word (the registry's WordApplication1,
// nullptr when the platform has none) when there is one and it succeeds; otherwise shown's
// document, formatted as the view shows it, written to the next free fallback file, which the
// shell is asked to OPEN (not waited for, its outcome not checked). Only when that file cannot
// be written is "Microsoft Wordが起動できません" shown.
void ExportToWord(Platform& platform, WordApplication* word, const RichTextView& shown);

namespace output {

// "Temp" + n + ".odt" for the smallest n >= 1 naming nothing in dir.
std::string NextFallbackFileName(const std::filesystem::path& dir);

}  // namespace output
