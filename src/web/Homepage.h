#pragma once
// Opens the product's homepage in the user's web browser.

class QWidget;

namespace ui {
class Messenger;
}

namespace web {

// True when the platform accepted the address.
bool Guestbook_Click();

// Opens the homepage; where the platform refuses, says so with the address.
void openHomepage(QWidget* parent, ui::Messenger& messenger);

}  // namespace web
