// Text kit: decoding for display, encoding typed text, width conversions.
#include "components/core/japanese_text.h"

#include <benchmark/benchmark.h>

static void BM_DecodeRecordValue(benchmark::State& state)
{
    const SjisString value = sj("東京都千代田区千代田１－１　サンプルマンション１０１号");
    for (auto _ : state)
        benchmark::DoNotOptimize(sjis::decode(value));
}
BENCHMARK(BM_DecodeRecordValue);

static void BM_EncodeTypedText(benchmark::State& state)
{
    const QString typed = QString::fromUtf8("東京都千代田区千代田１－１　サンプルマンション１０１号");
    for (auto _ : state)
        benchmark::DoNotOptimize(sjis::encode(typed));
}
BENCHMARK(BM_EncodeTypedText);

static void BM_ChangeChar(benchmark::State& state)
{
    for (auto _ : state) {
        SjisString code = "ABC-12345 ";
        ChangeChar(code);
        benchmark::DoNotOptimize(code);
    }
}
BENCHMARK(BM_ChangeChar);

static void BM_ToHiragana(benchmark::State& state)
{
    const SjisString reading = sj("ﾔﾏﾀﾞ ﾀﾛｳ ｺｰﾋｰｼｮｯﾌﾟ");
    for (auto _ : state) {
        SjisString s = reading;
        ToHiragana(s);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_ToHiragana);
