#pragma once
// Addresses on the maker's web server, and which addresses a download may use.
#include <QString>

class QUrl;

namespace web {

// The base address: the environment variable QUILLET_WEB_BASE when set, otherwise the one built in.
QString webBase();

QString newestProgramUrl();
QString updaterUrl();
QString homepageUrl();

// HTTPS only; plain HTTP only to this machine itself, where no one can tamper with it in transit.
bool isTrustedAddress(const QUrl& url);
// A redirect from `from` to `to` may be followed: to a trusted address, and once on HTTPS never back to plain HTTP.
bool isTrustedHop(const QUrl& from, const QUrl& to);

}  // namespace web
