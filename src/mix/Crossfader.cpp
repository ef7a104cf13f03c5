#include "mix/Crossfader.h"

#include "app/Main.h"

namespace velmor {

void Crossfader::wire() {
    (void)w_;
}

} // namespace velmor
