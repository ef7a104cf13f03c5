#include "playlist/SavePanel.h"

#include "app/Main.h"

namespace velmor {

void SavePanel::wire() {
    (void)w_;
}

} // namespace velmor
