#pragma once
// Shared helpers: scripted message boxes, a private settings store, real temporary directories
// and a main window driven through its object names.
#include "mainwindow/Form1.h"
#include "ui/Messenger.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QMap>
#include <QMimeData>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <ostream>

// Readable values in failure messages.
void PrintTo(const QString& s, std::ostream* os);
void PrintTo(const QStringList& l, std::ostream* os);
void PrintTo(const QRect& r, std::ostream* os);

namespace testsupport {

struct ShownMessage {
    QString text;
    QString title;
    ui::Buttons buttons = ui::Buttons::Ok;
    ui::Icon icon = ui::Icon::None;
    bool operator==(const ShownMessage&) const = default;
};
void PrintTo(const ShownMessage& m, std::ostream* os);

// Answers message boxes from a queue (default: Yes/Ok) and counts beeps and ends of the program.
class ScriptedMessenger : public ui::Messenger {
public:
    ScriptedMessenger() { ui::setMessenger(this); }
    ~ScriptedMessenger() override { ui::setMessenger(nullptr); }
    ui::Answer show(QWidget* parent, const QString& text, const QString& title, ui::Buttons buttons, ui::Icon icon) override;
    void showDetails(QWidget*, const QString& text, const QString& details, const QString& title, ui::Icon icon) override
    {
        detailsOf.insert(shown.size(), details);
        shown.append({text, title, ui::Buttons::Ok, icon});
    }
    void beep() override { ++beeps; }
    void endProgram() override { ++ends; }
    void answerNext(ui::Answer a) { answers.push_back(a); }

    std::deque<ui::Answer> answers;
    QList<ShownMessage> shown;
    QMap<qsizetype, QString> detailsOf;  // the list of each report with details, by its place in `shown`
    int beeps = 0;
    int ends = 0;
};

// The settings folder of this test process, apart from every other one (test_main.cpp).
QString processSettingsFolder();
// Points the real settings store at `folder`.
void useSettingsFolder(const QString& folder);

// Points the real settings store at a fresh temporary folder for the lifetime of the object.
class SettingsSandbox {
public:
    SettingsSandbox();
    ~SettingsSandbox();

private:
    QTemporaryDir m_dir;
};

QString setting(const char* section, const char* key);
void store(const char* section, const char* key, const char* value);

// A file's bytes ("<missing>" when it cannot be read); the entry names of a directory (hidden ones too),
// sorted, or each as "name=content".
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& content);
QStringList entriesIn(const QString& dir);
QStringList withContentIn(const QString& dir);

// A temporary directory filled with files (names ending in "/" become directories).
class TempTree {
public:
    explicit TempTree(const QStringList& entries = {})
    {
        for (const QString& e : entries)
            add(e);
    }
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void add(const QString& name, const QByteArray& content = QByteArray());
    void addOwnNames(const QStringList& names);  // files holding their own names
    QByteArray read(const QString& name) const { return readFile(file(name)); }
    QStringList entries() const { return entriesIn(path()); }
    QStringList withContent() const { return withContentIn(path()); }

private:
    QTemporaryDir m_dir;
};

inline QString crlf(const QStringList& lines) { return lines.join(QStringLiteral("\r\n")); }

// Makes `path` the process's current directory for the lifetime of the object.
class CurrentDir {
public:
    explicit CurrentDir(const QString& path) : m_old(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentDir() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

template <class T>
T* in(const QObject* parent, const char* name)
{
    T* c = parent->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

inline void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// A hovering drag of `data` over `target` at `at`, then its drop; true when both were taken.
bool dragAndDrop(QWidget* target, const QMimeData& data, QPoint at = QPoint(5, 5));

// A main window with its own settings, message boxes and current directory (the start path of a
// start without argument).
class FormTest : public ::testing::Test {
protected:
    void TearDown() override { destroyForm(); }
    Form1* newForm()  // a fresh window in place of the last one
    {
        destroyForm();
        form = std::make_unique<Form1>();
        form->setJournalFolder(journalFolder());
        return form.get();
    }
    void destroyForm();
    void open(const TempTree& dir)  // scans `dir` as a chosen directory is scanned
    {
        form->set_Startpfad(dir.path());
        form->InitializeMe();
    }
    template <class T>
    T* child(const char* name) const
    {
        return in<T>(form.get(), name);
    }
    void click(const char* button);
    QString text() const { return form->Get_Eingabe_Text(); }
    QStringList listed() const;
    // Every line of the name text gets a prefix: a change that keeps the line count.
    void editEveryLine(const QString& prefix);

    // The rename journals of this test only; a new window of the same test finds them again.
    QString journalFolder() const { return journals.filePath(QStringLiteral("journals")); }

    SettingsSandbox sandbox;
    QTemporaryDir journals;
    ScriptedMessenger messenger;
    TempTree cwdTree{{"alpha/", "beta/", "file.txt"}};
    CurrentDir cwd{cwdTree.path()};
    std::unique_ptr<Form1> form;
};

}  // namespace testsupport
