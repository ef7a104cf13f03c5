#pragma once

#include <array>

namespace velmor {

constexpr int kDecks = 4;

// One of a kind of control per deck, indexed 0..3 for Deck 1..4.
template <typename T> using PerDeck = std::array<T*, kDecks>;

} // namespace velmor
