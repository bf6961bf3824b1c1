#pragma once
// A list view that can show a short note in the free room below its entries. The view draws the note
// itself: it is no entry, so it can be neither selected nor counted nor renamed.
#include <QListView>

namespace ui {

class NoteListView : public QListView {
    Q_OBJECT
public:
    explicit NoteListView(QWidget* parent = nullptr);

    void setNote(const QString& note);
    QString note() const { return m_note; }
    // Where the note is drawn in the viewport; empty without a note or without room for it below the
    // entries (a full list), where the note is left out.
    QRect noteRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_note;
};

}  // namespace ui
