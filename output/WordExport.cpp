// Clipboard copies and the word-processor export with its fallback file.
#include "output/WordExport.h"

#include <system_error>

#include "display/RichTextView.h"
#include "output/OutputMessages.h"
#include "output/WordDocument.h"
#include "platform/Platform.h"
#include "text/Cp932.h"

WordApplication::~WordApplication() = default;

void CopySelection(Platform& platform, const RichTextView& view)
{
    platform.setClipboardText(view.selectedText());
}

void CopyWholeText(Platform& platform, const RichTextView& view)
{
    platform.setClipboardText(view.plainText());
}

void ExportToWord(Platform& platform, WordApplication* word, const RichTextView& shown)
{
    if (word) {
        try {
            word->pasteClipboardIntoNewDocument();
            return;
        } catch (const std::exception&) {
            // The word processor is missing or failed at some step: the fallback file follows.
        }
    }
    // Relative to the working directory, which may even have been removed under the program:
    // then the write fails and the message says so.
    const std::string name = output::NextFallbackFileName(".");
    if (!output::WriteWordDocument(*shown.document(), QString::fromStdString(name))) {
        platform.showMessage(text::cp932(outputmessages::kWordCannotStart));
        return;
    }
    platform.shellOpen(name);
}

namespace output {

std::string NextFallbackFileName(const std::filesystem::path& dir)
{
    for (unsigned long long n = 1;; ++n) {
        std::string name = "Temp" + std::to_string(n) + kWordDocumentExtension;
        // A folder that cannot be looked into answers "absent"; the write then fails and says so.
        std::error_code ec;
        if (!std::filesystem::exists(dir / name, ec))
            return name;
    }
}

}  // namespace output
