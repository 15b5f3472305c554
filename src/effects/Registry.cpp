#include "Effect.h"

namespace vexa::effects {

// One function per effect file, each giving its catalogue entry.
EffectInfo blobsEffect();
EffectInfo fireEffect();
EffectInfo plasmaEffect();
EffectInfo lakeEffect();
EffectInfo waterEffect();
EffectInfo lensEffect();
EffectInfo rotEffect();
EffectInfo tunnelEffect();

const std::vector<EffectInfo> &registry()
{
    static const std::vector<EffectInfo> effects = {
        blobsEffect(),
        fireEffect(),
        lakeEffect(),
        lensEffect(),
        plasmaEffect(),
        rotEffect(),
        tunnelEffect(),
        waterEffect(),
    };
    return effects;
}

} // namespace vexa::effects
