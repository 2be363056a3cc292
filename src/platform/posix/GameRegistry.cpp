// Platforms without a registry: the games are found only through the table
// that tests and tools fill.
#include "platform/GameRegistry.h"

namespace velmora {

GameRegistry& platformGameRegistry() {
    static TableGameRegistry registry;
    return registry;
}

}  // namespace velmora
