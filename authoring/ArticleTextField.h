// The link editor's article text field `DBRichEdit1`: the writable view of a row's 条文内容 as
// plain text, holding at most kArticleTextMaxCharacters characters.
#pragma once

#include <string>

#include "display/RichTextView.h"

class ArticleTextField : public RichTextView {
    Q_OBJECT

public:
    explicit ArticleTextField(QWidget* parent = nullptr);

    // The text's characters, a line break counting one.
    int characterCount() const;

    // Whether the text (code page 932) may replace the selection within the limit.
    bool takes(const std::string& inserted) const;

signals:
    // Text dropped or pasted by the desktop (a drag, the X11 selection) was refused for the
    // limit; the field is unchanged. Emitted while the drop is still being delivered.
    void insertionRefused();

protected:
    // A drop that does not fit is not taken, so that text dragged from another program stays
    // there even when it was being moved.
    void dropEvent(QDropEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};
