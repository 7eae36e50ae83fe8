// The notify-event form of the editor's method chains.
#include "editor/SynEditMiscClasses.h"

void TSynNotifyEventChain::DoFire(const TNotifyEvent& AEvent) {
    AEvent(Sender);
}
