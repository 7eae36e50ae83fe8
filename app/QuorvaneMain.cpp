// The executable: the desktop backend when there is a display, then the program.
#include "app/Program.h"
#include "platform/backend/Backend.h"

int main() {
    InstallBackend();
    return WinMain();
}
