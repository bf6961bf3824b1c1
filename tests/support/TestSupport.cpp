#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace testsupport {

ScriptedMessenger::ScriptedMessenger() { ui::setMessenger(this); }
ScriptedMessenger::~ScriptedMessenger() { ui::setMessenger(nullptr); }

ui::Answer ScriptedMessenger::show(QWidget*, const QString& text, const QString& title, ui::Buttons buttons, ui::Icon icon)
{
    shown.append({text, title, buttons, icon});
    if (!answers.empty()) {
        const ui::Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == ui::Buttons::Ok ? ui::Answer::Ok : ui::Answer::Yes;
}

QStringList ScriptedMessenger::texts() const
{
    QStringList t;
    for (const ShownMessage& m : shown)
        t << m.text;
    return t;
}

SettingsSandbox::SettingsSandbox()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

SettingsSandbox::~SettingsSandbox()
{
    // Point the store somewhere harmless again, never at the user's real one.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QDir::tempPath() + QStringLiteral("/quillet-test-none"));
}

TempTree::TempTree(const QStringList& entries)
{
    for (const QString& e : entries)
        add(e);
}

void TempTree::add(const QString& name, const QByteArray& content)
{
    if (name.endsWith(QLatin1Char('/'))) {
        QDir(m_dir.path()).mkpath(name);
        return;
    }
    QFile f(m_dir.filePath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}

QStringList TempTree::entries() const
{
    QStringList list = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    list.sort();
    return list;
}

QString crlf(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

}  // namespace testsupport
