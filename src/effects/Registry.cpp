#include "Effect.h"

namespace vexa::effects {

// One function per effect file, each giving its catalogue entry.
EffectInfo blobsEffect();
EffectInfo blurEffect();
EffectInfo bumpEffect();
EffectInfo deformEffect();
EffectInfo fireEffect();
EffectInfo fireworksEffect();
EffectInfo flagEffect();
EffectInfo flagloadEffect();
EffectInfo flozoidsEffect();
EffectInfo fluidEffect();
EffectInfo galaxyEffect();
EffectInfo huerotEffect();
EffectInfo ifsfractEffect();
EffectInfo lakeEffect();
EffectInfo lensEffect();
EffectInfo life2dEffect();
EffectInfo mandelEffect();
EffectInfo plasmaEffect();
EffectInfo rotEffect();
EffectInfo snowEffect();
EffectInfo tunnelEffect();
EffectInfo tunnel3dEffect();
EffectInfo voxelEffect();
EffectInfo warpEffect();
EffectInfo waterEffect();
EffectInfo wobblerEffect();
EffectInfo wormholeEffect();

const std::vector<EffectInfo> &registry()
{
    static const std::vector<EffectInfo> effects = {
        blobsEffect(),
        blurEffect(),
        bumpEffect(),
        deformEffect(),
        fireEffect(),
        fireworksEffect(),
        flagEffect(),
        flagloadEffect(),
        flozoidsEffect(),
        fluidEffect(),
        galaxyEffect(),
        huerotEffect(),
        ifsfractEffect(),
        lakeEffect(),
        lensEffect(),
        life2dEffect(),
        mandelEffect(),
        plasmaEffect(),
        rotEffect(),
        snowEffect(),
        tunnelEffect(),
        tunnel3dEffect(),
        voxelEffect(),
        warpEffect(),
        waterEffect(),
        wobblerEffect(),
        wormholeEffect(),
    };
    return effects;
}

} // namespace vexa::effects
