#pragma once
// Shared helpers: scripted message boxes, a private settings store, and real temporary directories.
#include "mainwindow/Messenger.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>

namespace testsupport {

struct ShownMessage {
    QString text;
    QString title;
    ui::Buttons buttons;
    ui::Icon icon;
};

// Answers message boxes from a queue (default: Yes/Ok) and counts beeps and ends of the program.
class ScriptedMessenger : public ui::Messenger {
public:
    ScriptedMessenger();
    ~ScriptedMessenger() override;
    ui::Answer show(QWidget* parent, const QString& text, const QString& title, ui::Buttons buttons, ui::Icon icon) override;
    void beep() override { ++beeps; }
    void endProgram() override { ++ends; }

    void answerNext(ui::Answer a) { answers.push_back(a); }
    QStringList texts() const;

    std::deque<ui::Answer> answers;
    QList<ShownMessage> shown;
    int beeps = 0;
    int ends = 0;
};

// Points the real settings store at a fresh temporary folder for the lifetime of the object.
class SettingsSandbox {
public:
    SettingsSandbox();
    ~SettingsSandbox();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// A temporary directory filled with empty files (names ending in "/" become directories).
class TempTree {
public:
    explicit TempTree(const QStringList& entries = {});
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void add(const QString& name, const QByteArray& content = QByteArray());
    // Entry names in the directory (hidden ones too), sorted.
    QStringList entries() const;

private:
    QTemporaryDir m_dir;
};

QString crlf(const QStringList& lines);

}  // namespace testsupport
