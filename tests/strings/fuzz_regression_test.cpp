// Inputs the fuzz targets found (fuzz/regressions/), kept as cases of the
// ordinary suite.
#include "ezu_test.h"

#include "ezu/ezu.h"

#include <float.h>
#include <math.h>

#include <string>

EZU_TEST_SUITE(StringsFuzzRegression);

// The float writer's nine digits of FLT_MAX read as a double slightly above
// FLT_MAX, which still rounds to FLT_MAX; only from half a unit above it on
// does a value become infinity.
TEST_F(StringsFuzzRegression, FloatMaxTextReadsBackAsFloatMax) {
    for (const float value : {FLT_MAX, -FLT_MAX}) {
        StrBuf* text = str_from_float(value, 'g', 9);
        int ok = -1;
        EXPECT_EQ(str_to_float(text, &ok), value) << text->data;
        EXPECT_EQ(ok, 1);
        str_free(text);
    }
    struct Case {
        const char* text;
        float value;
    };
    const Case cases[] = {
        {"3.4028235677973362e38", FLT_MAX},   // the double just below the rounding boundary
        {"3.4028235677973366e38", HUGE_VALF}, // the boundary itself rounds to even: infinity
        {"-3.4028235677973362e38", -FLT_MAX},
        {"-3.4028235677973366e38", -HUGE_VALF},
    };
    for (const Case& c : cases) {
        bool ok = false;
        EXPECT_EQ(TStr(c.text).toFloat(&ok), c.value) << c.text;
        EXPECT_TRUE(ok);
    }
}

// A translation of a long text with many tokens: each token used to grow the
// result by exactly its own size, copying the whole text every time, so a
// megabyte took minutes. The result is the join with exactly one separator
// at each seam and a block of exactly its size.
TEST_F(StringsFuzzRegression, TranslatingManyTokensJoinsThemAll) {
    std::string text;
    std::string expected;
    for (int i = 0; i < 200000; ++i) {
        const char* token = i % 3 ? "ab" : "-c";
        text += token;
        text += i % 2 ? ",;" : ";";
        if (i)
            expected += token[0] == '-' ? "" : "-";
        expected += token;
    }
    TStr s(text.c_str());
    s.translate(",;", "-");
    EXPECT_TRUE(s == expected.c_str());
    EXPECT_EQ(s.buffer()->capacity, int(expected.size() + 1));
}
