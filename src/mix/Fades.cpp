#include "mix/Fades.h"

#include "app/Main.h"

namespace velmor {

void Fades::wire() {
    (void)w_;
}

} // namespace velmor
