// The three ways a view's content reaches another control, tried in turn.
#include "output/RichTextCopy.h"

#include <QTextCursor>
#include <QTextDocumentFragment>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "display/RichTextView.h"

namespace output {

namespace {

// Deletes the scratch file when the transfer is over, whichever way it ended; only a file this
// transfer wrote, so a folder of that name (or anyone else's file it could not replace) stays.
class ScratchFileGuard {
public:
    ~ScratchFileGuard()
    {
        if (m_written) {
            std::error_code ignored;
            std::filesystem::remove(kScratchFile, ignored);
        }
    }
    void markWritten() { m_written = true; }

private:
    bool m_written = false;
};

}  // namespace

bool TransferThroughScratchFile(const RichTextView& view, RichTextView& target)
{
    ScratchFileGuard guard;
    {
        std::error_code ec;
        if (std::filesystem::is_directory(kScratchFile, ec))
            return false;
        std::ofstream out(kScratchFile, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        guard.markWritten();
        const std::string rtf = view.saveRtf();
        out.write(rtf.data(), static_cast<std::streamsize>(rtf.size()));
        out.close();
        if (!out)
            return false;
    }
    std::ifstream in(kScratchFile, std::ios::binary);
    if (!in)
        return false;
    const std::string rtf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    target.loadRtf(rtf);
    return true;
}

void TransferDirect(const RichTextView& view, RichTextView& target)
{
    const QTextDocumentFragment whole(view.document());
    target.clear();
    QTextCursor(target.document()).insertFragment(whole);
    target.setCaretPosition(0);
}

void LoadCopyOfView(const std::string& buffer, const RichTextView& view, RichTextView& target, bool checkPlainText)
{
    if (!target.loadRtf(buffer))
        TransferThroughScratchFile(view, target);
    if (!checkPlainText)
        return;
    const std::string shown = view.plainText();
    if (target.plainText() == shown)
        return;
    TransferThroughScratchFile(view, target);
    if (target.plainText() == shown)
        return;
    TransferDirect(view, target);
}

}  // namespace output
