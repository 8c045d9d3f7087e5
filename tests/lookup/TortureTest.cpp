// Components freed in orders nobody plans: an order form with a smart lookup,
// its sources and tables, data-aware edits, a grid and a button. Every
// participant is freed one at a time in thousands of seeded random orders,
// and from inside a click, a key, a data-change notice, a removal notice and
// the lookup form's modal run. The sanitizers catch any use of what was
// freed; after each free, what survives must still work: the fill still
// fills and the lookup still runs while its parts remain.

#include "host/core/ComponentRef.h"
#include "host/ui/Grids.h"
#include "host/ui/Mouse.h"
#include "host/ui/StdCtrls.h"
#include "lookup/Lddlg.h"
#include "tests/lookup/SmartFixture.h"

#include <algorithm>
#include <functional>
#include <random>

namespace smart {
namespace {

// Hears of the end of the component it watches and runs OnEnd right then.
class TRemovalHook : public TComponent {
    HOST_CLASS(TRemovalHook, TComponent)
public:
    std::function<void()> OnEnd;

protected:
    explicit TRemovalHook(TComponent* owner) : TComponent(owner) {}
    void Notification(TComponent* component, TOperation operation) override {
        inherited::Notification(component, operation);
        if (operation == opRemove && OnEnd) std::exchange(OnEnd, nullptr)();
    }
};
HOST_IMPLEMENT_COMPONENT(TRemovalHook, TComponent)

const Names Participants = {"Orders",   "Customers", "OrdersSource", "CustomersSource", "CustEdit",
                            "ShipEdit", "Grid",      "Button",       "CustomerLookup"};
// What the lookup needs to fill and to run.
const Names LookupParts = {"Orders", "Customers", "OrdersSource", "CustomersSource", "CustomerLookup"};

class TortureTest : public SmartTest {
protected:
    void SetUp() override {
        SmartTest::SetUp();
        BuildScene();
    }
    void Rebuild() {
        TearDown();
        SmartTest::SetUp();
        BuildScene();
    }
    void BuildScene() {
        MakeEdit("CustEdit", "CustNo");
        MakeEdit("ShipEdit", "ShipTo");
        TDBGrid* grid = TDBGrid::Create(Form);
        grid->SetName("Grid");
        grid->SetParent(Form);
        grid->SetBounds(10, 200, 400, 150);
        grid->SetDataSource(OrdersSource);
        TButton* button = TButton::Create(Form);
        button->SetName("Button");
        button->SetParent(Form);
        button->SetBounds(450, 10, 75, 25);
        ActiveSmart();
        Form->Show();
    }

    TComponent* Find(const std::string& name) const { return Form->FindComponent(name); }
    bool Alive(const Names& names) const {
        return std::all_of(names.begin(), names.end(), [&](const std::string& n) { return Find(n) != nullptr; });
    }
    void FreeNamed(const std::string& name) { Free(Find(name)); }

    // Errors of a configuration the frees left incomplete are allowed; what
    // must hold is checked by the caller.
    template <class F>
    static void Tolerant(F&& f) {
        try {
            f();
        } catch (const Exception&) {
        }
    }

    // The fill fills while its parts remain.
    void CheckFill() {
        if (!Alive({"Orders"})) return;
        Tolerant([&] {
            Orders->Cancel();
            Orders->Edit();
            Orders->FieldByName("CustNo")->SetValue("CD200");
        });
        if (Alive(LookupParts)) {
            EXPECT_EQ(Text(Orders, "ShipTo"), "Cedar Works");
        }
        Tolerant([&] { Orders->Cancel(); });
    }

    // The lookup runs from the customer edit while its parts remain: OK on
    // the last customer copies its number.
    void CheckRun() {
        auto* edit = As<TDBEdit>(Find("CustEdit"));
        if (!edit) return;
        Tolerant([&] { edit->SetFocus(); });
        bool ran = false;
        Ui()->QueueModalAnswer([&](TCustomForm* form) {
            ran = true;
            if (Alive({"Customers"})) Customers->Last();
            Mouse().Click(As<TDefaultLookupForm>(form)->bOk);
        });
        Tolerant([&] { Keyboard().Press(VK_F1, TShiftState{ssCtrl}); });
        Ui()->ClearModalAnswers();
        Runs += ran;
        if (Alive(LookupParts)) {
            EXPECT_TRUE(ran) << "the lookup did not run with all its parts";
            EXPECT_EQ(Text(Orders, "CustNo"), "CE300");
        }
        Tolerant([&] { if (Alive({"Orders"})) Orders->Cancel(); });
        FocusManager().SetFocus(nullptr);
    }

