// The article text field: the limit on its length for text that reaches it without a key or a
// command of the editor (drops, the desktop's selection paste).
#include "authoring/ArticleTextField.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

#include "authoring/ArticleAuthoring.h"
#include "text/QtText.h"

ArticleTextField::ArticleTextField(QWidget* parent)
    : RichTextView(parent)
{
}

int ArticleTextField::characterCount() const
{
    // The document counts one paragraph separator after its last block too.
    return document()->characterCount() - 1;
}

bool ArticleTextField::takes(const std::string& inserted) const
{
    const int replaced = static_cast<int>(textCursor().selectedText().size());
    return authoring::ArticleTextEditFits(characterCount(), replaced, authoring::ArticleTextCharacters(inserted));
}

void ArticleTextField::dropEvent(QDropEvent* event)
{
    // A drop goes in at the drop point and replaces nothing, whatever is selected.
    const QMimeData* data = event->mimeData();
    if (data && data->hasText() &&
        !authoring::ArticleTextEditFits(characterCount(), 0,
                                        authoring::ArticleTextCharacters(text::fromQString(data->text())))) {
        event->ignore();
        emit insertionRefused();
        return;
    }
    RichTextView::dropEvent(event);
}

void ArticleTextField::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText() && !takes(text::fromQString(source->text()))) {
        emit insertionRefused();
        return;
    }
    RichTextView::insertFromMimeData(source);
}
