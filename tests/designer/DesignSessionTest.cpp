// A whole design session through the designer's own window: the palette,
// clicks on the form, typing in the object inspector, value lists, a
// component editor's verb with the key link dialog, moving, resizing,
// deleting, saving with Ctrl+S and closing. The saved form then runs.

#include "tests/designer/DesignerFixture.h"

#include "design/Lddsgn.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "host/stream/Reader.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"

namespace designertest {
namespace {

using veskar::TKeyLinkDlg;

class DesignSessionTest : public DesignerTest {
protected:
    void SetUp() override {
        DesignerTest::SetUp();
        Database = PathOf("orders.db");
        Owned<TSQLiteConnection> db(TSQLiteConnection::Create(nullptr));
        db->SetDatabaseName(Database);
        db->Open();
        db->ExecuteDirect(
            "CREATE TABLE customer (CustNo INTEGER PRIMARY KEY, Company VARCHAR(30));"
            "INSERT INTO customer VALUES (1221, 'Kauai Dive Shoppe'), (1231, 'Unisco');"
            "CREATE TABLE orders (OrderNo INTEGER PRIMARY KEY, CustNo INTEGER, ShipTo VARCHAR(30));"
            "INSERT INTO orders VALUES (1001, NULL, NULL)");
        FormFile = PathOf("OrderForm.form");
        WriteFile(FormFile, "object OrderForm: TForm\n  Caption = 'Orders'\n  ClientHeight = 280\n  ClientWidth = 400\nend\n");
    }

    // A table on the connection, opened, and a data source over it.
    void PlaceTable(const std::string& table, int row) {
        TComponent* t = Place("TSQLTable", 8, row * 14);
        PickValue("Connection", "SQLiteConnection1");
        TypeValue("TableName", table);
        PickValue("Active", "True");
        EXPECT_EQ(Value("Active"), "True") << table;
        Place("TDataSource", 200, row * 14);
        PickValue("DataSet", t->Name());
    }

    std::string Database;
    std::string FormFile;
};

TEST_F(DesignSessionTest, AFormDesignedWithMouseAndKeysIsSavedAndRuns) {
    Open(FormFile);
    EXPECT_EQ(Window->Caption(), "OrderForm.form - veskar-designer");

    // The palette: the host's pages first, then the package's, a button a class.
    ASSERT_NE(Window->PaletteButton("TEdit"), nullptr);
    ASSERT_NE(Window->PaletteButton("TLookupFill"), nullptr);
    ASSERT_NE(Window->PaletteButton("TSmartDBLookup"), nullptr);
    std::vector<std::string> pages;
    for (int i = 0; i < Window->PalettePanel->ControlCount(); ++i)
        if (auto* label = dynamic_cast<TLabel*>(Window->PalettePanel->Controls(i))) pages.push_back(label->Caption());
    EXPECT_EQ(pages, (std::vector<std::string>{"Standard:", "Additional:", "Data Access:", "Data Controls:", "Dravik:"}));

    // A connection: a non-visual component, an icon where the form was clicked.
    TComponent* connection = Place("TSQLiteConnection", 12, 15);
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->Name(), "SQLiteConnection1");
    EXPECT_EQ(DesignLeft(connection), 8) << "placed on the cell clicked";
    EXPECT_EQ(DesignTop(connection), 14);
    EXPECT_EQ(Window->Caption(), "*OrderForm.form - veskar-designer");
    TypeValue("DatabaseName", Database);
    EXPECT_EQ(Value("DatabaseName"), Database);
    PickValue("Connected", "True");

    PlaceTable("customer", 3);
    PlaceTable("orders", 5);

    // The fill: typed key pairs, the result pair through its context menu.
    TComponent* fill = Place("TLookupFill", 8, 112);
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->Name(), "LookupFill1");
    PickValue("DataSource", "DataSource2");
    PickValue("LookupDataSource", "DataSource1");
    TypeValue("KeyFields", "CustNo");
    TypeValue("LookupKeyFields", "CustNo");
    EXPECT_EQ(Value("KeyFields"), "CustNo");

