#pragma once

#include "app/Actions.h"

namespace velmor {

class Main;

// The action table of the window, each action calling the handler of the control a click
// would use, its failures trapped and told by the window's rule.
ActionTable WindowActions(Main& window);

} // namespace velmor
