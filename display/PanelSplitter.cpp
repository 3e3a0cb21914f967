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
    setPanelSize(std::max(m_panelMinimum, m_pressPanelSize + delta));
}

void PanelSplitter::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    emit moved();
}
