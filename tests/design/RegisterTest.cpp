// The package and the designer: what Register puts where, and that an
// application loading the package registers nothing.
#include "tests/design/DesignFixture.h"

#include "host/core/ClassRegistry.h"
#include "host/core/TypInfo.h"
#include "host/designer/DesignIntf.h"
#include "host/package/Package.h"
#include "host/ui/Graphics.h"
#include "lookup/Package.h"

namespace designtest {
namespace {

class RegisterTest : public ::testing::Test {
protected:
    void SetUp() override { ClearRegistrations(); }
    void TearDown() override { ClearRegistrations(); }
};

std::string EditorOf(const TClass& cls, const char* property) {
    const TPropInfo* prop = GetPropInfo(cls, property);
    return prop ? GetPropertyEditorClass(cls, *prop).ClassName() : "(no property)";
}

TEST_F(RegisterTest, AnApplicationLoadingThePackageRegistersNothing) {
    const HMODULE module = LoadPackage(VESKAR_PACKAGE_FILE);
    EXPECT_TRUE(PalettePages().empty());
    EXPECT_EQ(RegisteredPropertyEditorCount(), 0);
    EXPECT_EQ(RegisteredComponentEditorCount(), 0);
    EXPECT_EQ(GetComponentEditorClass(TLookupFill::ClassInfo()).ClassName(), "TDefaultEditor");
    UnloadPackage(module);
}

TEST_F(RegisterTest, TheDesignerLoadsThePackageAndCallsEachUnitsRegister) {
    // By name, as the designer finds packages; the run-time package it
    // requires comes with it and registers the components.
    const HMODULE module = LoadDesignPackage("VeskarDesign");
    EXPECT_EQ(ModuleName(module), "VeskarDesign");
    const HMODULE runtime = FindModule("Veskar");
    EXPECT_EQ(PackageLoadCount(runtime), 1);
    ASSERT_EQ(PalettePages().size(), 1u);
    const TPalettePage& page = PalettePages()[0];
    EXPECT_EQ(page.Name, "Dravik");
    ASSERT_EQ(page.Items.size(), 3u);
    EXPECT_EQ(page.Items[0].Class, &ClassOf<TLookupDialog>());
    EXPECT_EQ(page.Items[1].Class, &ClassOf<TLookupFill>());
    EXPECT_EQ(page.Items[2].Class, &ClassOf<TSmartDBLookup>());
    for (const TPaletteItem& item : page.Items) {
        EXPECT_EQ(item.Module, runtime);
        Owned<TBitmap> image(TBitmap::Create());
        LoadPaletteBitmap(item, image.get());
        EXPECT_EQ(image->Width(), 24) << item.Class->ClassName();
        EXPECT_EQ(image->Height(), 24);
    }
    EXPECT_EQ(RegisteredComponentEditorCount(), 3);
    EXPECT_EQ(RegisteredPropertyEditorCount(), 10);
    EXPECT_NE(GetClass("TSmartDBLookup"), nullptr);

    // Unloading forgets all of it, so nothing refers into a closed library.
    UnloadDesignPackage(module);
    EXPECT_TRUE(PalettePages().empty());
    EXPECT_EQ(RegisteredComponentEditorCount(), 0);
    EXPECT_EQ(RegisteredPropertyEditorCount(), 0);
    EXPECT_EQ(GetClass("TSmartDBLookup"), nullptr);
    EXPECT_EQ(PackageLoadCount(module), 0);
    EXPECT_EQ(PackageLoadCount(runtime), 0);
}

TEST_F(RegisterTest, TheThirteenCallsGiveEachPropertyItsEditor) {
    Lddsgn::Register();
    EXPECT_EQ(GetComponentEditorClass(TLookupDialog::ClassInfo()).ClassName(), "TLDialogEditor");
    EXPECT_EQ(GetComponentEditorClass(TLookupFill::ClassInfo()).ClassName(), "TLFillEditor");
    EXPECT_EQ(GetComponentEditorClass(TSmartDBLookup::ClassInfo()).ClassName(), "TSDBLEditor");
    for (const char* p : {"KeyFields", "LookupKeyFields"})
        EXPECT_EQ(EditorOf(TLookupDialog::ClassInfo(), p), "TConnPropEditor") << p;
    for (const char* p : {"KeyFields", "LookupKeyFields", "ResultFields", "LookupResultFields"})
        EXPECT_EQ(EditorOf(TLookupFill::ClassInfo(), p), "TConnPropEditor") << p;
    for (const char* p : {"ConnectionKey", "ConnectionResult"})
        EXPECT_EQ(EditorOf(TSmartDBLookup::ClassInfo(), p), "TConnPropEditor") << p;
    EXPECT_EQ(EditorOf(TLookupDialog::ClassInfo(), "LookupShortCut"), "TShortCutProperty");
    EXPECT_EQ(EditorOf(TSmartDBLookup::ClassInfo(), "LookupShortCut"), "TShortCutProperty");
    // Everything else keeps the editor of its kind.
    EXPECT_EQ(EditorOf(TSmartDBLookup::ClassInfo(), "Name"), "TStringProperty");
    EXPECT_EQ(EditorOf(TLookupFill::ClassInfo(), "DataSource"), "TComponentProperty");
    EXPECT_EQ(EditorOf(TForm::ClassInfo(), "Caption"), "TStringProperty");
}

} // namespace
} // namespace designtest
