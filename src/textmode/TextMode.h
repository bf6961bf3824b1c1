#pragma once
// Text mode of the main window as data, and the save and open of the name text as a text file.
#include "files/TextFile.h"

#include <QList>
#include <QString>
#include <Qt>

class QWidget;

namespace ui {
class Messenger;
}

namespace textmode {

// The captions of Command6 in directory mode and in text mode.
inline const QString kTextModeCaption = QStringLiteral("Text-&Modus");
inline const QString kDirectoryModeCaption = QStringLiteral("Verz.-Modus");

struct ControlVisibility {
    QString objectName;
    bool visible = false;
};

// What the main window shows in one mode.
struct ModeView {
    QString command6Caption;
    QString controlsFrameCaption;
    Qt::Alignment eingabeOhneAlignment;
    QList<ControlVisibility> controls;  // by object name
};

ModeView modeView(bool textMode);

// Shows and hides the named children of `window` and sets the captions of Command6 and ControlsFrame.
void applyModeView(QWidget* window, const ModeView& view);

enum class SaveOutcome { Cancelled, Declined, Saved, Failed };

// Saves `shownText` (the name text as the user sees it) to `target`, the save dialog's answer: the empty
// text or a folder is a cancel; an existing file is replaced only after the overwrite question.
// Beeps and reports "File saved" only after the file was written.
SaveOutcome saveNameText(QWidget* parent, const QString& shownText, const QString& target, ui::Messenger& messenger);

enum class OpenStatus { Cancelled, Opened, Unreadable };

struct OpenOutcome {
    OpenStatus status = OpenStatus::Cancelled;
    QString text;  // the file's lines joined by CR LF, when opened
};

// Why a text file was not read, as a German sentence without its full stop; empty for Ok.
QString readFailureText(files::ReadStatus status);

// Reads the file the open dialog chose. The empty text, a folder or a missing file is a cancel; a file
// that cannot be read is reported and leaves the name text to the caller unchanged.
OpenOutcome openNameText(QWidget* parent, const QString& chosen, ui::Messenger& messenger);

// The two commands as the main window runs them: the file dialog in the folder the chooser showed last
// ("Datei Speichern" proposing "NoName.txt", or "Text-Datei auswählen"), then the save or open above.
SaveOutcome saveNameTextAs(QWidget* parent, const QString& shownText, const QString& folder, ui::Messenger& messenger);
OpenOutcome openNameTextFile(QWidget* parent, const QString& folder, ui::Messenger& messenger);

}  // namespace textmode
