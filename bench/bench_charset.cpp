// Encoding a page in its declared set: a long tag in a set that lacks most of its
// characters must stay linear in the length of the page.
#include "io/CharsetEncoder.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

void encode(benchmark::State &state, const char *charset, const QString &text)
{
    const vexa::CharsetEncoder encoder{QLatin1String(charset)};
    for (auto _ : state)
        benchmark::DoNotOptimize(encoder.encode(text));
    state.SetItemsProcessed(state.iterations() * text.size());
}

// Every character lacks a byte: one reference each.
void BM_AllReferences(benchmark::State &state, const char *charset)
{
    encode(state, charset, QString(int(state.range(0)), QChar(0xE9)));
}

// A menu in its own script with a few foreign words.
void BM_Mixed(benchmark::State &state, const char *charset)
{
    encode(
        state, charset,
        QString::fromUtf8("<param name=\"menu\" value=\"Жук Café\">\r\n").repeated(int(state.range(0)) / 40));
}

} // namespace

BENCHMARK_CAPTURE(BM_AllReferences, windows1251, "windows-1251")->Arg(1000)->Arg(100000);
BENCHMARK_CAPTURE(BM_AllReferences, iso2022jp, "iso-2022-jp")->Arg(1000)->Arg(100000);
BENCHMARK_CAPTURE(BM_AllReferences, ascii, "")->Arg(100000);
BENCHMARK_CAPTURE(BM_Mixed, windows1251, "windows-1251")->Arg(100000);
BENCHMARK_CAPTURE(BM_Mixed, latin1, "iso-8859-1")->Arg(100000);
BENCHMARK_CAPTURE(BM_Mixed, sjis, "x-sjis")->Arg(100000);

BENCHMARK_MAIN();
