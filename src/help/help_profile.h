#pragma once

// The help browser's profile: everything in memory, nothing written, no
// downloads, no service workers, none of the program's own pictures for a
// web page, and a bounded script heap.

class QObject;
class QWebEngineProfile;

namespace tivora {

// A new profile, without parent: delete it after every page that uses it.
// What it needs besides lives as long as `owner`, which must outlive it.
QWebEngineProfile* newHelpProfile(QObject* owner);

}  // namespace tivora
