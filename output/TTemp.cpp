// The scratch form of article printing.
#include "output/TTemp.h"

#include <QVBoxLayout>

#include "display/Fonts.h"
#include "display/RichTextView.h"

TTemp::TTemp(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Temp"));
    setWindowTitle(QStringLiteral("Temp"));
    TempRichEdit1 = new RichTextView(this);
    TempRichEdit1->setObjectName(QStringLiteral("TempRichEdit1"));
    QFont font(display::articleFontFamily());
    font.setPixelSize(16);
    TempRichEdit1->setFont(font);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(TempRichEdit1);
}

TTemp::~TTemp() = default;
