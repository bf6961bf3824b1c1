#pragma once
// Opens the product's homepage in the user's web browser.

namespace web {

// True when the platform accepted the address.
bool Guestbook_Click();

}  // namespace web
