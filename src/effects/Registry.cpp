#include "Effect.h"

namespace vexa::effects {

// One function per effect file, each giving its catalogue entry.
EffectInfo fireEffect();

const std::vector<EffectInfo> &registry()
{
    static const std::vector<EffectInfo> effects = {
        fireEffect(),
    };
    return effects;
}

} // namespace vexa::effects
