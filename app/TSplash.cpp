// The splash window and its picture.
#include "app/TSplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWindow>

TSplash::TSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    SplashImage1 = new QLabel(this);
    SplashImage1->setObjectName(QStringLiteral("SplashImage1"));
    SplashImage1->setGeometry(0, 0, 380, 260);
    SplashImage1->setPixmap(picture());
    setFixedSize(380, 260);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    // Another window taking over the focus is how the splash learns that it is no longer the
    // active one, also where no window manager sends it a deactivation.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() != this)
            leave();
    });
}

TSplash* TSplash::showBeforeStartUp(int waitMs)
{
    auto* splash = new TSplash;
    splash->show();
    QElapsedTimer waited;
    waited.start();
    auto onScreen = [splash] { return splash->windowHandle() && splash->windowHandle()->isExposed(); };
    while (!onScreen() && waited.elapsed() < waitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    if (!onScreen()) {
        splash->leave();
        return nullptr;
    }
    splash->repaint();
    QGuiApplication::sync();
    return splash;
}

bool TSplash::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        m_wasActive = true;
    else if (event->type() == QEvent::WindowDeactivate && m_wasActive)
        leave();
    return QWidget::event(event);
}

void TSplash::leave()
{
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    close();
}

QPixmap TSplash::picture()
{
    QPixmap pixmap(380, 260);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 260);
    sky.setColorAt(0, QColor(20, 50, 110));
    sky.setColorAt(1, QColor(70, 130, 190));
    p.fillRect(pixmap.rect(), sky);
    // A stack of law books.
    const QColor spines[] = {QColor(150, 30, 30), QColor(30, 100, 60), QColor(180, 140, 40), QColor(60, 60, 140)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(QColor(20, 20, 20), 1));
        p.setBrush(spines[i]);
        p.drawRoundedRect(QRectF(40 + i * 6, 150 - i * 22, 110, 20), 3, 3);
        p.setPen(QColor(230, 210, 150));
        p.drawLine(QPointF(52 + i * 6, 160 - i * 22), QPointF(138 + i * 6, 160 - i * 22));
    }
    p.setPen(Qt::white);
    QFont title(QStringLiteral("ＭＳ Ｐゴシック"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 180, 380, 40), Qt::AlignCenter, QStringLiteral("Sorvane 36 Lite"));
    QFont sub(QStringLiteral("ＭＳ 明朝"));
    sub.setPixelSize(16);
    p.setFont(sub);
    p.drawText(QRect(170, 70, 200, 70), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               QStringLiteral("税法条文\n検索システム"));
    p.setPen(QColor(200, 220, 240));
    QFont small(QStringLiteral("ＭＳ Ｐゴシック"));
    small.setPixelSize(12);
    p.setFont(small);
    p.drawText(QRect(0, 228, 380, 20), Qt::AlignCenter, QStringLiteral("起動しています…"));
    return pixmap;
}
