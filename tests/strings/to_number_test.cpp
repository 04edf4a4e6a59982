#include "ezu_test.h"
#include "str_ops_test_util.h"

EZU_TEST_SUITE(ToNumberTest);

TEST_F(ToNumberTest, ToIntReadsTheWholeText) {
    bool ok = false;
    EXPECT_EQ(TStr(" 42 ").toInt(&ok), 42);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("4x").toInt(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TStr("-2147483648").toInt(&ok), -2147483647 - 1);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("+7").toInt(&ok), 7);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("ff").toInt(&ok, 16), 255);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("FF").toInt(&ok, 16), 255);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("ff").toInt(&ok), 0); // not a base-10 number
    EXPECT_FALSE(ok);
}

TEST_F(ToNumberTest, ToIntRejectsValuesOutsideInt) {
    bool ok = true;
    EXPECT_EQ(TStr("2147483648").toInt(&ok), 0);
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(TStr("-2147483649").toInt(&ok), 0);
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(TStr("4294967296").toLong(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TStr("2147483647").toLong(&ok), 2147483647);
    EXPECT_TRUE(ok);
}

TEST_F(ToNumberTest, EmptyAndNullTextAreNotNumbers) {
    bool ok = true;
    EXPECT_EQ(TStr("").toInt(&ok), 0);
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(TStr().toLong(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TStr("12").toInt(), 12); // `ok` may be left out
    EXPECT_EQ(TStr("x").toLong(), 0);
}

TEST_F(ToNumberTest, ToDoubleNeedsTheWholeTextConsumed) {
    bool ok = false;
    EXPECT_EQ(TStr("1.5").toDouble(&ok), 1.5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr(" 3.5").toDouble(&ok), 3.5); // leading white space is skipped
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("1.5 ").toDouble(&ok), 1.5); // trailing white space is not
    EXPECT_FALSE(ok);
    EXPECT_EQ(TStr("12abc").toDouble(&ok), 12.0);
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(TStr("").toDouble(&ok), 0.0);
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(TStr().toDouble(&ok), 0.0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TStr("-2e3").toDouble(), -2000.0);
}

TEST_F(ToNumberTest, ToFloatNarrows) {
    bool ok = false;
    EXPECT_EQ(TStr("0.25").toFloat(&ok), 0.25f);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("0.1").toFloat(&ok), 0.1f);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("0.1x").toFloat(&ok), 0.1f);
    EXPECT_FALSE(ok);
}

TEST_F(ToNumberTest, NumbersRoundTripThroughArg) {
    bool ok = false;
    EXPECT_EQ(TStr("%1").arg(-123456).toInt(&ok), -123456);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("%1").arg(0xBEEF, 0, 16).toInt(&ok, 16), 0xBEEF);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TStr("%1").arg(2.5, 0, 'f', 3).toDouble(&ok), 2.5);
    EXPECT_TRUE(ok);
}
