#include "deck/TrackNavigation.h"

#include "app/Main.h"

namespace velmor {

void TrackNavigation::wire() {
    (void)w_;
}

} // namespace velmor
