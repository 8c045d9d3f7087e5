// Variants: Null and unassigned, conversions, comparisons and arrays.

#include "host/core/Exception.h"
#include "host/core/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

using namespace host;

namespace {

std::string Show(const Variant& v) {
    std::ostringstream os;
    os << v;
    return os.str();
}

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no exception";
}

TEST(VariantTest, NullAndUnassignedAreDistinct) {
    const Variant empty, null = Variant::Null();
    EXPECT_TRUE(VarIsEmpty(empty));
    EXPECT_FALSE(VarIsNull(empty));
    EXPECT_TRUE(VarIsNull(null));
    EXPECT_EQ(empty.VarType(), varEmpty);
    EXPECT_EQ(null.VarType(), varNull);
    EXPECT_EQ(null, Variant::Null());
    EXPECT_EQ(empty, Variant());
    EXPECT_NE(null, empty);
    EXPECT_NE(null, Variant(0));
    EXPECT_NE(empty, Variant(0));
    EXPECT_NE(empty, Variant(""));
    EXPECT_NE(null, Variant("abc")) << "Null meets a string without converting it";
}

TEST(VariantTest, UnassignedConvertsToZerosAndNullRaises) {
    const Variant empty, null = Variant::Null();
    EXPECT_EQ(empty.AsInteger(), 0);
    EXPECT_EQ(empty.AsFloat(), 0.0);
    EXPECT_FALSE(empty.AsBoolean());
    EXPECT_EQ(empty.AsString(), "");
    EXPECT_THROW(null.AsFloat(), EVariantError);
    EXPECT_THROW(null.AsBoolean(), EVariantError);
    EXPECT_THROW(null.AsDateTime(), EVariantError);
    EXPECT_THROW(null.AsString(), EVariantError);
    EXPECT_EQ(MessageOf([&] { (void)null.AsInteger(); }), "Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(VarToStr(null), "");
    EXPECT_EQ(VarToStr(Variant(7)), "7");
}

TEST(VariantTest, TextConvertsToNumbersOrRaises) {
    EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
    EXPECT_EQ(Variant("+5").AsInteger(), 5);
    EXPECT_EQ(Variant("-7.25").AsFloat(), -7.25);
    EXPECT_EQ(MessageOf([] { (void)Variant("abc").AsInteger(); }), "'abc' is not a valid integer value");
    EXPECT_EQ(MessageOf([] { (void)Variant("abc").AsFloat(); }), "'abc' is not a valid floating point value");
    EXPECT_THROW(Variant("2.5").AsInteger(), EConvertError);
    EXPECT_THROW(Variant("99999999999999999999").AsInteger(), EConvertError);
    EXPECT_THROW(Variant("").AsFloat(), EConvertError);
    EXPECT_THROW(Variant("inf").AsFloat(), EConvertError);
    EXPECT_THROW(Variant("+-1").AsInteger(), EConvertError);
}

TEST(VariantTest, FloatsRoundHalfToEven) {
    EXPECT_EQ(Variant(2.5).AsInteger(), 2);
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
    EXPECT_EQ(Variant(2.6).AsInteger(), 3);
    EXPECT_THROW(Variant(1e30).AsInteger(), EConvertError);
    EXPECT_THROW(Variant(std::nan("")).AsInteger(), EConvertError);
    EXPECT_EQ(Variant(int64_t{-9007199254740993}).AsString(), "-9007199254740993");
}

// The general format: 15 significant digits, plain notation for decimal
// exponents from -3 to 15, else scientific with a bare exponent.
TEST(VariantTest, FloatsPrintInTheGeneralFormatWithFifteenDigits) {
    auto text = [](double d) { return Variant(d).AsString(); };
    EXPECT_EQ(text(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(text(-1.0 / 3.0), "-0.333333333333333");
    EXPECT_EQ(text(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(text(0.1), "0.1");
    EXPECT_EQ(text(2.5), "2.5");
    EXPECT_EQ(text(3.0), "3");
    EXPECT_EQ(text(100.0), "100");
    EXPECT_EQ(text(0.0), "0");
    EXPECT_EQ(text(-0.0), "0");
    EXPECT_EQ(text(123.456), "123.456");
    EXPECT_EQ(text(1e20), "1E20");
    EXPECT_EQ(text(-1e20), "-1E20");
    EXPECT_EQ(text(1e15), "1E15");
    EXPECT_EQ(text(999999999999999.0), "999999999999999");
    EXPECT_EQ(text(123456789012345.6), "123456789012346");
    EXPECT_EQ(text(1234567890123456.0), "1.23456789012346E15");
    EXPECT_EQ(text(-1234567890123456.0), "-1.23456789012346E15");
    EXPECT_EQ(text(0.0001), "0.0001");
    EXPECT_EQ(text(0.00012345), "0.00012345");
    EXPECT_EQ(text(0.00001), "1E-5");
    EXPECT_EQ(text(-0.000012345), "-1.2345E-5");
    EXPECT_EQ(text(1.5e-300), "1.5E-300");
    // Rounded up, the largest doubles would print as text beyond any double.
    EXPECT_EQ(text(1.7976931348623157e308), "1.79769313486231E308");
    EXPECT_EQ(text(-1.7976931348623157e308), "-1.79769313486231E308");
    EXPECT_NO_THROW(Variant(text(-1.7976931348623157e308)).AsFloat());
    EXPECT_EQ(text(std::nan("")), "NAN");
    EXPECT_EQ(text(-HUGE_VAL), "-INF");
    // The text reads back as a number.
    EXPECT_EQ(Variant(text(2.5e-7)).AsFloat(), 2.5e-7);
    EXPECT_EQ(Variant(text(1e20)).AsFloat(), 1e20);
}

TEST(VariantTest, BooleansConvertFromTextAndNumbers) {
    EXPECT_TRUE(Variant("TRUE").AsBoolean());
    EXPECT_FALSE(Variant(" false").AsBoolean());
    EXPECT_THROW(Variant("yes").AsBoolean(), EConvertError);
    EXPECT_FALSE(Variant(0).AsBoolean());
    EXPECT_TRUE(Variant(0.5).AsBoolean());
    EXPECT_EQ(Variant(true).AsString(), "True");
    EXPECT_EQ(Variant(false).AsString(), "False");
    EXPECT_EQ(Variant(true).AsInteger(), -1) << "True is all bits set";
    EXPECT_EQ(Variant(false).AsInteger(), 0);
    EXPECT_EQ(Variant(true).AsFloat(), -1.0);
    EXPECT_EQ(Variant(true).VarType(), varBoolean) << "a bool must not land in the integer constructor";
}

TEST(VariantTest, DateTimesReadAndWriteTheirTwoTextForms) {
    EXPECT_EQ(Variant("1899-12-30").AsDateTime(), 0.0);
    EXPECT_EQ(Variant("1900-03-01").AsDateTime(), 61.0);
    EXPECT_DOUBLE_EQ(Variant("2023-03-15 06:30:00").AsDateTime(), 45000 + 6.5 / 24);
    const Variant day = Variant::FromDateTime(45000);
    EXPECT_EQ(day.VarType(), varDate);
    EXPECT_EQ(day.AsString(), "2023-03-15");
    EXPECT_EQ(Variant::FromDateTime(45000.5).AsString(), "2023-03-15 12:00:00");
    EXPECT_EQ(Variant::FromDateTime(45000.99999999).AsString(), "2023-03-16") << "rounds up to midnight";
    EXPECT_EQ(Variant::FromDateTime(-1.25).AsString(), "1899-12-29 06:00:00");
    EXPECT_EQ(Variant("1899-12-29 06:00:00").AsDateTime(), -1.25);
    EXPECT_EQ(Variant("2024-02-29").AsDateTime(), Variant("2024-03-01").AsDateTime() - 1);
    EXPECT_THROW(Variant("2023-02-29").AsDateTime(), EConvertError);
    EXPECT_THROW(Variant("2023-03-15 24:00:00").AsDateTime(), EConvertError);
    EXPECT_THROW(Variant("15/03/2023").AsDateTime(), EConvertError);
    EXPECT_THROW(Variant::FromDateTime(1e12).AsString(), EConvertError);
}

TEST(VariantTest, EqualityAcrossNumbersAndText) {
    EXPECT_EQ(Variant(3), Variant(3.0));
    EXPECT_EQ(Variant(true), Variant(-1));
    EXPECT_EQ(Variant(false), Variant(0.0));
    EXPECT_NE(Variant(true), Variant(2));
    EXPECT_EQ(Variant::FromDateTime(45000), Variant(45000));
    const int64_t big = (int64_t{1} << 53) + 1;
    EXPECT_NE(Variant(big), Variant(static_cast<double>(big))) << "large integers compare exactly";
    EXPECT_EQ(Variant("12"), Variant(12));
    EXPECT_EQ(Variant(2.5), Variant(" 2.5"));
    EXPECT_EQ(Variant("True"), Variant(true));
    EXPECT_EQ(Variant("2023-03-15"), Variant::FromDateTime(45000));
    EXPECT_THROW((void)(Variant("abc") == Variant(1)), EConvertError);
    EXPECT_NE(Variant("Abc"), Variant("abc"));
    EXPECT_TRUE(VarSameText(Variant("Abc"), Variant("aBC")));
    EXPECT_FALSE(VarSameText(Variant("Abc"), Variant("Abd")));
    EXPECT_TRUE(VarSameText(VarArrayOf({"X", 1}), VarArrayOf({"x", 1})));
}

TEST(VariantTest, BooleansMeetNumbersAsMinusOneAndZero) {
    EXPECT_EQ(Variant(true), Variant(-1));
    EXPECT_EQ(Variant(true), Variant(-1.0));
    EXPECT_NE(Variant(true), Variant(1));
    EXPECT_EQ(VarCompare(Variant(true), Variant(1)), -1) << "True < 1";
    EXPECT_EQ(VarCompare(Variant(true), Variant(0)), -1) << "True < False's 0";
    EXPECT_EQ(VarCompare(Variant(-2.5), Variant(true)), -1);
    EXPECT_EQ(VarCompare(Variant(false), Variant(0)), 0);
    EXPECT_EQ(VarCompare(Variant(true), Variant(false)), -1) << "as numbers, -1 < 0";
    EXPECT_EQ(Variant(true), Variant("True"));
}

TEST(VariantTest, TextReadsHexadecimalIntegers) {
    const std::pair<const char*, int64_t> read[] = {
        {"$FF", 255}, {"0x1F", 31}, {"0X1f", 31}, {"$ff", 255}, {"-$10", -16}, {"-0x10", -16}, {"+$FF", 255},
        {" $0A ", 10}, {"$7FFFFFFFFFFFFFFF", INT64_MAX}, {"$FFFFFFFFFFFFFFFF", -1}, {"$00000000000000001", 1}};
    for (const auto& [text, value] : read) EXPECT_EQ(Variant(text).AsInteger(), value) << text;
    for (const char* refused : {"$", "0x", "-$", "$-10", "$+1", "$1G", "$10000000000000000", "0x 1", "x1F", "--$1"})
        EXPECT_THROW(Variant(refused).AsInteger(), EConvertError) << refused;
    EXPECT_EQ(Variant("$FF"), Variant(255)) << "compared as the integer it reads as";
    EXPECT_THROW(Variant("$FF").AsFloat(), EConvertError) << "a float has no hexadecimal form";
}

TEST(VariantTest, NativeStringsReportTheStringTypeCode) {
    EXPECT_EQ(Variant("x").VarType(), 0x0100);
    EXPECT_EQ(Variant(std::string()).VarType(), varString);
}

TEST(VariantTest, CompareOrdersNullFirstThenValues) {
    EXPECT_EQ(VarCompare(Variant(), Variant::Null()), -1);
    EXPECT_EQ(VarCompare(Variant::Null(), Variant(-5)), -1);
    EXPECT_EQ(VarCompare(Variant("a"), Variant::Null()), 1);
    EXPECT_EQ(VarCompare(Variant::Null(), Variant::Null()), 0);
    EXPECT_EQ(VarCompare(Variant(), Variant()), 0);
    EXPECT_EQ(VarCompare(Variant(2), Variant(2.5)), -1);
    EXPECT_EQ(VarCompare(Variant("10"), Variant(9)), 1) << "by value, not by text";
    EXPECT_EQ(VarCompare(Variant("abc"), Variant("abz")), -1) << "exactly -1, not a byte difference";
    EXPECT_EQ(VarCompare(Variant("B"), Variant("a")), -1) << "byte-wise";
    EXPECT_EQ(VarCompare(Variant(std::numeric_limits<int64_t>::max()), Variant(9223372036854775807.0)), -1);
    EXPECT_EQ(VarCompare(Variant(std::nan("")), Variant(1e300)), 1);
    EXPECT_THROW(VarCompare(VarArrayOf({1}), Variant(1)), EVariantError);
}

TEST(VariantTest, ArraysHaveBoundsAndUnassignedElements) {
    Variant a = VarArrayCreate(1, 3);
    EXPECT_EQ(a.VarType(), varArray | varVariant);
    EXPECT_EQ(VarArrayDimCount(a), 1);
    EXPECT_EQ(VarArrayLowBound(a, 1), 1);
    EXPECT_EQ(VarArrayHighBound(a, 1), 3);
    EXPECT_TRUE(VarIsEmpty(a[2]));
    VarArrayPut(a, "x", 3);
    EXPECT_EQ(VarArrayGet(a, 3), Variant("x"));
    EXPECT_THROW(a[0], EVariantError);
    EXPECT_THROW(VarArrayGet(a, 4), EVariantError);
    EXPECT_THROW(VarArrayHighBound(a, 2), EVariantError);
    EXPECT_THROW(a.AsString(), EVariantError);
    EXPECT_THROW(VarArrayCreate(0, 1, varInteger), EVariantError);
    EXPECT_EQ(VarArrayCreate(0, -1).HighBound(), -1);
    const Variant scalar(5);
    EXPECT_EQ(VarArrayDimCount(scalar), 0);
    EXPECT_THROW(scalar.LowBound(), EVariantError);
    EXPECT_THROW(VarArrayHighBound(scalar, 1), EVariantError);
    EXPECT_THROW(VarArrayGet(scalar, 0), EVariantError);
    const Variant list = VarArrayOf({1, "b", Variant::Null(), Variant()});
    EXPECT_EQ(list.LowBound(), 0);
    EXPECT_EQ(list.HighBound(), 3);
    EXPECT_EQ(Show(list), "[1, \"b\", Null, Unassigned]");
}

TEST(VariantTest, ArrayCopiesAreDeepAndEqualityNeedsSameBounds) {
    Variant a = VarArrayOf({1, VarArrayOf({"inner"})});
    Variant copy = a;
    copy[1][0] = "changed";
    EXPECT_EQ(a[1][0], Variant("inner"));
    Variant assigned;
    assigned = a;
    assigned[0] = 2;
    EXPECT_EQ(a[0], Variant(1));
    Variant moved = std::move(copy);
    EXPECT_TRUE(copy.IsEmpty()); // NOLINT: a moved-from variant is unassigned by design
    EXPECT_EQ(moved[1][0], Variant("changed"));

    EXPECT_EQ(VarArrayOf({1, "b"}), VarArrayOf({1.0, "b"}));
    EXPECT_NE(VarArrayOf({1, "b"}), VarArrayOf({1, "c"}));
    EXPECT_NE(VarArrayOf({1}), VarArrayOf({1, 2}));
    Variant shifted = VarArrayCreate(1, 2), unshifted = VarArrayCreate(0, 1);
    EXPECT_NE(shifted, unshifted);
    EXPECT_NE(VarArrayOf({1}), Variant(1));
}

TEST(VariantTest, AssigningBetweenAnArrayAndItsElementsIsSafe) {
    Variant a = VarArrayOf({7, "s"});
    a = a[0];
    EXPECT_EQ(a, Variant(7));

    a = VarArrayOf({"keep", 2});
    a[1] = a;
    EXPECT_EQ(a[1][0], Variant("keep"));
    EXPECT_EQ(a[1][1], Variant(2));

    a = std::move(a[1]);
    EXPECT_EQ(a, VarArrayOf({"keep", 2}));
    a = a[0];
    EXPECT_EQ(a, Variant("keep"));
}

} // namespace
