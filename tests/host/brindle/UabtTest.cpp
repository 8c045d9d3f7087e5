#include "host/brindle/Uabt.h"
#include "host/ui/Backend.h"

#include <gtest/gtest.h>

using namespace host;

TEST(Uabt, AboutBoxGoesThroughTheBackEnd) {
    THeadlessBackend* backend = HeadlessBackend();
    ASSERT_NE(backend, nullptr);
    backend->ClearShown();
    ShowAboutBoxE("TLookupFill", "Version 1.0");
    ASSERT_EQ(backend->Shown().size(), 1u);
    EXPECT_EQ(backend->Shown()[0].Kind, TShownKind::AboutBox);
    EXPECT_EQ(backend->Shown()[0].Text, "TLookupFill");
    EXPECT_EQ(backend->Shown()[0].Detail, "Version 1.0");

    // A back end without an about box of its own shows it as a message.
    class TPlain : public TUIBackend {
    public:
        std::vector<std::string>* Messages;
        explicit TPlain(std::vector<std::string>* m) : Messages(m) {}
        void ShowMessage(const std::string& text) override { Messages->push_back(text); }
        void ShowException(const std::string&) override {}
    };
    std::vector<std::string> messages;
    auto previous = SetUIBackend(std::make_unique<TPlain>(&messages));
    ShowAboutBoxE("TSmartDBLookup", "2.1");
    SetUIBackend(std::move(previous));
    EXPECT_EQ(messages, (std::vector<std::string>{"TSmartDBLookup\n2.1"}));
    backend->ClearShown();
}
