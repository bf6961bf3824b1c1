#include "ui/NoteListView.h"

#include <QPainter>
#include <QPaintEvent>

namespace ui {
namespace {

constexpr int kMargin = 4;  // pixels around the note
constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// Italic, so that it does not read as one more entry.
QFont noteFont(QFont font)
{
    font.setItalic(true);
    return font;
}

}  // namespace

NoteListView::NoteListView(QWidget* parent) : QListView(parent) {}

void NoteListView::setNote(const QString& note)
{
    if (note == m_note)
        return;
    m_note = note;
    viewport()->update();
}

QRect NoteListView::noteRect() const
{
    if (m_note.isEmpty())
        return {};
    const QRect area = viewport()->rect();
    int top = area.top();
    if (const int rows = model() ? model()->rowCount(rootIndex()) : 0; rows > 0)
        top = visualRect(model()->index(rows - 1, 0, rootIndex())).bottom() + 1;
    const QRect room(area.left() + kMargin, top + kMargin, area.width() - 2 * kMargin, area.bottom() - top - 2 * kMargin);
    if (room.width() <= 0 || room.height() <= 0)
        return {};
    const QRect needed = QFontMetrics(noteFont(font())).boundingRect(room, kFlags, m_note);
    return needed.height() <= room.height() ? QRect(room.topLeft(), QSize(room.width(), needed.height())) : QRect();
}

void NoteListView::paintEvent(QPaintEvent* event)
{
    QListView::paintEvent(event);
    const QRect r = noteRect();
    if (r.isEmpty() || !event->rect().intersects(r))
        return;
    QPainter p(viewport());
    p.setPen(palette().color(QPalette::Text));
    p.setFont(noteFont(font()));
    p.drawText(r, kFlags, m_note);
}

}  // namespace ui
