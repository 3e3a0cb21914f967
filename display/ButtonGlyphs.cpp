// The command buttons' glyphs: small drawings on a 24-pixel square, one per command.
#include "display/ButtonGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

constexpr int kSize = 24;

void arrow(QPainter& p, bool right, QColor colour)
{
    QPainterPath path;
    if (right) {
        path.moveTo(3, 9); path.lineTo(12, 9); path.lineTo(12, 3); path.lineTo(21, 12);
        path.lineTo(12, 21); path.lineTo(12, 15); path.lineTo(3, 15);
    } else {
        path.moveTo(21, 9); path.lineTo(12, 9); path.lineTo(12, 3); path.lineTo(3, 12);
        path.lineTo(12, 21); path.lineTo(12, 15); path.lineTo(21, 15);
    }
    path.closeSubpath();
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(colour);
    p.drawPath(path);
}

void page(QPainter& p, QRectF r)
{
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void house(QPainter& p)
{
    QPainterPath roof;
    roof.moveTo(2, 12); roof.lineTo(12, 3); roof.lineTo(22, 12);
    roof.closeSubpath();
    p.setPen(QPen(QColor(120, 30, 30), 1));
    p.setBrush(QColor(200, 50, 40));
    p.drawPath(roof);
    p.setBrush(QColor(240, 220, 170));
    p.setPen(QPen(QColor(90, 70, 40), 1));
    p.drawRect(QRectF(5, 12, 14, 9));
    p.setBrush(QColor(110, 70, 40));
    p.drawRect(QRectF(10, 15, 4, 6));
}

void printer(QPainter& p)
{
    page(p, QRectF(7, 2, 10, 7));
    p.setPen(QPen(QColor(50, 50, 50), 1));
    p.setBrush(QColor(150, 150, 160));
    p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
    page(p, QRectF(6, 15, 12, 7));
    p.setPen(QColor(90, 90, 90));
    p.drawLine(QPointF(8, 18), QPointF(16, 18));
    p.drawLine(QPointF(8, 20), QPointF(14, 20));
}

void wordDocument(QPainter& p)
{
    page(p, QRectF(5, 2, 14, 20));
    QFont f;
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(30, 60, 170));
    p.drawText(QRectF(5, 4, 14, 16), Qt::AlignCenter, QStringLiteral("W"));
}

void openAll(QPainter& p)
{
    for (int i = 0; i < 3; ++i)
        page(p, QRectF(3 + 3 * i, 3 + 3 * i, 12, 14));
    p.setPen(QColor(30, 110, 30));
    for (int y = 13; y <= 19; y += 3)
        p.drawLine(QPointF(11, y), QPointF(19, y));
}

void eraser(QPainter& p)
{
    p.save();
    p.translate(12, 12);
    p.rotate(-35);
    p.setPen(QPen(QColor(80, 80, 80), 1));
    p.setBrush(QColor(240, 150, 170));
    p.drawRect(QRectF(-9, -4, 9, 8));
    p.setBrush(QColor(90, 130, 220));
    p.drawRect(QRectF(0, -4, 9, 8));
    p.restore();
    p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DotLine));
    p.drawLine(QPointF(3, 22), QPointF(21, 22));
}

void jump(QPainter& p)
{
    QPainterPath curve;
    curve.moveTo(3, 20);
    curve.cubicTo(4, 6, 14, 3, 18, 9);
    p.setPen(QPen(QColor(20, 120, 160), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    QPainterPath head;
    head.moveTo(21, 14); head.lineTo(14, 10); head.lineTo(21, 5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 120, 160));
    p.drawPath(head);
}

void magnifier(QPainter& p)
{
    p.setPen(QPen(QColor(60, 60, 60), 2.5));
    p.setBrush(QColor(200, 230, 250));
    p.drawEllipse(QRectF(3, 3, 12, 12));
    p.setPen(QPen(QColor(120, 80, 30), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 14), QPointF(20.5, 20.5));
}

void references(QPainter& p)
{
    page(p, QRectF(2, 2, 10, 13));
    page(p, QRectF(12, 9, 10, 13));
    p.setPen(QPen(QColor(200, 40, 40), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 8, 10, 10), 0, 180 * 16);
    QPainterPath head;
    head.moveTo(14, 15); head.lineTo(18, 12); head.lineTo(14, 10);
    p.drawPath(head);
}

void memo(QPainter& p)
{
    p.setPen(QPen(QColor(150, 130, 40), 1));
    p.setBrush(QColor(255, 240, 140));
    QPainterPath note;
    note.moveTo(3, 3); note.lineTo(21, 3); note.lineTo(21, 16); note.lineTo(16, 21); note.lineTo(3, 21);
    note.closeSubpath();
    p.drawPath(note);
    p.setPen(QColor(120, 110, 60));
    for (int y = 8; y <= 16; y += 4)
        p.drawLine(QPointF(6, y), QPointF(17, y));
    p.setPen(QPen(QColor(200, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawPoint(QPointF(12, 3));
}

void globe(QPainter& p)
{
    QRectF r(2.5, 2.5, 19, 19);
    p.setPen(QPen(QColor(20, 80, 150), 1.5));
    p.setBrush(QColor(120, 190, 240));
    p.drawEllipse(r);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(8, 2.5, 8, 19));
    p.drawLine(QPointF(2.5, 12), QPointF(21.5, 12));
    p.drawLine(QPointF(4.5, 7), QPointF(19.5, 7));
    p.drawLine(QPointF(4.5, 17), QPointF(19.5, 17));
}

void palette(QPainter& p)
{
    p.setPen(QPen(QColor(120, 90, 50), 1));
    p.setBrush(QColor(230, 200, 150));
    p.drawEllipse(QRectF(2, 4, 20, 16));
    const QColor dots[] = {QColor(220, 30, 30), QColor(220, 30, 200), QColor(30, 90, 220), QColor(30, 160, 60)};
    for (int i = 0; i < 4; ++i) {
        double a = 3.6 + i * 0.75;
        p.setPen(Qt::NoPen);
        p.setBrush(dots[i]);
        p.drawEllipse(QPointF(12 + 6 * std::cos(a), 12 + 4.5 * std::sin(a)), 2.2, 2.2);
    }
}

}  // namespace

QPixmap BuiltInButtonGlyph(int index)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0: arrow(p, false, QColor(60, 170, 70)); break;
    case 1: arrow(p, true, QColor(60, 170, 70)); break;
    case 2: house(p); break;
    case 3: printer(p); break;
    case 4: wordDocument(p); break;
    case 5: openAll(p); break;
    case 6: eraser(p); break;
    case 7: jump(p); break;
    case 8: magnifier(p); break;
    case 9: references(p); break;
    case 10: memo(p); break;
    case 11: globe(p); break;
    case 12: palette(p); break;
    default: break;
    }
    return pixmap;
}
