// Each effect's frame against the floor of any full-frame effect: one plain pass that writes
// every pixel of the frame once. Goal: a frame costs at most 8 times the floor.
#include "Animation.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

using namespace vexa::effects;

namespace {

AppletTag tagOf(const EffectInfo &info, int width, int height)
{
    AppletTag tag;
    tag.code = info.className;
    tag.width = width;
    tag.height = height;
    for (const ParamRow &row : info.params) tag.params.set(row.name, row.fallback);
    return tag;
}

Picture bands(int width, int height)
{
    Picture picture{width, height, std::vector<std::uint8_t>(std::size_t(width) * std::size_t(height) * 4)};
    for (std::size_t i = 0; i < picture.rgba.size(); ++i) picture.rgba[i] = std::uint8_t(i * 7);
    return picture;
}

// Frames in order, as the player and the live preview ask for them.
void Frame(benchmark::State &state, const EffectInfo *info)
{
    const AppletTag tag = tagOf(*info, int(state.range(0)), int(state.range(1)));
    Animation animation;
    Animation::Pictures pictures;
    for (const auto &[name, file] : Animation::pictureFiles(tag)) pictures.emplace_back(name, bands(320, 200));
    animation.open(tag, pictures);
    std::uint32_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(animation.frame(n++));
}

// The floor: every pixel written once from a value that changes per pixel and frame.
void Floor(benchmark::State &state)
{
    std::vector<std::uint8_t> frame(std::size_t(state.range(0) * state.range(1) * 4));
    std::uint32_t n = 0;
    for (auto _ : state) {
        std::uint32_t *pixel = reinterpret_cast<std::uint32_t *>(frame.data());
        const std::size_t count = frame.size() / 4;
        for (std::size_t i = 0; i < count; ++i) pixel[i] = std::uint32_t(i * 2654435761u + n) | 0xFF000000u;
        benchmark::DoNotOptimize(frame.data());
        ++n;
    }
}

const int Registered = [] {
    benchmark::RegisterBenchmark("Floor", Floor)->Args({320, 200})->Args({640, 480});
    for (const EffectInfo &info : registry())
        benchmark::RegisterBenchmark(info.appletId, Frame, &info)->Args({320, 200})->Args({640, 480});
    return 0;
}();

} // namespace

BENCHMARK_MAIN();
