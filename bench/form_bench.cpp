// Reading a form file and freeing what it made, for forms of 1,000 and
// 40,000 components: half of them data-aware edits on the form, half the
// data sources the edits refer to, so names, references, the tab order and
// the owner's list all grow with the form.

#include "host/core/ClassRegistry.h"
#include "host/data/DataSource.h"
#include "host/stream/Reader.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Forms.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace host;

namespace {

std::string FormText(int components) {
    std::string text = "object Big: TForm\n  Left = 0\n  Top = 0\n  ClientWidth = 800\n  ClientHeight = 600\n";
    const int pairs = components / 2;
    for (int i = 0; i < pairs; ++i) {
        const std::string n = std::to_string(i);
        text += "  object Edit" + n + ": TDBEdit\n    Left = " + std::to_string(i % 700) + "\n    Top = " +
                std::to_string(i % 500) + "\n    Width = 100\n    Height = 21\n    DataField = 'F" + n +
                "'\n    DataSource = Source" + n + "\n    TabOrder = " + std::to_string(pairs - 1 - i) + "\n  end\n";
    }
    for (int i = 0; i < pairs; ++i) {
        const std::string n = std::to_string(i);
        text += "  object Source" + n + ": TDataSource\n    Left = " + std::to_string(i % 700) + "\n    Top = " +
                std::to_string(i % 500) + "\n  end\n";
    }
    return text + "end\n";
}

void Register() { RegisterClasses({&TForm::ClassInfo(), &TDBEdit::ClassInfo(), &TDataSource::ClassInfo()}); }

void BM_ReadForm(benchmark::State& state) {
    Register();
    const std::string text = FormText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TComponent* form = CreateComponentFromText(text);
        state.PauseTiming();
        form->Free();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadForm)->Arg(1000)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_FreeForm(benchmark::State& state) {
    Register();
    const std::string text = FormText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        TComponent* form = CreateComponentFromText(text);
        state.ResumeTiming();
        form->Free();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FreeForm)->Arg(1000)->Arg(40000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
