// Clipboard copies and the word-processor export with its fallback file.
#include "output/WordExport.h"

#include <fstream>
#include <system_error>

#include "display/RichTextView.h"
#include "output/OutputMessages.h"
#include "platform/Platform.h"
#include "text/Cp932.h"

namespace {

// Writes the fallback file; false when it cannot be created or written in full.
bool writeFallbackFile(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

WordApplication::~WordApplication() = default;

void CopySelection(Platform& platform, const RichTextView& view)
{
    platform.setClipboardText(view.selectedText());
}

void CopyWholeText(Platform& platform, const RichTextView& view)
{
    platform.setClipboardText(view.plainText());
}

void ExportToWord(Platform& platform, WordApplication* word)
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
    if (!writeFallbackFile(name, output::FallbackFileText(platform.clipboardText()))) {
        platform.showMessage(text::cp932(outputmessages::kWordCannotStart));
        return;
    }
    platform.shellOpen(name);
}

namespace output {

std::string NextFallbackFileName(const std::filesystem::path& dir)
{
    for (unsigned long long n = 1;; ++n) {
        std::string name = "Temp" + std::to_string(n) + ".doc";
        // A folder that cannot be looked into answers "absent"; the write then fails and says so.
        std::error_code ec;
        if (!std::filesystem::exists(dir / name, ec))
            return name;
    }
}

std::string FallbackFileText(const std::string& cp932Text)
{
    return text::joinLinesCrLf(text::splitLines(cp932Text));
}

}  // namespace output
