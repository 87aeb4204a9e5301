#pragma once

// What the main window needs of the help window. The program's entry point
// supplies it, so the main window never links the web engine and can be on
// screen before the browser's code is loaded.

#include <QUrl>
#include <QtPlugin>

#include <memory>

namespace tivora {

class HelpAccess {
public:
    virtual ~HelpAccess() = default;

    // Shows the help window modeless and without owner, building it first
    // (with a blank browser) if it does not exist, and makes it active.
    virtual void show() = 0;
    // Starts loading `address`, building the window hidden if it does not
    // exist; returns at once.
    virtual void navigate(const QUrl& address) = 0;
};

// The maker's help page; its host is chosen when the program is built.
QUrl helpPageAddress();

// The root of the help module, a Qt plugin that the program loads once the
// main window is on screen (app/module_loader.h).
class HelpModule {
public:
    virtual ~HelpModule() = default;
    virtual std::unique_ptr<HelpAccess> createHelp() = 0;
};

}  // namespace tivora

Q_DECLARE_INTERFACE(tivora::HelpModule, "example.tivora.HelpModule/1.0")
