// The entry of the help module, which the program loads only once its main
// window is on screen: the web engine's libraries take longer to load than
// the whole main window does to appear.

#include "help_window.h"

extern "C" Q_DECL_EXPORT tivora::HelpAccess* tivoraCreateHelp()
{
    return new tivora::Help;
}
