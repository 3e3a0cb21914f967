// A splitter bar beside a panel: dragging it changes that one panel's height (or width), between
// the panel's minimum and what the neighbouring panes can give up above their own minimums; the
// rest of the layout takes what is left, and the window never changes size.
#pragma once

#include <QWidget>

class PanelSplitter : public QWidget {
    Q_OBJECT

public:
    // Which side of the bar the panel lies on.
    enum class PanelSide { Above, Below, Left };

    PanelSplitter(QWidget* panel, PanelSide side, int thickness, int panelMinimum, QWidget* parent = nullptr);

    QWidget* panel() const { return m_panel; }

signals:
    // The drag ended and the panel has its new size.
    void moved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool vertical() const { return m_side != PanelSide::Left; }
    int panelSize() const;
    void setPanelSize(int size);
    bool windowKeepsItsSize() const;

    QWidget* m_panel;
    PanelSide m_side;
    bool m_dragging = false;
    int m_pressCoordinate = 0;
    int m_pressPanelSize = 0;
    int m_panelMinimum;
};
