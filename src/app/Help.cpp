#include "app/Help.h"

#include "app/Main.h"

namespace velmor {

void Help::wire() {
    (void)w_;
}

} // namespace velmor
