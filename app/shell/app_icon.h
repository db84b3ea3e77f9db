// How the desktop knows the window: its icon (every size drawn for it) and the desktop
// entry it belongs to.
#pragma once

#include <QIcon>

namespace drawfollow {

QIcon applicationIcon();

// Gives the application the icon and names its desktop entry; call once, after the
// QApplication exists.
void presentToDesktop();

}  // namespace drawfollow
