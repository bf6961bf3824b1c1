#include "ui/ButtonPictures.h"

#include "ui/Contrast.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace ui {
namespace {

const QColor kInk(0x30, 0x40, 0x58);
const QColor kAccent(0x2f, 0x6f, 0xb8);

struct Inks {
    QColor ink;
    QColor accent;
};

// The designed colours where they stand out from the button face; on a dark face the palette's own.
Inks inksForPalette()
{
    const QPalette p = QApplication::palette();
    const QColor face = p.color(QPalette::Button);
    const QColor text = p.color(QPalette::ButtonText);
    return {contrast::visibleOn(kInk, face, text),
            contrast::visibleOn(kAccent, face, contrast::visibleOn(p.color(QPalette::Highlight), face, text))};
}

using Draw = void (*)(QPainter&, const Inks&);

// Draws its picture in the coordinates of its design size, scaled to whatever size and pixel density
// is asked for, so that it is never an enlarged copy of a small bitmap.
class DrawnIcon final : public QIconEngine {
public:
    DrawnIcon(QSize designSize, Draw draw) : m_size(designSize), m_draw(draw) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(qreal(rect.width()) / m_size.width(), qreal(rect.height()) / m_size.height());
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.45);
        m_draw(*painter, inksForPalette());
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(), size), mode, state);
        return pm;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return m_size.scaled(size, Qt::KeepAspectRatio);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {m_size}; }
    QIconEngine* clone() const override { return new DrawnIcon(m_size, m_draw); }
    QString key() const override { return QStringLiteral("quillet-drawn"); }

private:
    QSize m_size;
    Draw m_draw;
};

ButtonPicture drawn(QSize size, Draw draw)
{
    return {QIcon(new DrawnIcon(size, draw)), size};
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

ButtonPicture showLowerToolbarPicture()
{
    return drawn(QSize(11, 21), [](QPainter& p, const Inks& c) {
        // A filled arrow head over a short shaft: "bring up what is below".
        p.setPen(Qt::NoPen);
        p.setBrush(c.accent);
        p.drawPolygon(QPolygonF({QPointF(5.5, 2), QPointF(10.5, 9), QPointF(0.5, 9)}));
        p.fillRect(QRectF(3.5, 9, 4, 8), c.accent);
        p.fillRect(QRectF(1, 18, 9, 2), c.ink);
    });
}

ButtonPicture hideLowerToolbarPicture()
{
    return drawn(QSize(10, 21), [](QPainter& p, const Inks& c) {
        p.setPen(QPen(c.ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2, 3), QPointF(8, 9));
        p.drawLine(QPointF(8, 3), QPointF(2, 9));
        // The bar the toolbar folds down to.
        p.setPen(QPen(c.accent, 1.6, Qt::SolidLine, Qt::RoundCap));
        chevron(p, QPointF(5, 17), 3.5, -3.5);
    });
}

ButtonPicture restoreToolbarsPicture()
{
    return drawn(QSize(30, 11), [](QPainter& p, const Inks& c) {
        p.setPen(QPen(c.accent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        chevron(p, QPointF(10, 8), 5, -5);
        chevron(p, QPointF(20, 8), 5, -5);
    });
}

namespace {

// Two overlapping windows, the front one with its title bar; the colours tell the state.
void drawWindows(QPainter& p, const QColor& outline, const QColor& frontFill, const QColor& titleBar)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outline, 1));
    p.drawRect(QRectF(2.5, 2.5, 11, 9));
    p.setBrush(frontFill);
    p.drawRect(QRectF(7.5, 7.5, 11, 9));
    p.fillRect(QRectF(8, 8, 10, 3), titleBar);
}

}  // namespace

void paintOnTopLook(QPainter& p, OnTopLook look)
{
    const QRectF face(0.5, 0.5, kOnTopPictureSize.width() - 1, kOnTopPictureSize.height() - 1);
    switch (look) {
    case OnTopLook::Normal:
        drawWindows(p, QColor(0x80, 0x80, 0x80), QColor(0xf4, 0xf4, 0xf4), QColor(0x9a, 0x9a, 0x9a));
        break;
    case OnTopLook::Highlighted:
        p.setPen(QColor(0x7f, 0xa7, 0xd6));
        p.setBrush(QColor(0xe3, 0xee, 0xfa));
        p.drawRoundedRect(face, 3, 3);
        drawWindows(p, QColor(0x2f, 0x6f, 0xb8), Qt::white, QColor(0x6f, 0x9f, 0xd8));
        break;
    case OnTopLook::Active:
        // Pressed in: a darker face, the front window filled.
        p.setPen(QColor(0x2a, 0x55, 0x8c));
        p.setBrush(QColor(0xc4, 0xd6, 0xec));
        p.drawRoundedRect(face, 3, 3);
        drawWindows(p, QColor(0x1d, 0x4f, 0x91), QColor(0x2f, 0x6f, 0xb8), QColor(0x1d, 0x4f, 0x91));
        break;
    }
}

QPixmap onTopPicture(OnTopLook look, qreal devicePixelRatio)
{
    QPixmap pm(kOnTopPictureSize * devicePixelRatio);
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paintOnTopLook(p, look);
    return pm;
}

}  // namespace ui
