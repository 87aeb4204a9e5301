// The root of the help module, which the program loads only once its main
// window is on screen: the web engine's libraries take longer to load than
// the whole main window does to appear.

#include "help_window.h"

#include <QObject>

namespace tivora {

class HelpPlugin : public QObject, public HelpModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "example.tivora.HelpModule/1.0")
    Q_INTERFACES(tivora::HelpModule)

public:
    std::unique_ptr<HelpAccess> createHelp() override { return std::make_unique<Help>(); }
};

}  // namespace tivora

#include "help_module.moc"
