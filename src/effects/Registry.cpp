#include "Effect.h"

namespace vexa::effects {

// One function per effect file, each giving its catalogue entry.
EffectInfo blobsEffect();
EffectInfo deformEffect();
EffectInfo fireEffect();
EffectInfo flagEffect();
EffectInfo huerotEffect();
EffectInfo lakeEffect();
EffectInfo lensEffect();
EffectInfo life2dEffect();
EffectInfo mandelEffect();
EffectInfo plasmaEffect();
EffectInfo rotEffect();
EffectInfo snowEffect();
EffectInfo tunnelEffect();
EffectInfo warpEffect();
EffectInfo waterEffect();
EffectInfo wormholeEffect();

const std::vector<EffectInfo> &registry()
{
    static const std::vector<EffectInfo> effects = {
        blobsEffect(),
        deformEffect(),
        fireEffect(),
        flagEffect(),
        huerotEffect(),
        lakeEffect(),
        lensEffect(),
        life2dEffect(),
        mandelEffect(),
        plasmaEffect(),
        rotEffect(),
        snowEffect(),
        tunnelEffect(),
        warpEffect(),
        waterEffect(),
        wormholeEffect(),
    };
    return effects;
}

} // namespace vexa::effects
