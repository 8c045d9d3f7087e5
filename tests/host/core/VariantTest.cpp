// Variants: the host's rules for Null, arrays, comparisons and conversions.

#include "host/core/Exception.h"
#include "host/core/Variant.h"

#include <gtest/gtest.h>

using namespace host;

namespace {

TEST(VariantTest, NullAndUnassignedAreDistinct) {
    const Variant empty, null = Variant::Null();
    EXPECT_TRUE(VarIsEmpty(empty));
    EXPECT_FALSE(VarIsNull(empty));
    EXPECT_TRUE(VarIsNull(null));
    EXPECT_EQ(null, Variant::Null());
    EXPECT_NE(null, Variant(0));
    EXPECT_NE(null, empty);
    EXPECT_EQ(empty.AsInteger(), 0);
    EXPECT_EQ(empty.AsString(), "");
    EXPECT_THROW(null.AsInteger(), EVariantError);
    EXPECT_THROW(null.AsString(), EVariantError);
    EXPECT_EQ(VarToStr(null), "");
}

TEST(VariantTest, ArraysHaveBoundsUnassignedElementsAndValueSemantics) {
    Variant a = VarArrayCreate(0, 2, varVariant);
    EXPECT_EQ(VarArrayDimCount(a), 1);
    EXPECT_EQ(VarArrayLowBound(a, 1), 0);
    EXPECT_EQ(VarArrayHighBound(a, 1), 2);
    EXPECT_TRUE(VarIsEmpty(VarArrayGet(a, 1)));
    VarArrayPut(a, "x", 1);
    Variant copy = a;
    VarArrayPut(copy, "y", 1);
    EXPECT_EQ(VarArrayGet(a, 1), Variant("x"));
    EXPECT_THROW(VarArrayGet(a, 3), EVariantError);
    EXPECT_THROW(VarArrayHighBound(a, 2), EVariantError);
    EXPECT_EQ(VarArrayDimCount(Variant(5)), 0);
    EXPECT_THROW(VarArrayHighBound(Variant(5), 1), EVariantError);
    EXPECT_EQ(VarArrayOf({1, "b"}), VarArrayOf({1, "b"}));
    EXPECT_NE(VarArrayOf({1, "b"}), VarArrayOf({1, "c"}));
    EXPECT_THROW(a.AsString(), EVariantError);
}

TEST(VariantTest, ComparisonsFollowTheHostsRules) {
    EXPECT_EQ(Variant(3), Variant(3.0));
    EXPECT_EQ(Variant("12"), Variant(12));
    EXPECT_THROW((void)(Variant("abc") == Variant(1)), EConvertError);
    EXPECT_NE(Variant("Abc"), Variant("abc"));
    EXPECT_TRUE(VarSameText(Variant("Abc"), Variant("abc")));
    EXPECT_LT(VarCompare(Variant::Null(), Variant(-5)), 0);
    EXPECT_LT(VarCompare(Variant(2), Variant(10)), 0);
    EXPECT_GT(VarCompare(Variant("b"), Variant("a")), 0);
    EXPECT_EQ(VarCompare(Variant::Null(), Variant::Null()), 0);
}

TEST(VariantTest, ConversionsReadAndWriteText) {
    EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
    EXPECT_THROW(Variant("4x").AsInteger(), EConvertError);
    EXPECT_THROW(Variant("").AsFloat(), EConvertError);
    EXPECT_EQ(Variant("2.5").AsFloat(), 2.5);
    EXPECT_EQ(Variant(2.5).AsString(), "2.5");
    EXPECT_EQ(Variant(3.0).AsString(), "3");
    EXPECT_EQ(Variant(true).AsString(), "True");
    EXPECT_TRUE(Variant("true").AsBoolean());
    EXPECT_FALSE(Variant(0).AsBoolean());
    EXPECT_EQ(Variant(2.5).AsInteger(), 2) << "halves go to the even neighbour";
    const Variant day = Variant::FromDateTime(Variant("2026-12-08").AsDateTime());
    EXPECT_EQ(day.VarType(), varDate);
    EXPECT_EQ(day.AsString(), "2026-12-08");
    EXPECT_EQ(Variant(Variant("2026-12-08 13:45:10").AsDateTime()).AsDateTime(),
              Variant("2026-12-08 13:45:10").AsDateTime());
    EXPECT_EQ(Variant::FromDateTime(Variant("2026-12-08 13:45:10").AsDateTime()).AsString(), "2026-12-08 13:45:10");
    EXPECT_EQ(Variant("1899-12-30").AsDateTime(), 0.0);
    EXPECT_THROW(Variant("2026-02-30").AsDateTime(), EConvertError);
}

} // namespace
