// Modules and their named resources, as registered by the libraries that
// carry them.

#include "host/core/Exception.h"
#include "host/package/Resource.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

using namespace host;

namespace {

const unsigned char Note[] = {'h', 'e', 'l', 'l', 'o', '\r', '\n'};
const unsigned char Picture[] = {'B', 'M', 1, 2, 3};

// Registered the way a build-generated resource source does it.
const TResourceRegistration NoteRegistration("", "TestNote", rtText, Note, sizeof(Note));
const TResourceRegistration PictureRegistration("ResourceTestModule", "Picture", rtBitmap, Picture, sizeof(Picture));

std::vector<HINSTANCE> AllModules() {
    std::vector<HINSTANCE> modules;
    EnumModules([&](HINSTANCE m) {
        modules.push_back(m);
        return true;
    });
    return modules;
}

} // namespace

TEST(ResourceTest, ResourcesAreFoundByModuleNameIgnoringCaseAndType) {
    const auto note = FindResource(MainInstance(), "TESTNOTE", rtText);
    ASSERT_TRUE(note.has_value());
    EXPECT_EQ(note->data(), Note);
    EXPECT_EQ(note->size(), sizeof(Note));
    EXPECT_TRUE(FindResource(MainInstance(), "testnote", rtText).has_value());
    EXPECT_FALSE(FindResource(MainInstance(), "TestNote", rtBitmap).has_value());
    EXPECT_FALSE(FindResource(MainInstance(), "TestNot", rtText).has_value());
    EXPECT_FALSE(FindResource(nullptr, "TestNote", rtText).has_value());

    const HINSTANCE other = FindModule("resourcetestmodule");
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(FindResource(other, "PICTURE", rtBitmap).has_value());
    EXPECT_FALSE(FindResource(other, "TestNote", rtText).has_value());
    EXPECT_FALSE(FindResource(MainInstance(), "Picture", rtBitmap).has_value());
    EXPECT_EQ(FindResourceModule("picture", rtBitmap), other);
    EXPECT_EQ(FindResourceModule("picture", rtIcon), nullptr);
}

TEST(ResourceTest, TextResourceReadsWithoutItsLineBreak) {
    EXPECT_EQ(LoadTextResource(MainInstance(), "TestNote"), "hello");
    try {
        LoadTextResource(MainInstance(), "Absent");
        FAIL() << "a missing text loaded";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource Absent not found");
    }
}

TEST(ResourceTest, RegistrationLastsAsLongAsItsObject) {
    const unsigned char bytes[] = {1, 2, 3};
    {
        const TResourceRegistration scoped("ScopedModule", "Blob", rtRCData, bytes, sizeof(bytes));
        EXPECT_TRUE(FindResource(FindModule("ScopedModule"), "blob", rtRCData).has_value());
    }
    // The module's record stays, so a handle kept from before still works.
    const HINSTANCE scoped = FindModule("ScopedModule");
    ASSERT_NE(scoped, nullptr);
    EXPECT_FALSE(FindResource(scoped, "blob", rtRCData).has_value());
    EXPECT_TRUE(FindResource(MainInstance(), "TestNote", rtText).has_value());
}

TEST(ResourceTest, ModulesAreKnownByNameAndEnumeratedMainFirst) {
    EXPECT_EQ(ModuleName(MainInstance()), "");
    EXPECT_EQ(FindModule("NoModuleOfThisName"), nullptr);
    const HINSTANCE made = ModuleHandle("EnumTestModule");
    EXPECT_EQ(ModuleHandle("ENUMTESTMODULE"), made);
    EXPECT_EQ(FindModule("enumtestmodule"), made);
    EXPECT_EQ(ModuleName(made), "EnumTestModule");

    const std::vector<HINSTANCE> modules = AllModules();
    ASSERT_FALSE(modules.empty());
    EXPECT_EQ(modules.front(), MainInstance());
    EXPECT_EQ(std::count(modules.begin(), modules.end(), made), 1);

    int visited = 0;
    EnumModules([&](HINSTANCE) { return ++visited < 2; });
    EXPECT_EQ(visited, 2);
}
