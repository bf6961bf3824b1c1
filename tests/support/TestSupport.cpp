#include "TestSupport.h"

#include "chooser/Browser.h"
#include "settings/AppDefOps.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QSettings>

void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
void PrintTo(const QStringList& l, std::ostream* os) { *os << '[' << l.join(QStringLiteral("|")).toStdString() << ']'; }
void PrintTo(const QRect& r, std::ostream* os) { *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height(); }

namespace testsupport {

void PrintTo(const ShownMessage& m, std::ostream* os)
{
    *os << '"' << m.title.toStdString() << "\": \"" << m.text.toStdString() << "\" buttons " << int(m.buttons) << " icon "
        << int(m.icon);
}

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

void useSettingsFolder(const QString& folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

SettingsSandbox::SettingsSandbox() { useSettingsFolder(m_dir.path()); }

// Back to this process's own folder, never the user's real store nor one other processes share.
SettingsSandbox::~SettingsSandbox() { useSettingsFolder(processSettingsFolder()); }

QString setting(const char* section, const char* key)
{
    return AppDefOps::GetAppSetting(QString::fromUtf8(section), QString::fromUtf8(key)).toString();
}

void store(const char* section, const char* key, const char* value)
{
    AppDefOps::SaveAppSetting(QString::fromUtf8(section), QString::fromUtf8(key), QString::fromUtf8(value));
}

void TempTree::add(const QString& name, const QByteArray& content)
{
    if (name.endsWith(QLatin1Char('/'))) {
        EXPECT_TRUE(QDir(m_dir.path()).mkpath(name)) << name.toStdString();
        return;
    }
    writeFile(m_dir.filePath(name), content);
}

void TempTree::addOwnNames(const QStringList& names)
{
    for (const QString& name : names)
        add(name, name.toUtf8());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(content);
}

QStringList entriesIn(const QString& dir)
{
    QStringList list = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    list.sort();
    return list;
}

QStringList withContentIn(const QString& dir)
{
    QStringList list = entriesIn(dir);
    for (QString& name : list)
        name += QLatin1Char('=') + QString::fromUtf8(readFile(dir + QLatin1Char('/') + name));
    return list;
}

bool dragAndDrop(QWidget* target, const QMimeData& data, QPoint at)
{
    const auto offered = Qt::CopyAction | Qt::MoveAction;  // what a file manager offers
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_EQ(drop.isAccepted(), enter.isAccepted()) << "a drop handled unlike its hovering drag";
    return enter.isAccepted();
}

void FormTest::destroyForm()
{
    if (form) {
        delete form->chooser();
        form.reset();
    }
    flushDeletes();
}

void FormTest::click(const char* button)
{
    child<QPushButton>(button)->click();
}

QStringList FormTest::listed() const
{
    const QListView* list = child<QListView>("Original");
    QStringList rows;
    const QAbstractItemModel* model = list ? list->model() : nullptr;
    for (int row = 0; model && row < model->rowCount(); ++row)
        rows.append(model->index(row, 0).data().toString());
    return rows;
}

void FormTest::editEveryLine(const QString& prefix)
{
    QStringList lines = text().split(QStringLiteral("\r\n"));
    for (QString& line : lines)
        line.prepend(prefix);
    form->Set_Eingabe_Text(crlf(lines));
}

}  // namespace testsupport
