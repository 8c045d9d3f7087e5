// Form files in the designer: new, text and binary ones kept in their
// format, files that do not read, classes that are not registered, and a
// place that cannot be written.

#include "tests/designer/DesignerFixture.h"

#include "host/core/TextUtils.h"
#include "host/stream/FormBinary.h"

namespace designertest {
namespace {

using Names = std::vector<std::string>;

class DesignDocumentTest : public DesignerTest {
protected:
    template <class F>
    static std::string Raised(F&& f) {
        try {
            f();
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }
};

TEST_F(DesignDocumentTest, NewTextAndBinaryFilesAreSavedInTheirFormat) {
    const std::string fresh = PathOf("Fresh.form");
    Open(fresh);
    EXPECT_FALSE(Document->Binary());
    Place("TLabel", 8, 14);
    ASSERT_TRUE(Window->SaveFile());
    const std::string text = ReadFile(fresh);
    EXPECT_EQ(text.rfind("object Form1: TForm1\n", 0), 0u) << text;
    EXPECT_NE(text.find("object Label1: TLabel"), std::string::npos) << text;

    const std::string binary = PathOf("Binary.form");
    WriteFile(binary, ObjectTextToBinary(text));
    Open(binary);
    EXPECT_TRUE(Document->Binary());
    EXPECT_NE(Find("Label1"), nullptr);
    Place("TCheckBox", 8, 56);
    ASSERT_TRUE(Window->SaveFile());
    const std::string written = ReadFile(binary);
    ASSERT_TRUE(IsBinaryForm(written));
    const std::string back = ObjectBinaryToText(written);
    for (const char* line : {"object Form1: TForm1", "object Label1: TLabel", "object CheckBox1: TCheckBox"})
        EXPECT_NE(back.find(line), std::string::npos) << line << " in\n" << back;
}

TEST_F(DesignDocumentTest, AFileThatDoesNotReadIsReportedWhereAndLeftAlone) {
    const std::string bad = PathOf("Bad.form");
    const std::string text = "object Form1: TForm\n  Caption = 'Orders'\n  Left = )\nend\n";
    WriteFile(bad, text);
    const std::string message = Raised([&] { TDesignDocument document(bad); });
    EXPECT_NE(message.find(bad), std::string::npos) << message;
    EXPECT_NE(message.find("line 3, column 10"), std::string::npos) << message;
    EXPECT_EQ(ReadFile(bad), text);

    const std::string broken = PathOf("Broken.form");
    const std::string data = ObjectTextToBinary("object Form1: TForm\n  Caption = 'Orders'\nend\n").substr(0, 20);
    WriteFile(broken, data);
    EXPECT_NE(Raised([&] { TDesignDocument document(broken); }).find("offset"), std::string::npos);
    EXPECT_EQ(ReadFile(broken), data);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), std::filesystem::directory_iterator()), 2)
        << "nothing written beside them";
}

TEST_F(DesignDocumentTest, AnUnregisteredClassIsNamedAndKeptInTheFile) {
    const std::string file = PathOf("Mixed.form");
    WriteFile(file, "object Form1: TForm\n"
                    "  object Edit1: TEdit\n    Left = 8\n  end\n"
                    "  object Panel1: TPanel\n"
                    "    object Gauge1: TGaugeOfElsewhere\n      Progress = 40\n    end\n"
                    "  end\n"
                    "end\n");
    Open(file);
    EXPECT_EQ(Document->MissingClasses(), Names{"Gauge1: TGaugeOfElsewhere"});
    EXPECT_NE(Window->Status().find("Gauge1: TGaugeOfElsewhere"), std::string::npos) << Window->Status();
    EXPECT_NE(Find("Edit1"), nullptr);
    EXPECT_NE(Find("Panel1"), nullptr);
    Place("TButton", 100, 100);
    ASSERT_TRUE(Window->SaveFile());
    const std::string saved = ReadFile(file);
    const size_t panel = saved.find("object Panel1: TPanel");
    const size_t gauge = saved.find("object Gauge1: TGaugeOfElsewhere");
    ASSERT_NE(gauge, std::string::npos) << saved;
    EXPECT_LT(panel, gauge) << "still inside the panel:\n" << saved;
    EXPECT_NE(saved.find("Progress = 40"), std::string::npos);
    EXPECT_NE(saved.find("object Button1: TButton"), std::string::npos);
}

TEST_F(DesignDocumentTest, SavingToAReadOnlyPlaceFailsClearlyAndStaysModified) {
    // A place nobody may create a file in, root included.
    const std::string file = "/sys/veskar-designer-test.form";
    if (std::filesystem::exists("/sys/veskar-designer-test.form") || !std::filesystem::is_directory("/sys"))
        GTEST_SKIP() << "no read-only folder";
    Open(file);
    Place("TLabel", 8, 14);
    EXPECT_FALSE(Window->SaveFile());
    const Names shown = Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front().rfind("Cannot save " + file + ": ", 0), 0u) << shown.front();
    EXPECT_EQ(Window->Status(), shown.front());
    EXPECT_TRUE(Window->Designer().IsModified());
    EXPECT_EQ(Window->Caption().front(), '*');
    EXPECT_FALSE(std::filesystem::exists(file + ".saving"));
}

} // namespace
} // namespace designertest
