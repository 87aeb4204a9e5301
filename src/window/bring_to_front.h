#pragma once

class QWidget;

namespace tivora {

// A window manager puts a window on screen some time after show() and gives
// it the focus then, in front of a window raised before. So `window` comes
// to the front once every other shown window is really up; Qt keeps its
// focus where it was, in the field the user may be typing in. A modal
// message still open stays in front of the window it is about.
void comeToFrontOnceOthersAreUp(QWidget* window);

}  // namespace tivora