    int Runs = 0;

    void CheckSurvivors() {
        CheckFill();
        CheckRun();
        Ui()->ClearShown();
    }
};

TEST_F(TortureTest, FreeingEveryParticipantInRandomOrdersLeavesTheRestWorking) {
    std::mt19937 random(20261208);
    Names order = Participants;
    for (int round = 0; round < 1500; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        // Most rounds free everything; some stop early so the form's own end
        // frees the rest.
        const std::size_t upTo = round % 4 == 3 ? order.size() / 2 : order.size();
        for (std::size_t i = 0; i < upTo; ++i) {
            FreeNamed(order[i]);
            ASSERT_EQ(Find(order[i]), nullptr);
            if (round % 10 == 0) CheckSurvivors();
        }
        CheckSurvivors();
        Rebuild();
    }
    EXPECT_GT(Runs, 40) << "the lookup ran in the rounds that kept its parts";
}

TEST_F(TortureTest, FreeingFromInsideTheLookupFormsModalRun) {
    Names victims = Participants;
    victims.push_back("the lookup form");
    for (const std::string& victim : victims) {
        SCOPED_TRACE(victim);
        auto* edit = As<TDBEdit>(Find("CustEdit"));
        edit->SetFocus();
        bool answered = false;
        Ui()->QueueModalAnswer([&](TCustomForm* form) {
            answered = true;
            TComponentRef<TCustomForm> lookupForm(form);
            if (victim == "the lookup form")
                Free(form);
            else
                FreeNamed(victim);
            if (lookupForm) Mouse().Click(As<TDefaultLookupForm>(lookupForm.Get())->bOk);
        });
        Tolerant([&] { Keyboard().Press(VK_F1, TShiftState{ssCtrl}); });
        EXPECT_TRUE(answered);
        Ui()->ClearModalAnswers();
        CheckSurvivors();
        Rebuild();
    }
}

TEST_F(TortureTest, FreeingFromInsideAClickAKeyAndANotice) {
    using TTrigger = std::function<void(const std::string& victim)>;
    const std::vector<std::pair<const char*, TTrigger>> triggers = {
        {"click", [&](const std::string& victim) {
             auto* button = As<TButton>(Find("Button"));
             button->OnClick = [&, victim](TObject*) { FreeNamed(victim); };
             Mouse().Click(button);
         }},
        {"key", [&](const std::string& victim) {
             auto* edit = As<TDBEdit>(Find("ShipEdit"));
             edit->SetFocus();
             edit->OnKeyDown = [&, victim](TObject*, std::uint16_t&, TShiftState) { FreeNamed(victim); };
             Keyboard().Press('A');
         }},
        {"data change", [&](const std::string& victim) {
             bool once = false;
             OrdersSource->OnDataChange = [&, victim, once](TObject*, TField*) mutable {
                 if (!std::exchange(once, true)) FreeNamed(victim);
             };
             Orders->Edit();
             // The notice of the edit itself may have freed the table.
             if (Alive({"Orders"})) Orders->FieldByName("CustNo")->SetValue("AB100");
         }},
        {"removal", [&](const std::string& victim) {
             TRemovalHook* hook = TRemovalHook::Create(Form);
             TComponent* spare = TComponent::Create(Form);
             spare->FreeNotification(hook);
             hook->OnEnd = [&, victim] { FreeNamed(victim); };
             Free(spare);
         }},
    };
    for (const auto& [what, trigger] : triggers) {
        for (const std::string& victim : Participants) {
            SCOPED_TRACE(std::string(what) + " frees " + victim);
            Tolerant([&] { trigger(victim); });
            EXPECT_EQ(Find(victim), nullptr);
            CheckSurvivors();
            Rebuild();
        }
    }
}

} // namespace
} // namespace smart
