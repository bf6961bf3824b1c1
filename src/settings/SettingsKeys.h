#pragma once
// Every option the program keeps, declared once: its section, key, the text that stands for "on" and for
// "off", what an absent value means, and how a stored text is read. Windows read and write options only
// through these declarations, so two windows can never read the same key differently.
#include <QString>

namespace settings {

// How a stored text turns into on or off.
enum class Reading {
    EqualsOne,     // the text "1" is on, anything else off
    NumberIsOne,   // a text whose number is 1 is on (" 1" too)
    NumberIsZero,  // a text whose number is 0 is on (also a text that is no number)
    NotZero,       // anything but the text "0" is on
    TrueFalse,     // "True" (or a number other than 0) is on
};

struct Flag {
    const char* section;
    const char* key;
    const char* onText;     // stored for on
    const char* offText;    // stored for off
    bool whenAbsent;        // the value when nothing is stored
    Reading reading;
};

namespace keys {
// Main window always on top; read by the chooser when it hands a directory over.
inline constexpr Flag kOnTop{"Options", "OnTop", "1", "0", false, Reading::EqualsOne};
// "Weniger Messageboxen": stored "0" while the option is on, so that a first start has it on.
inline constexpr Flag kFewerMessages{"Options", "Messageboxen", "0", "1", true, Reading::NumberIsZero};
// The chooser's "Verzeichnisse umbenennen" and "Nur Verz." boxes, which also decide what the scan lists.
inline constexpr Flag kRenameDirectories{"Options", "Directorys", "1", "0", true, Reading::EqualsOne};
inline constexpr Flag kOnlyDirectories{"Options", "OnlyDirectorys", "1", "0", true, Reading::NumberIsOne};
// Toolbar visibility.
inline constexpr Flag kUpperToolbarVisible{"Frame", "Visible", "True", "False", false, Reading::TrueFalse};
inline constexpr Flag kLowerToolbarVisible{"ControlsFrame", "Visible", "True", "False", true, Reading::TrueFalse};
// Checked state of "Listen-Synchornisierung abschalten" (stored as "Enabled", meaning the opposite).
inline constexpr Flag kSyncDisabled{"SyncListBoxen", "Enabled", "1", "0", false, Reading::NotZero};
// The always-on-top control's own state.
inline constexpr Flag kControlOnTop{"AlwaysOnTop", "OnTop", "True", "False", true, Reading::TrueFalse};

// A window's outer rectangle in twips, one key per property, in the section "<window name>\Pos\"
// (windowPositionSection).
inline constexpr char kWindowPositionSection[] = "\\Pos\\";
inline constexpr char kWindowHeight[] = "Height";
inline constexpr char kWindowWidth[] = "Width";
inline constexpr char kWindowTop[] = "Top";
inline constexpr char kWindowLeft[] = "Left";
}  // namespace keys

QString windowPositionSection(const QString& windowName);

bool read(const Flag& flag);
// The chooser reads the upper toolbar's state with "shown" as its own default.
bool read(const Flag& flag, bool whenAbsent);
void write(const Flag& flag, bool on);

}  // namespace settings
