#include "textmode/TextMode.h"

#include "ui/Messenger.h"
#include "textmode/Files.h"
#include "files/TextFile.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QWidget>

namespace textmode {

namespace {

// Shown in directory mode, hidden in text mode.
const char* const kDirectoryControls[] = {"Original", "Label1", "Label2", "OrigNamen", "Setzen", "Verzeichnis", "Eingabe_Mit"};
// Shown in text mode only.
const char* const kTextControls[] = {"Command7", "Command8", "Eingabe_Ohne"};

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

}  // namespace

ModeView modeView(bool textMode)
{
    ModeView view;
    view.command6Caption = textMode ? kDirectoryModeCaption : kTextModeCaption;
    view.controlsFrameCaption = textMode ? QStringLiteral("Text-Modus") : QString();
    view.eingabeOhneAlignment = textMode ? Qt::AlignLeft : Qt::AlignRight;
    for (const char* name : kDirectoryControls)
        view.controls.append({QString::fromLatin1(name), !textMode});
    for (const char* name : kTextControls)
        view.controls.append({QString::fromLatin1(name), textMode});
    return view;
}

void applyModeView(QWidget* window, const ModeView& view)
{
    for (const ControlVisibility& control : view.controls)
        if (auto* widget = window->findChild<QWidget*>(control.objectName))
            widget->setVisible(control.visible);
    if (auto* command6 = window->findChild<QAbstractButton*>(QStringLiteral("Command6")))
        command6->setText(view.command6Caption);
    if (auto* frame = window->findChild<QGroupBox*>(QStringLiteral("ControlsFrame")))
        frame->setTitle(view.controlsFrameCaption);
}

SaveOutcome saveNameText(QWidget* parent, const QString& shownText, const QString& target, ui::Messenger& messenger)
{
    if (target.isEmpty() || QFileInfo(target).isDir())
        return SaveOutcome::Cancelled;
    if (QFileInfo::exists(target) &&
        messenger.show(parent, QStringLiteral("Die Datei existiert bereits, soll sie überschrieben werden?"),
                       QStringLiteral("Überschreiben?"), ui::Buttons::YesNo, ui::Icon::Question) != ui::Answer::Yes)
        return SaveOutcome::Declined;
    if (!files::writeTextFile(target, shownText)) {
        messenger.show(parent,
                       QStringLiteral("Die Datei konnte nicht gespeichert werden:\r\n") + shownPath(target),
                       QStringLiteral("Fehler beim Speichern"), ui::Buttons::Ok, ui::Icon::Stop);
        return SaveOutcome::Failed;
    }
    messenger.beep();
    messenger.show(parent, QStringLiteral("File saved"), QStringLiteral("File Saved"), ui::Buttons::Ok, ui::Icon::Information);
    return SaveOutcome::Saved;
}

QString readFailureText(files::ReadStatus status)
{
    switch (status) {
    case files::ReadStatus::Ok: return {};
    case files::ReadStatus::Missing: return QStringLiteral("Die Datei gibt es nicht");
    case files::ReadStatus::Unreadable: return QStringLiteral("Die Datei konnte nicht gelesen werden");
    case files::ReadStatus::NotRegular:
        return QStringLiteral("Die Datei wird nicht gelesen, weil sie keine gewöhnliche Datei ist (sondern etwa ein "
                              "Ordner, eine Pipe oder ein Gerät)");
    case files::ReadStatus::TooLarge:
        return QStringLiteral("Die Datei wird nicht gelesen, weil sie größer als %1 GiB ist (so lang ist keine "
                              "Namensliste)")
            .arg(files::kMaxTextFileBytes >> 30);
    }
    return {};
}

OpenOutcome openNameText(QWidget* parent, const QString& chosen, ui::Messenger& messenger)
{
    if (chosen.isEmpty() || QFileInfo(chosen).isDir())
        return {};
    files::ReadResult read = files::readTextFile(chosen);
    switch (read.status) {
    case files::ReadStatus::Missing: return {};
    case files::ReadStatus::Unreadable:
    case files::ReadStatus::NotRegular:
    case files::ReadStatus::TooLarge:
        messenger.show(parent, readFailureText(read.status) + QStringLiteral(":\r\n") + shownPath(chosen),
                       QStringLiteral("Fehler beim Öffnen"), ui::Buttons::Ok, ui::Icon::Stop);
        return {OpenStatus::Unreadable, {}};
    case files::ReadStatus::Ok: break;
    }
    return {OpenStatus::Opened, std::move(read.text)};
}

SaveOutcome saveNameTextAs(QWidget* parent, const QString& shownText, const QString& folder, ui::Messenger& messenger)
{
    const QString target = Files::filesaveDialog(folder, QStringLiteral("NoName.txt"), QStringLiteral("Datei Speichern"), parent);
    return saveNameText(parent, shownText, target, messenger);
}

OpenOutcome openNameTextFile(QWidget* parent, const QString& folder, ui::Messenger& messenger)
{
    const QString chosen = Files::FileOpenDialog(folder, QStringLiteral("Text-Datei auswählen"), QString(), parent);
    return openNameText(parent, chosen, messenger);
}

}  // namespace textmode
