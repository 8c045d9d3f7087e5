// Stored form definitions read from module resources into constructed
// instances, ancestor first.

#include "StreamClasses.h"

#include "host/core/InitComponent.h"
#include "host/core/Publisher.h"
#include "host/core/StreamErrors.h"
#include "host/package/Resource.h"
#include "host/stream/FormResources.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace host;
using namespace streamtest;

namespace {

class TStoredPanel : public TProbeForm {
    HOST_CLASS(TStoredPanel, TProbeForm)
protected:
    explicit TStoredPanel(TComponent* owner) : TProbeForm(owner) {}
};
HOST_IMPLEMENT_COMPONENT(TStoredPanel, TProbeForm)

class TStoredPanel2 : public TStoredPanel {
    HOST_CLASS(TStoredPanel2, TStoredPanel)
protected:
    explicit TStoredPanel2(TComponent* owner) : TStoredPanel(owner) {}
};
HOST_IMPLEMENT_COMPONENT(TStoredPanel2, TStoredPanel)

const char BaseText[] = "object StoredPanel: TStoredPanel\n"
                        "  Caption = 'base'\n"
                        "  Width = 200\n"
                        "  object Edit1: TEdit\n"
                        "    Text = 'from base'\n"
                        "  end\n"
                        "end\n";
const char DerivedText[] = "inherited StoredPanel2: TStoredPanel2\n"
                           "  Caption = 'derived'\n"
                           "  inherited Edit1: TEdit\n"
                           "    Text = 'from derived'\n"
                           "  end\n"
                           "  object Probe: TProbe\n"
                           "    OnChange = GridDblClick\n"
                           "  end\n"
                           "end\n";

// A data module class with a definition that binds its own events.
class TStoredModule : public TDataModule {
    HOST_CLASS(TStoredModule, TDataModule)
    static void DeclarePublished(TPublisher& publisher) {
        auto p = publisher.Of<TStoredModule>();
        p.Method("ModuleCreate", &TStoredModule::ModuleCreate);
        p.Method("ModuleDestroy", &TStoredModule::ModuleDestroy);
    }
public:
    static std::vector<std::string>* Steps;
    void ModuleCreate(TObject*) {
        Steps->push_back("OnCreate " + std::to_string(ComponentCount()) + " loaded " +
                         std::to_string(LoadedLog().size()));
    }
    void ModuleDestroy(TObject*) { Steps->push_back("OnDestroy " + std::to_string(ComponentCount())); }

protected:
    explicit TStoredModule(TComponent* owner) : TDataModule(owner) {}
};
std::vector<std::string>* TStoredModule::Steps = nullptr;
HOST_IMPLEMENT_COMPONENT(TStoredModule, TDataModule)

class TUnstoredModule : public TDataModule {
    HOST_CLASS(TUnstoredModule, TDataModule)
protected:
    explicit TUnstoredModule(TComponent* owner) : TDataModule(owner) {}
};
HOST_IMPLEMENT_COMPONENT(TUnstoredModule, TDataModule)

const char ModuleText[] = "object StoredModule: TStoredModule\n"
                          "  OnCreate = ModuleCreate\n"
                          "  OnDestroy = ModuleDestroy\n"
                          "  object Probe: TProbe\n"
                          "  end\n"
                          "end\n";

const unsigned char* Bytes(const char* text) { return reinterpret_cast<const unsigned char*>(text); }

const TResourceRegistration BaseForm("", "TSTOREDPANEL", rtRCData, Bytes(BaseText), std::strlen(BaseText));
const TResourceRegistration StoredModule("", "TSTOREDMODULE", rtRCData, Bytes(ModuleText), std::strlen(ModuleText));
const TResourceRegistration DerivedForm("", "TStoredPanel2", rtRCData, Bytes(DerivedText), std::strlen(DerivedText));

class FormResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterStreamTestClasses();
        LoadedLog().clear();
    }
};

} // namespace

TEST_F(FormResourcesTest, ReadsEachClassDefinitionFromTheAncestorDown) {
    Owned<TStoredPanel2> panel(TStoredPanel2::Create(nullptr));
    EXPECT_TRUE(InitInheritedComponent(panel.get(), TProbeForm::ClassInfo()));
    EXPECT_EQ(panel->Name(), "StoredPanel2");
    EXPECT_EQ(panel->Caption(), "derived");
    EXPECT_EQ(panel->Width(), 200);
    ASSERT_NE(panel->Edit1, nullptr);
    EXPECT_EQ(panel->Edit1->Text(), "from derived");
    ASSERT_NE(panel->Probe, nullptr);
    EXPECT_EQ(panel->Probe->ChangeAtLoaded, "GridDblClick");
    EXPECT_EQ(panel->ComponentCount(), 2);
    EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"StoredPanel2", "Probe"}));

    // The base class alone reads its own definition.
    Owned<TStoredPanel> base(TStoredPanel::Create(nullptr));
    EXPECT_TRUE(InitInheritedComponent(base.get(), TProbeForm::ClassInfo()));
    EXPECT_EQ(base->Caption(), "base");
    EXPECT_EQ(base->Edit1->Text(), "from base");
}

TEST_F(FormResourcesTest, AnswersFalseWhenNoClassHasADefinition) {
    Owned<TProbeForm> form(TProbeForm::Create(nullptr));
    EXPECT_FALSE(InitInheritedComponent(form.get(), TWinControl::ClassInfo()));
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_TRUE(LoadedLog().empty());
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
}

TEST_F(FormResourcesTest, ReadComponentResRaisesForAMissingResource) {
    Owned<TStoredPanel> panel(TStoredPanel::Create(nullptr));
    EXPECT_EQ(ReadComponentRes("tstoredpanel", panel.get()), panel.get());
    EXPECT_EQ(panel->Caption(), "base");
    try {
        ReadComponentRes("NOPE", panel.get());
        FAIL() << "a missing definition was read";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource NOPE not found");
    }
    // A descendant's definition needs what its ancestor's made.
    Owned<TStoredPanel2> lone(TStoredPanel2::Create(nullptr));
    EXPECT_THROW(InitInheritedComponent(lone.get(), TStoredPanel::ClassInfo()), EParserError);
    EXPECT_EQ(lone->ComponentCount(), 0);
}

TEST_F(FormResourcesTest, ADataModuleFiresOnCreateAfterItsDefinitionAndOnDestroyBeforeItsComponentsGo) {
    std::vector<std::string> steps;
    TStoredModule::Steps = &steps;
    TComponent* module = ClassOf<TStoredModule>().Create(nullptr);
    EXPECT_EQ(module->Name(), "StoredModule");
    EXPECT_EQ(static_cast<TStoredModule*>(module)->OnCreate.MethodName(), "ModuleCreate");
    module->Free();
    TStoredModule::Steps = nullptr;
    EXPECT_EQ(steps, (std::vector<std::string>{"OnCreate 1 loaded 1", "OnDestroy 1"}));

    // A class below TDataModule must have a definition; the plain class needs none.
    EXPECT_THROW(TUnstoredModule::Create(nullptr), EResNotFound);
    Owned<TDataModule> plain(TDataModule::Create(nullptr));
    EXPECT_EQ(plain->ComponentCount(), 0);
}
