#include "deck/EntryLoader.h"

#include "deck/WindowContext.h"

namespace velmor {

std::optional<int> EntryLoader::LoadPlayableEntry(int d, int start, int step, Start from) {
    return w_.decks[d]->load(start, step, from);
}

} // namespace velmor
