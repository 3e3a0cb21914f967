// The splash window shown while the program starts: one picture, borderless, centred. It closes
// and frees itself the first time it loses activation, which the main window's showing brings.
#pragma once

#include <QWidget>

class QLabel;

class TSplash : public QWidget {
    Q_OBJECT

public:
    explicit TSplash(QWidget* parent = nullptr);

    QLabel* SplashImage1 = nullptr;

    // The picture the splash shows, 380 by 260.
    static QPixmap picture();

    // Shows a splash before start-up blocks the event loop: waits (up to waitMs) until the
    // window system has put it on the screen, then paints it there and flushes the display, so
    // the picture is what stays shown meanwhile, never an unpainted box. A splash that is not
    // on the screen within that time could only ever be such a box: it is closed and left out
    // (nullptr).
    static TSplash* showBeforeStartUp(int waitMs);

protected:
    bool event(QEvent* event) override;

private:
    void leave();
    bool m_wasActive = false;
};
