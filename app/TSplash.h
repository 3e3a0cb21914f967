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

protected:
    bool event(QEvent* event) override;

private:
    void leave();
    bool m_wasActive = false;
};
