#pragma once
// The tool commands of the main window: the tool frames and one-click buttons, their menu items, and the
// CD number lists. Each command reads the name text once, runs its request and writes the text back once.
#include <QObject>

#include <functional>

class AppendFrame;
class NameTextEdit;
class QWidget;
struct MainWindowUi;

class ToolCommands : public QObject {
    Q_OBJECT
public:
    // What the commands need from the window they work in.
    struct Host {
        std::function<NameTextEdit*()> nameBox;   // the box that holds the name text now
        std::function<qint64()> entryCount;        // entries in the list of original names
        std::function<bool()> fewerMessages;       // "Weniger Messageboxen"
        std::function<void(bool)> lockButtons;     // while a long command runs
        std::function<void()> allowRestore;        // "Original Namen" may be pressed
        std::function<bool()> buttonsLocked;
    };

    ToolCommands(QWidget* window, MainWindowUi& ui, Host host);

    // The "Auto" box beside the first CD list.
    bool autoCdOn() const;
    // With "Auto": put the next CD prefix into the append box.
    void addCdPrefixIfAuto();
    // With "Auto", the freshly scanned text gets the CD prefix.
    void appendCdPrefixAfterScan();
    // After a rename both CD lists move on by one.
    void advanceCdLists();
    void fillCdLists();

    // Search-and-replace with the main tool's inputs (the copies hand theirs over first).
    void Ersetzen_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wireSearchReplace();
    void wireAppend();
    void wireCut();
    void wireOneClickCommands();
    void appendFromCopy(AppendFrame* copy);
    void addCdPrefixTo(AppendFrame* frame);
    QString text() const;
    void setText(const QString& text);
    void report(const QString& text);
    std::function<void(qint64, qint64)> progressInTitle();

    void BtnAnhaengen_Click();
    void Beschneiden_Click();
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command5_Click();
    void WordUcase_Click();
    void Nummerieren_Click();
    void Nummern_Entf_Click();

    QWidget* m_window;
    MainWindowUi& m_ui;
    Host m_host;
    // What the next click of each switching button does; its caption only shows it.
    bool m_underscoresToBlanks = true;
    bool m_toLower = true;
    bool m_umlautsOut = true;
};
