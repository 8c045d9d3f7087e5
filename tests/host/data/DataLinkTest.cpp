// Data links: what they hear and when.

#include "DataFixture.h"

namespace host::testing {
namespace {

using V = std::vector<std::string>;

class LinkTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        Link.reset(TLoggingLink::Create());
    }
    void TearDown() override {
        Link.reset();
        DataTest::TearDown();
    }
    V Take() {
        V heard = Link->Heard;
        Link->Heard.clear();
        return heard;
    }
    Owned<TLoggingLink> Link;
};

TEST_F(LinkTest, AttachingToAnOpenDatasetActivatesAtOnce) {
    std::vector<TObject*> senders;
    Link->OnActiveChange = [&](TObject* sender) { senders.push_back(sender); };
    Link->SetFieldName("Company");
    EXPECT_EQ(Link->Field(), nullptr) << "no field while not attached";
    Link->SetDataSource(Source);
    EXPECT_TRUE(Link->Active());
    EXPECT_EQ(Link->Field(), Customers->FieldByName("Company"));
    EXPECT_EQ(senders, std::vector<TObject*>{Link.get()});

    Customers->Close();
    EXPECT_FALSE(Link->Active());
    EXPECT_EQ(Link->Field(), nullptr);
    Customers->Open();
    EXPECT_EQ(Link->Field(), Customers->FieldByName("Company"));
    EXPECT_EQ(senders.size(), 3u);

    EXPECT_THROW(Link->SetFieldName("Nope"), EDatabaseError);
    EXPECT_EQ(Link->Field(), nullptr);
}

TEST_F(LinkTest, EditWriteAndPostReachTheLinksInOrder) {
    Link->SetDataSource(Source);
    Link->SetFieldName("Company");
    Take();
    Customers->Edit();
    EXPECT_EQ(Take(), (V{"editing", "record"}));
    Customers->FieldByName("CustNo")->SetValue(7);
    EXPECT_EQ(Take(), (V{"record:CustNo"}));
    Customers->Post();
    EXPECT_EQ(Take(), (V{"browsing", "record"}));
    Customers->Next();
    EXPECT_EQ(Take(), (V{"record"}));
    Customers->Cancel();
    EXPECT_EQ(Take(), V{}) << "nothing to cancel";
}

// Jumps reach the links as a changed dataset, steps as a scroll by the
// distance moved; a step that cannot move at all is not told.
TEST_F(LinkTest, MovesReachTheLinksAsChangesOrScrolls) {
    Owned<TNoticeLink> notices(TNoticeLink::Create());
    notices->SetDataSource(Source);
    auto take = [&] {
        V heard = notices->Heard;
        notices->Heard.clear();
        return heard;
    };
    int scrolls = 0;
    Customers->AfterScroll = [&](TDataSet*) { ++scrolls; };
    Customers->Next();
    EXPECT_EQ(take(), (V{"check", "scrolled 1"}));
    Customers->MoveBy(2);
    EXPECT_EQ(take(), (V{"check", "scrolled 2"}));
    EXPECT_EQ(Customers->RecNo(), 4);
    Customers->Next();
    EXPECT_EQ(take(), (V{"check", "scrolled 0"})) << "the step that finds the end";
    EXPECT_TRUE(Customers->Eof());
    Customers->Next();
    EXPECT_EQ(take(), (V{"check"})) << "already at the end";
    Customers->Prior();
    EXPECT_EQ(take(), (V{"check", "scrolled -1"}));
    Customers->MoveBy(-10);
    EXPECT_EQ(take(), (V{"check", "scrolled -2"}));
    EXPECT_TRUE(Customers->Bof());
    Customers->Prior();
    Customers->MoveBy(0);
    EXPECT_EQ(take(), (V{"check", "check"}));
    EXPECT_EQ(scrolls, 5) << "AfterScroll only where the cursor could move";

    Customers->Last();
    EXPECT_EQ(take(), (V{"check", "changed"}));
    Customers->First();
    EXPECT_EQ(take(), (V{"check", "changed"}));
    EXPECT_TRUE(Customers->Locate("CustNo", 1351, {}));
    EXPECT_EQ(take(), (V{"check", "changed"}));
    EXPECT_FALSE(Customers->Locate("CustNo", 9, {}));
    EXPECT_EQ(take(), (V{"check"}));
    Customers->Refresh();
    EXPECT_EQ(take(), (V{"check", "changed"}));
    Customers->SetRecNo(1);
    EXPECT_EQ(take(), (V{"check", "changed"}));
    EXPECT_EQ(scrolls, 9) << "a failed Locate and Refresh do not scroll";
}

