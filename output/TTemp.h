// The scratch form of article printing: a window that is never shown, holding the rich-text
// control the article is copied into and normalised in, so that the view the user reads is
// never touched. It lives for one print.
#pragma once

#include <QWidget>

class RichTextView;

class TTemp : public QWidget {
    Q_OBJECT

public:
    explicit TTemp(QWidget* parent = nullptr);
    ~TTemp() override;

    RichTextView* TempRichEdit1 = nullptr;
};
