#include "mainwindow/ListSync.h"

#include <QEvent>
#include <QTimer>

#include <algorithm>

namespace listsync {
namespace {

constexpr char16_t kCr = u'\r';

}  // namespace

qsizetype lineAt(QStringView text, qsizetype position)
{
    // A CR at r ends the cursor's line only when the cursor lies past its LF, at r + 2 or later.
    const qsizetype end = std::clamp<qsizetype>(position - 1, 0, text.size());
    return std::count(text.begin(), text.begin() + end, kCr);
}

Span lineSpan(QStringView text, qsizetype line)
{
    if (line < 0)
        return {0, text.size()};
    qsizetype start = 0;
    for (qsizetype found = 0; found < line; ++found) {
        const qsizetype cr = text.indexOf(kCr, start);
        if (cr < 0)
            return {0, text.size()};
        start = std::min(cr + 2, text.size());
    }
    const qsizetype cr = text.indexOf(kCr, start);
    const qsizetype end = cr < 0 ? text.size() : cr;
    return {start, end - start};
}

ListSync::ListSync(Editor editor, List list, QObject* parent)
    : QObject(parent), m_editor(std::move(editor)), m_list(std::move(list)), m_timer(new QTimer(this))
{
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, &ListSync::textToList);
}

void ListSync::watchListFocus(QObject* list)
{
    if (m_watchedList)
        m_watchedList->removeEventFilter(this);
    m_watchedList = list;
    if (list)
        list->installEventFilter(this);
}

bool ListSync::polling() const
{
    return m_timer->isActive();
}

void ListSync::editorFocusIn()
{
    m_timer->start();
}

void ListSync::editorFocusOut()
{
    m_timer->stop();
}

void ListSync::textToList()
{
    if (m_disabled)
        return;
    const qsizetype position = m_editor.cursorPosition();
    if (position == m_lastSelStart)
        return;
    m_lastSelStart = position;
    const qsizetype line =
        m_editor.lineOfPosition ? m_editor.lineOfPosition(position) : lineAt(m_editor.text(), position);
    // Views clear their selection when asked for a row they do not have, so a surplus line selects nothing.
    if (line >= 0 && line < m_list.count())
        m_list.selectRow(int(line));
}

void ListSync::listToText(int row)
{
    if (!m_listFocused || m_disabled || row < 0)
        return;
    const Span span = lineSpan(m_editor.text(), row);
    m_editor.setSelection(span.start, span.length);
    m_editor.takeFocus();
}

bool ListSync::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedList) {
        if (event->type() == QEvent::FocusIn)
            m_listFocused = true;
        else if (event->type() == QEvent::FocusOut)
            m_listFocused = false;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace listsync
