#pragma once
// The folder the directory chooser showed last; the file dialogs of the text mode start there. The main
// window owns it and hands it to both.
#include <QString>

namespace ui {

class LastFolder {
public:
    // The last folder set, or the process's current directory before any was set.
    QString folder() const;
    void set(const QString& folder) { m_folder = folder; }

private:
    QString m_folder;
};

}  // namespace ui
