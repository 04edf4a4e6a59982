// Inputs the fuzz targets found (fuzz/regressions/), kept as cases of the
// ordinary suite.
#include "ezu_test.h"

#include "ezu/ezu.h"

#include <float.h>
#include <math.h>

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
