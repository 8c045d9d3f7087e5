#pragma once
// The designer's window on a form file in a folder of its own, with the
// standard components and the design package registered, driven through
// the host's mouse and keyboard on the headless back end.

#include "host/core/Guards.h"
#include "host/designer/StdReg.h"
#include "host/ui/Backend.h"
#include "host/ui/Focus.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
#include "tools/designer/DesignerWindow.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace designertest {

using namespace host;
using namespace designer;

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

class DesignerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Ui()->ClearShown();
        Dir = std::filesystem::temp_directory_path() / ("veskar-designer-" + std::to_string(getpid()));
        std::filesystem::create_directories(Dir);
        RegisterStandardComponents();
        Package = LoadDesignPackage("VeskarDesign");
    }
    void TearDown() override {
        Close();
        UnloadDesignPackage(Package);
        ClearRegistrations();
        Ui()->ClearShown();
        Ui()->ClearModalAnswers();
        Ui()->ClearMessageAnswers();
        std::filesystem::remove_all(Dir);
    }

    static THeadlessBackend* Ui() { return HeadlessBackend(); }
    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    // Opens the file in a new window, shown.
    void Open(const std::string& path) {
        Close();
        Document = std::make_unique<TDesignDocument>(path);
        Window.reset(TDesignerWindow::Make(*Document));
        Window->Show();
    }
    void Close() {
        FocusManager().SetFocus(nullptr);
        Keyboard().SetShiftState({});
        Window.reset();
        Document.reset();
    }

    // A palette click, then a click on the form.
    TComponent* Place(const std::string& className, int x, int y) {
        TButton* button = Window->PaletteButton(className);
        EXPECT_NE(button, nullptr) << className << " is not on the palette";
        if (!button) return nullptr;
        Mouse().Click(button);
        Mouse().Click(Window->Surface, Point(x, y));
        return Window->Selected();
    }
    void ChooseRow(const std::string& name) {
        TStrings* rows = Window->PropertyList->Items();
        for (int i = 0; i < rows->Count(); ++i)
            if (rows->Strings(i).rfind(name + " ", 0) == 0) {
                Mouse().ClickItem(Window->PropertyList, i);
                return;
            }
        ADD_FAILURE() << "the inspector shows no " << name;
    }
    // Types a value over the row's value, then Enter.
    void TypeValue(const std::string& name, const std::string& text) {
        ChooseRow(name);
        // Enter on the row goes to its value.
        Keyboard().Press(VK_RETURN);
        EXPECT_TRUE(Window->ValueEdit->Focused());
        Keyboard().Press(VK_END);
        for (size_t n = Window->ValueEdit->Text().size(); n > 0; --n) Keyboard().Press(VK_BACK);
        Keyboard().Type(text);
        Keyboard().Press(VK_RETURN);
    }
    // Picks a value from the row's value list, then Enter.
    void PickValue(const std::string& name, const std::string& value) {
        ChooseRow(name);
        const int index = Window->ValueList->Items()->IndexOf(value);
        ASSERT_GE(index, 0) << value << " is not offered for " << name;
        Mouse().ClickItem(Window->ValueList, index);
        Keyboard().Press(VK_RETURN);
    }
    std::string Value(const std::string& name) const {
        auto editor = Window->Designer().PropertyEditor(name);
        return editor ? editor->GetValue() : "(not shown)";
    }
    TComponent* Find(const std::string& name) const { return Window->Designer().Root()->FindComponent(name); }

    // The texts of the message boxes and questions shown since the last call.
    std::vector<std::string> Shown() {
        std::vector<std::string> texts;
        for (const TShownItem& item : Ui()->Shown())
            if (item.Kind != TShownKind::ModalForm) texts.push_back(item.Text);
        Ui()->ClearShown();
        return texts;
    }

    std::filesystem::path Dir;
    HMODULE Package = nullptr;
    std::unique_ptr<TDesignDocument> Document;
    Owned<TDesignerWindow> Window;
};

} // namespace designertest
