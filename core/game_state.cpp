#include "core/game_state.h"

namespace tandrel::core {

GameState& TheGameState() {
    // Static storage is zero-initialised before anything runs, and the record
    // is never destroyed before the last handler that could touch it.
    static GameState state;
    return state;
}

}  // namespace tandrel::core