    std::vector<std::string> verbs;
    Ui()->QueueModalAnswer([&](TCustomForm* menu) {
        auto* list = dynamic_cast<TListBox*>(menu->FindComponent("VerbList"));
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->Count(); ++i) verbs.push_back(list->Items()->Strings(i));
        Mouse().ClickItem(list, list->Items()->IndexOf("Result Connections"));
        Keyboard().Press(VK_RETURN);
    });
    Ui()->QueueModalAnswer([](TCustomForm* form) {
        auto* d = dynamic_cast<TKeyLinkDlg*>(form);
        ASSERT_NE(d, nullptr);
        Mouse().ClickItem(d->LeftListBox, d->LeftListBox->Items()->IndexOf("ShipTo"));
        Mouse().ClickItem(d->RightListBox, d->RightListBox->Items()->IndexOf("Company"));
        Mouse().Click(d->bAdd);
        Mouse().Click(d->bOK);
    });
    Mouse().Click(Window->Surface, Point(10, 113));
    EXPECT_EQ(Window->Selected(), fill) << "a click on its icon selects it";
    Keyboard().Press(VK_F10, {ssShift});
    EXPECT_EQ(verbs, (std::vector<std::string>{"Key Connections", "Result Connections", "About"}));
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);
    EXPECT_EQ(Value("ResultFields"), "ShipTo");
    EXPECT_EQ(Value("LookupResultFields"), "Company");

    // "..." on a field-pair row opens the key link dialog on its pairs.
    ChooseRow("KeyFields");
    ASSERT_TRUE(Window->DialogButton->Enabled());
    std::string pairs;
    Ui()->QueueModalAnswer([&](TCustomForm* form) {
        auto* d = dynamic_cast<TKeyLinkDlg*>(form);
        ASSERT_NE(d, nullptr);
        pairs = d->Caption() + ": " + d->MiddleListBox->Items()->Strings(0);
        Mouse().Click(d->bCancel);
    });
    Mouse().Click(Window->DialogButton);
    EXPECT_EQ(pairs, "Lookup Key Connection: CustNo<->CustNo");
    EXPECT_EQ(Value("KeyFields"), "CustNo") << "Cancel keeps the pairs";

    // A control: placed, typed into, moved by a cell, resized, and one deleted.
    auto* edit = dynamic_cast<TEdit*>(Place("TEdit", 20, 200));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Name(), "Edit1");
    EXPECT_EQ(edit->Left(), 16);
    EXPECT_EQ(edit->Top(), 196);
    const int width = edit->Width();
    Keyboard().Press(VK_RIGHT);
    Keyboard().Press(VK_DOWN);
    Keyboard().Press(VK_RIGHT, {ssShift});
    EXPECT_EQ(edit->Left(), 24);
    EXPECT_EQ(edit->Top(), 210);
    EXPECT_EQ(edit->Width(), width + 8);
    TypeValue("Text", "Order");
    EXPECT_EQ(edit->Text(), "Order");
    // Refused text: the editor's error shows, the value stays.
    TypeValue("Left", "far");
    EXPECT_NE(Window->Status().find("Left: "), std::string::npos) << Window->Status();
    EXPECT_EQ(edit->Left(), 24);
    EXPECT_EQ(Window->ValueEdit->Text(), "24");

    Place("TButton", 200, 200);
    EXPECT_NE(Find("Button1"), nullptr);
    Keyboard().Press(VK_DELETE);
    EXPECT_EQ(Find("Button1"), nullptr);
    Mouse().Click(Window->Surface, Point(edit->Left() + 2, edit->Top() + 2));
    EXPECT_EQ(Window->Selected(), edit);

    // Ctrl+S writes the file; the caption loses its mark.
    Keyboard().Press('S', {ssCtrl});
    EXPECT_FALSE(Window->Designer().IsModified());
    EXPECT_EQ(Window->Caption(), "OrderForm.form - veskar-designer");
    const std::string saved = ReadFile(FormFile);
    for (const char* line : {"object OrderForm: TForm", "object SQLiteConnection1: TSQLiteConnection",
                             "object LookupFill1: TLookupFill", "DataSource = DataSource2", "object Edit1: TEdit",
                             "Text = 'Order'"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;
    EXPECT_EQ(saved.find("Button1"), std::string::npos);
    Close();

    // The file read at run time: the fill fills.
    Owned<TComponent> form(CreateComponentFromText(saved));
    auto* orders = dynamic_cast<TSQLTable*>(form->FindComponent("SQLTable2"));
    ASSERT_NE(orders, nullptr);
    ASSERT_TRUE(orders->Active());
    orders->Edit();
    orders->FieldByName("CustNo")->SetValue(1231);
    EXPECT_EQ(orders->FieldByName("ShipTo")->Value(), Variant("Unisco"));
    orders->Cancel();
}

TEST_F(DesignSessionTest, ClosingWithChangesAsksAndADoubleClickRunsTheDefaultVerb) {
    Open(FormFile);
    Place("TLookupFill", 8, 14);
    // Its default verb is its first, the key connections: refused while
    // the fill has no data source, the refusal shown.
    Mouse().DblClick(Window->Surface, Point(9, 15));
    EXPECT_EQ(Window->Status(), "DataSource missing");
    EXPECT_EQ(Window->Designer().ModifiedCount(), 2) << "placed and put where clicked, nothing more";

    Ui()->QueueMessageAnswer(mrCancel);
    Window->Close();
    EXPECT_EQ(Shown(), std::vector<std::string>{"Save changes to " + FormFile + "?"});
    EXPECT_TRUE(Window->Visible()) << "Cancel keeps the window";
    Ui()->QueueMessageAnswer(mrYes);
    Window->Close();
    EXPECT_FALSE(Window->Visible());
    EXPECT_NE(ReadFile(FormFile).find("LookupFill1: TLookupFill"), std::string::npos) << "Yes saved it";
}

} // namespace
} // namespace designertest
