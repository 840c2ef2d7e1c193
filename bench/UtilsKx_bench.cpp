// Throughput of the text utilities on 1 MiB of text, beside the C library
// routines that bound them: memmem for the search, a plain lower-casing
// compare loop for the case-insensitive search, memcpy for the conversions.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "SysUtils.h"
#include "UtilsKx.h"

namespace {

constexpr size_t TextSize = 1 << 20;
// Its last character occurs nowhere in the text, so the whole text is searched.
const char AbsentPattern[] = "these7";

// Lower-case words of 2 to 10 letters separated by spaces: prose-like
// letter frequencies do not matter, frequent partial matches do.
const AnsiString& Text()
{
    static const AnsiString text = [] {
        std::mt19937 random(1);
        std::uniform_int_distribution<int> letter('a', 'z');
        std::uniform_int_distribution<int> wordLength(2, 10);
        AnsiString s;
        while (s.size() < TextSize) {
            for (int i = wordLength(random); i > 0; --i)
                s += static_cast<char>(letter(random));
            s += ' ';
        }
        s.resize(TextSize);
        return s;
    }();
    return text;
}

void Bytes(benchmark::State& state, size_t size)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

void BM_SearchText_CaseSensitive(benchmark::State& state)
{
    const AnsiString& text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(NUtilsKx::SearchText(AbsentPattern, text.c_str(), true, false));
    Bytes(state, text.size());
}

void BM_memmem(benchmark::State& state)
{
    const AnsiString& text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(memmem(text.data(), text.size(), AbsentPattern, sizeof AbsentPattern - 1));
    Bytes(state, text.size());
}

void BM_SearchText_IgnoreCase(benchmark::State& state)
{
    const AnsiString& text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(NUtilsKx::SearchText(AbsentPattern, text.c_str(), false, false));
    Bytes(state, text.size());
}

int LowerCasingCompareLoop(const char* pattern, const char* text)
{
    for (const char* start = text; *start != '\0'; ++start) {
        size_t i = 0;
        while (pattern[i] != '\0' && start[i] != '\0' && AnsiCharLower(start[i]) == AnsiCharLower(pattern[i]))
            ++i;
        if (pattern[i] == '\0')
            return static_cast<int>(start - text);
    }
    return -1;
}

void BM_LowerCasingCompareLoop(benchmark::State& state)
{
    const AnsiString& text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(LowerCasingCompareLoop(AbsentPattern, text.c_str()));
    Bytes(state, text.size());
}

void BM_WrapText(benchmark::State& state)
{
    AnsiString text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(NUtilsKx::WrapText(text, 80, "\r\n"));
    Bytes(state, text.size());
}

void BM_ConvertToHex(benchmark::State& state)
{
    const AnsiString& data = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(NUtilsKx::ConvertToHex(data.data(), static_cast<int>(data.size())));
    Bytes(state, data.size());
}

// Counted in bytes stored, the same 1 MiB as the other conversions.
void BM_ConvertFromHex(benchmark::State& state)
{
    const AnsiString hex = NUtilsKx::ConvertToHex(Text().data(), static_cast<int>(TextSize));
    AnsiString buffer(TextSize, '\0');
    for (auto _ : state)
        benchmark::DoNotOptimize(NUtilsKx::ConvertFromHex(hex, buffer.data(), static_cast<int>(buffer.size())));
    Bytes(state, TextSize);
}

void BM_memcpy(benchmark::State& state)
{
    const AnsiString& data = Text();
    AnsiString copy(data.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), data.data(), data.size());
        benchmark::ClobberMemory();
    }
    Bytes(state, data.size());
}

} // namespace

BENCHMARK(BM_SearchText_CaseSensitive);
BENCHMARK(BM_memmem);
BENCHMARK(BM_SearchText_IgnoreCase);
BENCHMARK(BM_LowerCasingCompareLoop);
BENCHMARK(BM_WrapText);
BENCHMARK(BM_ConvertToHex);
BENCHMARK(BM_ConvertFromHex);
BENCHMARK(BM_memcpy);

BENCHMARK_MAIN();
