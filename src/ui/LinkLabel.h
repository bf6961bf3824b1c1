#pragma once
// A label with the look of a link that runs an action when clicked, or when Space or Enter is pressed on it.
#include <QObject>

#include <functional>

class QLabel;

namespace ui {

// Gives `label` the look of a link and runs `open` when it is clicked, or when Space or Enter is pressed
// on it: Tab reaches it (a click does not take the focus from the name text). Owned by the label.
class LinkLabel final : public QObject {
public:
    LinkLabel(QLabel* label, std::function<void()> open);

protected:
    bool eventFilter(QObject*, QEvent* event) override;

private:
    void showFocus(bool focused);

    QLabel* m_label;
    std::function<void()> m_open;
};

}  // namespace ui
