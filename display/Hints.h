// The hint of a control: shown as its tool tip and, while the pointer is over it, in the status
// bar of the window that has one. The main window and the memo window set hints the same way.
#pragma once

#include <QString>
#include <QWidget>

inline void setHint(QWidget* w, const QString& hint)
{
    w->setToolTip(hint);
    w->setStatusTip(hint);
}
