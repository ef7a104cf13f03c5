#include "app/Shortcuts.h"

#include "app/Main.h"

namespace velmor {

void Shortcuts::wire() {
    (void)w_;
}

void Shortcuts::HandleShortcutKey(int keyAscii) {
    (void)keyAscii;
}

} // namespace velmor
