#pragma once
// The program's three windows, created once at start-up and reachable from every window by name. An entry
// empties itself when its window is destroyed.

#include "platform/Forms.h"

#include <QPointer>

namespace platform {

extern QPointer<TForm> FoRPGMenu;
extern QPointer<TForm> FoRpgGra;
extern QPointer<TForm> FoLista;

} // namespace platform
