#include "platform/ProgramWindows.h"

namespace platform {

QPointer<TForm> FoRPGMenu;
QPointer<TForm> FoRpgGra;
QPointer<TForm> FoLista;

} // namespace platform
