// Twips, the unit of RTF measures, against the pixels in which a QTextDocument lays out, and
// the format properties that carry a paragraph's measures in twips so that a document read
// and saved again writes the very numbers it was given.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QTextFormat>
#include <QtMath>

namespace display {

// Block format properties holding the measure a paragraph was read with, in twips (line
// spacing without its sign: the line height type tells exact from at-least).
enum RtfTwipsProperty : int {
    kLeftIndentTwips = QTextFormat::UserProperty + 0x5210,
    kFirstIndentTwips,
    kRightIndentTwips,
    kSpaceBeforeTwips,
    kSpaceAfterTwips,
    kLineSpacingTwips,
};

// The resolution at which the document's fonts turn points into pixels: the primary screen's
// logical resolution, rounded as Qt rounds it, so that 240 twips is exactly the width of one
// full-width character of 12-point text.
inline int layoutDpi()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return qRound(screen->logicalDotsPerInchY());
    return 96;
}

inline qreal twipsToPixels(int twips)
{
    return twips * layoutDpi() / 1440.0;
}

inline int pixelsToTwips(qreal pixels)
{
    return qRound(pixels * 1440.0 / layoutDpi());
}

}  // namespace display
