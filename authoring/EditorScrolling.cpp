// The visual lines of a text edit, for the link editor's scrolling.
#include "authoring/EditorScrolling.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>
#include <vector>

namespace authoring {

namespace {

// The top of every visual line of the document, in document coordinates.
std::vector<qreal> visualLineTops(const QTextEdit* edit)
{
    std::vector<qreal> tops;
    const QTextDocument* document = edit->document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QRectF box = layout->blockBoundingRect(block);
        const QTextLayout* textLayout = block.layout();
        const int count = textLayout ? textLayout->lineCount() : 0;
        if (count == 0)
            tops.push_back(box.top());
        for (int i = 0; i < count; ++i)
            tops.push_back(box.top() + textLayout->lineAt(i).y());
    }
    return tops;
}

int firstVisibleOf(const std::vector<qreal>& tops, int scrolled)
{
    int first = 0;
    for (std::size_t i = 0; i < tops.size(); ++i)
        if (tops[i] <= scrolled + 0.5)
            first = static_cast<int>(i);
    return first;
}

}  // namespace

int FirstVisibleLine(const QTextEdit* edit)
{
    return firstVisibleOf(visualLineTops(edit), edit->verticalScrollBar()->value());
}

void ScrollDownLines(QTextEdit* edit, int n)
{
    const auto tops = visualLineTops(edit);
    if (tops.empty() || n <= 0)
        return;
    const int first = firstVisibleOf(tops, edit->verticalScrollBar()->value());
    const std::size_t target = std::min(tops.size() - 1, static_cast<std::size_t>(first + n));
    edit->verticalScrollBar()->setValue(static_cast<int>(tops[target]));
}

}  // namespace authoring