// Edit, Post, Cancel and Delete ask the links first, so what a control still
// holds is written (Post) or dropped (Cancel) before the record changes.
TEST_F(LinkTest, EditingAsksTheLinksFirst) {
    Owned<TNoticeLink> notices(TNoticeLink::Create());
    notices->SetDataSource(Source);
    auto take = [&] {
        V heard = notices->Heard;
        notices->Heard.clear();
        return heard;
    };
    Customers->Edit();
    EXPECT_EQ(take(), (V{"check", "record"}));
    Customers->Post();
    EXPECT_EQ(take(), (V{"update", "check", "changed"}));
    Customers->Edit();
    take();
    Customers->Cancel();
    EXPECT_EQ(take(), (V{"check", "changed"}));
    Customers->Delete();
    EXPECT_EQ(take(), (V{"check", "changed"}));

    // A field link's pending text is written by Post before the record is
    // stored.
    Link->SetDataSource(Source);
    Link->SetFieldName("Company");
    Link->OnUpdateData = [&](TObject*) { Link->Field()->SetAsString("Typed"); };
    Link->Edit();
    Link->Modified();
    Customers->Post();
    EXPECT_EQ(Value("Company"), Variant("Typed"));
}

TEST_F(LinkTest, DisabledControlsHearOneChangeAtTheEnd) {
    Link->SetDataSource(Source);
    Take();
    Customers->DisableControls();
    Customers->DisableControls();
    EXPECT_TRUE(Customers->ControlsDisabled());
    Customers->Edit();
    Customers->FieldByName("CustNo")->SetValue(8);
    Customers->FieldByName("Company")->SetValue("Quiet");
    Customers->EnableControls();
    EXPECT_EQ(Take(), V{}) << "still disabled once";
    Customers->EnableControls();
    EXPECT_FALSE(Customers->ControlsDisabled());
    EXPECT_EQ(Take(), (V{"editing", "record"}));
    Customers->EnableControls();  // unbalanced: nothing happens
    EXPECT_EQ(Take(), V{});
}

TEST_F(LinkTest, LinkEditPutsTheDatasetIntoEditThroughItsSource) {
    Link->SetDataSource(Source);
    Link->SetFieldName("Company");
    Source->SetAutoEdit(false);
    EXPECT_FALSE(Link->Edit());
    EXPECT_EQ(Customers->State(), dsBrowse);
    Source->SetAutoEdit(true);
    EXPECT_TRUE(Link->Edit());
    EXPECT_EQ(Customers->State(), dsEdit);
    EXPECT_TRUE(Link->Editing());
    Customers->Cancel();
    Link->SetReadOnly(true);
    EXPECT_FALSE(Link->Edit());
}

TEST_F(LinkTest, ALinkFreedFromItsOwnNoticeGoesWhenTheNoticeReturns) {
    TLoggingLink* doomed = TLoggingLink::Create();
    doomed->SetDataSource(Source);
    doomed->SetFieldName("Company");
    Link->SetDataSource(Source);
    Take();
    doomed->OnDataChange = [&](TObject*) { doomed->Free(); };
    Customers->Next();  // under the sanitizers: no use after free
    EXPECT_EQ(Source->DataLinkCount(), 1);
    EXPECT_EQ(Take(), (V{"record"})) << "the other link still hears";
}

TEST_F(LinkTest, FreeingTheSourceDetachesItsLinks) {
    Link->SetDataSource(Source);
    Link->SetFieldName("Company");
    Source->Free();
    EXPECT_EQ(Link->DataSource(), nullptr);
    EXPECT_FALSE(Link->Active());
    EXPECT_EQ(Link->Field(), nullptr);
}

TEST_F(LinkTest, ADisabledSourceLooksInactive) {
    Link->SetDataSource(Source);
    Source->SetEnabled(false);
    EXPECT_FALSE(Link->Active());
    Customers->Next();
    Source->SetEnabled(true);
    EXPECT_TRUE(Link->Active());
}

} // namespace
} // namespace host::testing
