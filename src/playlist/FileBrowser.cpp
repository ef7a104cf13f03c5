#include "playlist/FileBrowser.h"

#include "app/Main.h"

namespace velmor {

void FileBrowser::wire() {
    (void)w_;
}

} // namespace velmor
