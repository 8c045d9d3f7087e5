// Form texts that do not read: the error names the place and what was
// expected, nothing the read made stays behind, and no text crashes it.

#include "SampleForm.h"
#include "StreamClasses.h"

#include "host/core/StreamErrors.h"
#include "host/stream/Reader.h"

#include <gtest/gtest.h>

#include <random>

using namespace host;
using namespace streamtest;

namespace {

class FormReaderErrorTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterStreamTestClasses(); }
};

struct TBadText {
    std::string Text;
    std::string Reason;
    int Line;
    int Column;
};

} // namespace

TEST_F(FormReaderErrorTest, NamesTheLineTheColumnAndWhatWasExpected) {
    const std::vector<TBadText> cases = {
        {"object A: TProbe\n  Count 5\nend", "= expected but Integer found", 2, 9},
        {"object A: TProbe\n  Title = 'abc\nend", "Unterminated string", 2, 11},
        {"object A: TProbe\n  Count = 'x'\nend", "Invalid property value", 2, 11},
        {"object A: TProbe\n  Side = alNowhere\nend", "Invalid property value", 2, 10},
        {"object A: TProbe\n  Active = 1\nend", "Invalid property value", 2, 12},
        {"object A: TProbe\n  Nope = 1\nend", "Property Nope does not exist", 2, 3},
        {"object A: TProbe\n  Font.Nope = 1\nend", "Property Font.Nope does not exist", 2, 3},
        {"object A: TProbe\n  Count = 1\n", "end expected but end of file found", 3, 1},
        {"", "object expected but end of file found", 1, 1},
        {"object A: TProbe\n  Styles = [psBold psItalic]\nend", "] expected but Identifier found", 2, 20},
        {"object A: TProbe\n  Styles = [psBold, psNone]\nend", "Invalid property value", 2, 21},
        {"object A: TProbe\n  Styles = [\n    psBold,\n    psNone]\nend", "Invalid property value", 4, 5},
        {"object A: TProbe\n  Font.Style = [psNone, psBold]\nend", "Invalid property value", 2, 17},
        // Dotted names a binary form could not hold.
        {"object A.B: TProbe\nend", "Invalid component name", 1, 8},
        {"object A: TProbe.X\nend", "Invalid class name", 1, 11},
        {"inherited TProbe.X\nend", "Invalid class name", 1, 11},
        {"object P: TProbe\n  object Q.R: TProbe\n  end\nend", "Invalid component name", 2, 10},
        {"object P: TProbe\n  Styles = [psBold, ps.Italic]\nend", "Invalid set element", 2, 21},
        {"object A: TProbe\n  Blob = { 0A1 }\nend", "Invalid binary value", 2, 16},
        {"object A: TProbe\n  Blob = { 0A", "Unterminated binary value", 2, 10},
        {"object A: TProbe\n  Keys.Strings = ( 'a' 1 )\nend", "Invalid property value", 2, 24},
        {"object A: TProbe\n  Keys.Strings = ( 'a'\nend", ") expected but end of file found", 3, 4},
        {"object A: TProbe\n  Title = 'a' + 1\nend", "String expected but Integer found", 2, 17},
        {"object A: TProbe\n  Count = 99999999999999999999\nend", "Integer out of range", 2, 11},
        {"object A: TProbe\n  ShortCut = 70000\nend", "Invalid property value", 2, 14},
        {"object A: TProbe\n  Items = < Caption = 'x' end >\nend", "item expected but Identifier found", 2, 13},
        {"object A: TProbe\n  Count = ]\nend", "Invalid property value", 2, 11},
        {"object A TProbe\nend", "= expected but Identifier found", 2, 1},
        {"object A: TProbe\n  object B: TProbe\n  end\n  Count = 1\nend", "end expected but Identifier found", 4, 3},
        {"object F: TProbeForm\n  object P: TProbe\n    OnChange = Missing\n  end\nend", "Method Missing not found", 3, 16},
        {"object F: TProbeForm\n  object E: TEdit\n  end\n  object P: TProbe\n    Source = E\n  end\nend",
         "Invalid property value", 5, 14},
    };
    for (const TBadText& c : cases) {
        SCOPED_TRACE(c.Text);
        try {
            Owned<TComponent> read(CreateComponentFromText(c.Text));
            ADD_FAILURE() << "read without an error";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Reason(), c.Reason);
            EXPECT_EQ(e.Line(), c.Line);
            EXPECT_EQ(e.Column(), c.Column);
            EXPECT_EQ(e.Message(), c.Reason + " at line " + std::to_string(c.Line) + ", column " +
                                       std::to_string(c.Column));
        }
    }
}

