// The splitter bars of the volume tabs.
#include "display/PanelSplitter.h"

#include <QMouseEvent>
#include <algorithm>

PanelSplitter::PanelSplitter(QWidget* panel, PanelSide side, int thickness, int panelMinimum, QWidget* parent)
    : QWidget(parent), m_panel(panel), m_side(side), m_panelMinimum(panelMinimum)
{
    if (vertical()) {
        setFixedHeight(thickness);
        setCursor(Qt::SplitVCursor);
    } else {
        setFixedWidth(thickness);
        setCursor(Qt::SplitHCursor);
    }
}

int PanelSplitter::panelSize() const
{
    return vertical() ? m_panel->height() : m_panel->width();
}

void PanelSplitter::setPanelSize(int size)
{
    // The panel's size is its own, as a splitter or a reset sets it; the layout gives the rest
    // of the tab to its neighbour.
    if (vertical())
        m_panel->setFixedHeight(size);
    else
        m_panel->setFixedWidth(size);
}

bool PanelSplitter::windowKeepsItsSize() const
{
    // Every enclosing widget, up to the window, still fits its present size: none of them
    // would have to grow for the panel's new size.
    for (const QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        const QSize minimum = w->minimumSizeHint().expandedTo(w->minimumSize());
        if ((vertical() ? minimum.height() - w->height() : minimum.width() - w->width()) > 0)
            return false;
        if (w->isWindow())
            break;
    }
    return true;
}

void PanelSplitter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    QPoint p = event->globalPosition().toPoint();
    m_pressCoordinate = vertical() ? p.y() : p.x();
    m_pressPanelSize = panelSize();
}

void PanelSplitter::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    QPoint p = event->globalPosition().toPoint();
    int delta = (vertical() ? p.y() : p.x()) - m_pressCoordinate;
    if (m_side == PanelSide::Below)
        delta = -delta;
    const int wanted = std::max(std::min(m_panelMinimum, m_pressPanelSize), m_pressPanelSize + delta);
    setPanelSize(wanted);
    if (wanted <= m_pressPanelSize || windowKeepsItsSize())
        return;
    // The panel grows only as far as its neighbours can shrink above their own minimums: the
    // largest size at which the window keeps its size, between the size at the press (which
    // fits) and the one wanted (which does not).
    int fits = m_pressPanelSize;
    int tooLarge = wanted;
    while (tooLarge - fits > 1) {
        const int middle = fits + (tooLarge - fits) / 2;
        setPanelSize(middle);
        (windowKeepsItsSize() ? fits : tooLarge) = middle;
    }
    setPanelSize(fits);
}

void PanelSplitter::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    emit moved();
}
