#pragma once

// Which address the help window shows, which it hands to the user's own web
// browser, and which it refuses, and why: rules of addresses alone, with no
// web engine, so that a table can try them all (tests/window/help_policy_test).
//
// The help window is a window on the help site, not on the web. Pages of the
// site (its scheme, host and port) and the bundled page are shown. Anything
// else goes to the user's browser only as the link the user just clicked or
// pressed Enter on, and only if what the user would see there is what the
// link seems to say; a redirect, or an address the page's script picks, goes
// nowhere.

#include <QString>
#include <QUrl>

#include <optional>

namespace tivora {

// The help page compiled into the program.
QUrl bundledHelpPage();

bool isBundled(const QUrl& url);
bool isWeb(const QUrl& url);

// How the engine came to ask for an address.
enum class Asked {
    Page,       // the page's own frame going there: a link, a script, the program
    Redirect,   // the server's answer to an address the page went to
    Frame,      // a frame inside the page
    NewWindow,  // a link or a click asking for a window of its own
};

enum class Verdict {
    Show,         // in the help window
    OpenOutside,  // in the user's own web browser
    Refuse,
};

struct AddressDecision {
    Verdict verdict;
    QString reason;  // for a refusal: why, as the status line says it

    bool operator==(const AddressDecision&) const = default;
};

// `clickedLink` is the link under the user's latest click or key in the page
// that has not yet opened anything (empty when it was on no link); nothing
// when there is no such click or key.
AddressDecision decideAddress(const QUrl& url, Asked asked, const QUrl& helpSite,
                              const std::optional<QUrl>& clickedLink);

// As the user's browser would show the address: encoded, so that no
// look-alike letter passes for another.
QString shownAddress(const QUrl& url);

}  // namespace tivora
