#include "deck/PositionDisplay.h"

#include "app/Main.h"

namespace velmor {

void PositionDisplay::wire() {
    (void)w_;
}

} // namespace velmor
