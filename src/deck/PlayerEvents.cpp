#include "deck/PlayerEvents.h"

#include "app/Main.h"

namespace velmor {

void PlayerEvents::wire() {
    (void)w_;
}

} // namespace velmor
