// Hot paths of the framework model under the lookup components: a message
// through a window procedure the subclass registry hooks, capturing the
// controls of a large form, and reading a large form file. Each figure is
// set beside a baseline measured in the same run.

#include "BenchRatio.h"

#include "host/brindle/Usubcls.h"
#include "host/core/ClassRegistry.h"
#include "host/core/List.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/stream/Reader.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/StdCtrls.h"
#include "lookup/Ldlkpdlg.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

using namespace host;
using namespace veskar;

namespace {

// A subclass that looks at every message and changes nothing.
class TPassingSubclass : public TControlSubclass {
    HOST_CLASS(TPassingSubclass, TControlSubclass)
public:
    long Seen = 0;
    void BeforeWndProc(TMessage&) override { ++Seen; }
    void AfterWndProc(TMessage&) override { ++Seen; }

protected:
    TPassingSubclass() = default;
};

} // namespace
HOST_IMPLEMENT_CLASS(TPassingSubclass, TControlSubclass)
namespace {

// P3: one message through an edit with one subclass registered, beside the
// same message through an edit without: a message nothing handles (the
// bare cost of the hook), and a key released, which the edit handles. The
// two edits take turns batch by batch, so that both sides of each pair see
// the same machine, and the ratio is the median of the pairs' ratios. An
// iteration is one pair of batches; the counters are per message.
void BM_HookedMessage(benchmark::State& state) {
    Owned<TForm> form(TForm::Create(nullptr));
    TEdit* plain = TEdit::Create(form.get());
    plain->SetParent(form.get());
    TEdit* hooked = TEdit::Create(form.get());
    hooked->SetParent(form.get());
    Owned<TPassingSubclass> subclass(TPassingSubclass::Create());
    RegisterSubclass(hooked, subclass.get());
    const auto message = static_cast<unsigned>(state.range(0));
    constexpr int kBatch = 1000;
    auto batchSeconds = [&](TEdit* edit) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kBatch; ++i) edit->Perform(message, 'A');
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::vector<double> ratios, plainTimes, hookedTimes;
    for (auto _ : state) {
        const double plainTime = batchSeconds(plain);
        const double hookedTime = batchSeconds(hooked);
        plainTimes.push_back(plainTime / kBatch);
        hookedTimes.push_back(hookedTime / kBatch);
        ratios.push_back(hookedTime / plainTime);
    }
    state.counters["hooked_ns"] = bench::Median(hookedTimes) * 1e9;
    state.counters["baseline_ns"] = bench::Median(plainTimes) * 1e9;
    state.counters["ratio"] = bench::Median(ratios);
    if (subclass->Seen == 0) state.SkipWithError("the subclass saw nothing");
    UnRegisterSubclass(hooked, subclass.get());
}
BENCHMARK(BM_HookedMessage)->Arg(WM_NULL)->Arg(WM_KEYUP)->Unit(benchmark::kMicrosecond);

// A form of Total controls: panels in panels, data-aware edits (every other
// one on the dialog's key field) and grids.
struct CaptureWorld {
    Owned<TForm> Form{TForm::Create(nullptr)};
    TLookupDialog* Dialog = nullptr;
    int Controls = 0;

    explicit CaptureWorld(int total) {
        TMemoryDataSet* orders = Table("OrderNo");
        TDataSource* source = TDataSource::Create(Form.get());
        source->SetDataSet(orders);
        TDataSource* lookup = TDataSource::Create(Form.get());
        lookup->SetDataSet(Table("CustNo"));
        while (Controls < total) {
            TPanel* outer = Add<TPanel>(Form.get());
            for (int p = 0; p < 9 && Controls < total; ++p) {
                TPanel* inner = Add<TPanel>(outer);
                for (int c = 0; c < 55 && Controls < total; ++c) {
                    if (c % 11 == 10) {
                        Add<TDBGrid>(inner)->SetDataSource(source);
                    } else {
                        TDBEdit* edit = Add<TDBEdit>(inner);
                        edit->SetDataSource(source);
                        edit->SetDataField(c % 2 ? "CustNo" : "Note");
                    }
                }
            }
        }
        Dialog = TLookupDialog::Create(Form.get());
        Dialog->KeyFields()->SetCommaText("CustNo");
        Dialog->LookupKeyFields()->SetCommaText("CustNo");
        Dialog->SetDataSource(source);
        Dialog->SetLookupDataSource(lookup);
    }
    TMemoryDataSet* Table(const char* first) {
        TMemoryDataSet* table = TMemoryDataSet::Create(Form.get());
        table->FieldDefs().Add(first, ftInteger);
        table->FieldDefs().Add("Note", ftString, 20);
        if (first != std::string("CustNo")) table->FieldDefs().Add("CustNo", ftInteger);
        table->Open();
        table->AppendRecord({1, "x"});
        return table;
    }
    template <class T>
    T* Add(TWinControl* parent) {
        T* control = T::Create(Form.get());
        control->SetParent(parent);
        ++Controls;
        return control;
    }
};

// P4: CaptureControls over the whole form, beside the bare walk of the same
// controls that it starts with.
void BM_CaptureControls(benchmark::State& state) {
    CaptureWorld world(static_cast<int>(state.range(0)));
    Owned<TList> all(TList::Create());
    const double walk = bench::MedianMicros(5, [&] {
        GetAllControlsInAList(world.Form.get(), all.get(), [](TWinControl*) { return true; });
    });
    bench::TLoopClock clock;
    for (auto _ : state) world.Dialog->CaptureControls();
    clock.Report(state, walk, false);
    state.counters["captured"] = world.Dialog->ControlsList()->Count();
    state.counters["controls"] = all->Count();
}
BENCHMARK(BM_CaptureControls)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A form file of Count components: panels of nine edits each.
std::string FormText(int count) {
    std::string text = "object BigForm: TForm\n  Left = 0\n  Top = 0\n  Caption = 'Big'\n";
    int made = 0;
    for (int p = 0; made < count; ++p) {
        const std::string n = std::to_string(p);
        text += "  object Panel" + n + ": TPanel\n    Left = 8\n    Top = " + std::to_string(8 + p * 30) +
                "\n    Width = 600\n    Height = 28\n";
        ++made;
        for (int e = 0; e < 9 && made < count; ++e, ++made) {
            const std::string m = n + "_" + std::to_string(e);
            text += "    object Edit" + m + ": TEdit\n      Left = " + std::to_string(4 + e * 64) +
                    "\n      Top = 2\n      Width = 60\n      Height = 21\n      Text = 'Edit " + m + "'\n    end\n";
        }
        text += "  end\n";
    }
    return text + "end\n";
}

void ReadForm(const std::string& text) {
    Owned<TForm> form(TForm::Create(nullptr));
    ReadComponentText(form.get(), text);
    benchmark::DoNotOptimize(form->ComponentCount());
}

// P5: reading a form file of 1,000 components into a form, beside ten
// times the reading of one of 100 (so that the ratio shows how far from
// linear the reading is).
void BM_ReadFormFile(benchmark::State& state) {
    RegisterClasses({&TPanel::ClassInfo(), &TEdit::ClassInfo()});
    const int count = static_cast<int>(state.range(0));
    const std::string small = FormText(count / 10);
    const double tenSmall = 10 * bench::MedianMicros(5, [&] { ReadForm(small); });
    const std::string text = FormText(count);
    bench::TLoopClock clock;
    for (auto _ : state) ReadForm(text);
    clock.Report(state, tenSmall, false);
}
BENCHMARK(BM_ReadFormFile)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
