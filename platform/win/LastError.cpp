// The last error lives in the core, which reports file and code-page
// failures through it; these are its operating-system names.
#include "platform/win/LastError.h"

DWORD GetLastError() {
    return GetLastOSError();
}

void SetLastError(DWORD errorCode) {
    SetLastOSError(errorCode);
}