TEST_F(FormReaderErrorTest, AnEventOfAnotherSignatureIsRefused) {
    try {
        Owned<TComponent> read(CreateComponentFromText(
            "object F: TProbeForm\n  object P: TProbe\n    OnChange = ProbeValue\n  end\nend"));
        FAIL() << "a method of another signature was bound";
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Reason(), "Method ProbeValue does not fit OnChange (TNotifyEvent)");
        EXPECT_EQ(e.Line(), 3);
    }
}

TEST_F(FormReaderErrorTest, AnUnknownClassRaisesClassNotFound) {
    try {
        Owned<TComponent> read(CreateComponentFromText("object F: TProbeForm\n  object X: TNope\n  end\nend"));
        FAIL() << "an unknown class was made";
    } catch (const EClassNotFound& e) {
        EXPECT_STREQ(e.what(), "Class TNope not found at line 2, column 13 (register it with host::RegisterClasses; host::RegisterStandardClasses and "
                               "host::RegisterSQLClasses register the host's own)");
    }
    EXPECT_THROW(CreateComponentFromText("object X: TNope\nend"), EClassNotFound);
    // A class that is no component cannot be made from a text.
    EXPECT_THROW(CreateComponentFromText("object F: TProbeForm\n  object X: TProbeFont\n  end\nend"), EReadError);
}

TEST_F(FormReaderErrorTest, AFailedReadFreesWhatItMadeAndEndsLoading) {
    Owned<TProbeForm> form(TProbeForm::Create(nullptr));
    TProbe* kept = TProbe::Create(form.get());
    kept->SetName("Kept");
    const std::string text = "object F: TProbeForm\n"
                             "  object Edit1: TEdit\n"
                             "    object Inner: TEdit\n"
                             "    end\n"
                             "  end\n"
                             "  inherited Kept: TProbe\n"
                             "    Count = 2\n"
                             "  end\n"
                             "  object Probe: TProbe\n"
                             "    Count = x\n"
                             "  end\n"
                             "end";
    EXPECT_THROW(ReadComponentText(form.get(), text), EParserError);
    ASSERT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->Components(0), kept);
    EXPECT_EQ(kept->Count, 2);
    EXPECT_EQ(form->Edit1, nullptr);
    EXPECT_EQ(form->Probe, nullptr);
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(kept->ComponentState().Contains(csLoading));
    EXPECT_FALSE(kept->LoadedCalled);
}

// Every prefix of a good text, and texts with random bytes changed, either
// read or raise a read error; nothing else escapes, nothing leaks (the
// sanitizer build watches that).
TEST_F(FormReaderErrorTest, TruncatedAndScrambledTextsRaiseReadErrorsOnly) {
    const std::string good = SampleFormText();
    int failures = 0;
    auto attempt = [&](const std::string& text) {
        try {
            Owned<TComponent> read(CreateComponentFromText(text));
        } catch (const EReadError&) {
            ++failures;
        }
    };
    for (size_t length = 0; length < good.size(); ++length) attempt(good.substr(0, length));
    std::mt19937 random(20240611);
    for (int round = 0; round < 400; ++round) {
        std::string text = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const size_t at = random() % text.size();
            switch (random() % 3) {
            case 0: text[at] = static_cast<char>(random() % 256); break;
            case 1: text.erase(at, 1 + random() % 8); break;
            default: text.insert(at, 1, "'#{}<>()[]=+.$-"[random() % 15]); break;
            }
        }
        attempt(text);
    }
    for (int round = 0; round < 100; ++round) {
        std::string noise(random() % 200, '\0');
        for (char& c : noise) c = static_cast<char>(random() % 256);
        attempt("object P: TProbe\n" + noise);
        attempt(noise);
    }
    // The prefixes alone are nearly all broken; most mutations break too.
    EXPECT_GT(failures, static_cast<int>(good.size()) - 5);
}
