#include "Effect.h"

namespace vexa::effects {

// One function per effect file, each giving its catalogue entry.
EffectInfo fireEffect();
EffectInfo lensEffect();
EffectInfo rotEffect();
EffectInfo tunnelEffect();

const std::vector<EffectInfo> &registry()
{
    static const std::vector<EffectInfo> effects = {
        fireEffect(),
        lensEffect(),
        rotEffect(),
        tunnelEffect(),
    };
    return effects;
}

} // namespace vexa::effects
