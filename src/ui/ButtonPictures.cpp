#include "ui/ButtonPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace ui {
namespace {

const QColor kInk(0x30, 0x40, 0x58);
const QColor kAccent(0x2f, 0x6f, 0xb8);

QPixmap blank(int width, int height)
{
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    return pm;
}

void chevron(QPainter& p, QPointF tip, qreal halfWidth, qreal depth)
{
    QPainterPath path;
    path.moveTo(tip.x() - halfWidth, tip.y() + depth);
    path.lineTo(tip);
    path.lineTo(tip.x() + halfWidth, tip.y() + depth);
    p.drawPath(path);
}

}  // namespace

QPixmap showLowerToolbarPicture()
{
    QPixmap pm = blank(11, 21);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // A filled arrow head over a short shaft: "bring up what is below".
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF({QPointF(5.5, 2), QPointF(10.5, 9), QPointF(0.5, 9)}));
    p.fillRect(QRectF(3.5, 9, 4, 8), kAccent);
    p.fillRect(QRectF(1, 18, 9, 2), kInk);
    return pm;
}

QPixmap hideLowerToolbarPicture()
{
    QPixmap pm = blank(10, 21);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 3), QPointF(8, 9));
    p.drawLine(QPointF(8, 3), QPointF(2, 9));
    // The bar the toolbar folds down to.
    p.setPen(QPen(kAccent, 1.6, Qt::SolidLine, Qt::RoundCap));
    chevron(p, QPointF(5, 17), 3.5, -3.5);
    return pm;
}

QPixmap restoreToolbarsPicture()
{
    QPixmap pm = blank(30, 11);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kAccent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    chevron(p, QPointF(10, 8), 5, -5);
    chevron(p, QPointF(20, 8), 5, -5);
    return pm;
}

}  // namespace ui
