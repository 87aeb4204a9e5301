#pragma once

// What the program does around its windows: preparing the process for the
// web engine, and reaching the help window through a module loaded only
// after the main window is on screen.

#include "modules/help_access.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace tivora {

// Before the application object: nothing may go to disk (no shader caches),
// and the engine must not end the process when run as root (see README).
void prepareProcess();

// Whether QTWEBENGINE_CHROMIUM_FLAGS holds the switch that turns the
// engine's sandbox off.
bool chromiumFlagsTurnOffSandbox(const QString& flags);

// Reads the system's font configuration on a second core while the
// application object connects to the display. Wait for it before the first
// control is built: a second reader would do the whole work again.
std::future<void> readFontConfigurationAhead();

// Loads the help module from beside the program or from its installed place;
// null, with the reason logged (tivora.help), when it cannot be loaded.
std::unique_ptr<HelpAccess> loadHelpModule();

// Stands in for the help window until the main window has been painted once,
// then builds the real one and hands it what was asked of it meanwhile. A
// show() before then builds it at once.
class DeferredHelp : public QObject, public HelpAccess {
public:
    using Factory = std::function<std::unique_ptr<HelpAccess>()>;

    explicit DeferredHelp(Factory factory);
    ~DeferredHelp() override;

    // Builds the help once `mainWindow` has been painted for the first time.
    void buildAfterFirstPaintOf(QWidget* mainWindow);

    void show() override;
    void navigate(const QUrl& address) override;

    // The real help, once built; for tests.
    HelpAccess* loaded() const { return help_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpAccess* help();

    Factory factory_;
    QPointer<QWidget> mainWindow_;
    std::unique_ptr<HelpAccess> help_;
    std::optional<QUrl> pendingAddress_;
};

}  // namespace tivora
