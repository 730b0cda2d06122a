#include "graintable.h"
#include "memoryfieldstore.h"
#include "numberreading.h"
#include "recalculate.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace {

// The most an edit field holds.
constexpr std::size_t longestText = 32767;

// A mix as a user types it: every grain, amounts of different sizes and forms.
constexpr std::array<std::string_view, grainCount> everyGrain = {
    "12",  "3.5", "0.25", "7",   "1.75", "20",   "2",  "4.5",  "0.5",
    "1",   "3",   "6",    "2.5", "8",    "15",   "10", "0.75", "5",
    "1.5", "0.3", "2.25", "9",   "4",    "3.25", "11", "6.5",  "0.125",
};

// A valid number as long as a field allows, in three shapes taken in turn:
// the readings must walk every character of each before the run can go on.
std::string longAmount(std::size_t row) {
    std::string text;
    switch (row % 3) {
    case 0: // digits after the point, all of them significant
        text = std::to_string(row + 1) + ".";
        while (text.size() < longestText)
            text += static_cast<char>('0' + (text.size() * 7 + row) % 10);
        break;
    case 1: // blanks around a short number
        text = std::string(longestText / 2, ' ') + std::to_string(row + 1) + ".5";
        text.append(longestText - text.size(), ' ');
        break;
    default: // a long run of zeros undone by the exponent
        text = std::to_string(row + 1);
        text.append(longestText - text.size() - 7, '0');
        text += "e-32759";
        break;
    }
    return text;
}

void recalculateEveryGrain(benchmark::State& state) {
    MemoryFieldStore store;
    for (std::size_t i = 0; i < grainCount; ++i)
        store.writeField(grainTable[i].field, everyGrain[i]);
    for (auto _ : state) {
        recalculate(store);
        benchmark::DoNotOptimize(store);
    }
    if (!store.messages().empty() || store.readField(FieldId::Fat) == "0")
        state.SkipWithError("the mix did not run to the end");
}
BENCHMARK(recalculateEveryGrain);

void recalculateLongestTexts(benchmark::State& state) {
    MemoryFieldStore store;
    for (std::size_t i = 0; i < grainCount; ++i)
        store.writeField(grainTable[i].field, longAmount(i));
    for (auto _ : state) {
        recalculate(store);
        benchmark::DoNotOptimize(store);
    }
    if (!store.messages().empty() || store.readField(FieldId::Fat) == "0")
        state.SkipWithError("the mix did not run to the end");
}
BENCHMARK(recalculateLongestTexts)->Unit(benchmark::kMicrosecond);

void readStrictText(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        const Reading r = readStrict(text);
        benchmark::DoNotOptimize(r);
    }
    if (!readStrict(text).ok())
        state.SkipWithError("the text did not read");
}

void readLenientText(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        const Reading r = readLenient(text);
        benchmark::DoNotOptimize(r);
    }
    if (!readLenient(text).ok())
        state.SkipWithError("the text did not read");
}

const std::string shortText = " 12.75";
const std::string longText = longAmount(0);

BENCHMARK_CAPTURE(readStrictText, short, shortText);
BENCHMARK_CAPTURE(readLenientText, short, shortText);
BENCHMARK_CAPTURE(readStrictText, longest, longText)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(readLenientText, longest, longText)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
