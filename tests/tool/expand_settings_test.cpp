// ezutool expand and ezutool settings.
#include "tool_test_util.h"

class ToolExpand : public ToolTest {};
class ToolSettings : public ToolTest {};

TEST_F(ToolExpand, ReplacesMarkersWithTheGivenValues) {
    const ToolRun result = run("expand " + shell_quote("x={a}.{b}/{c}") + " --set a=1 --set " +
                               shell_quote("{c}=<{a}>"));
    EXPECT_EQ(result.status, 0) << result.err;
    // '{b}' has no value and stays; a value's own marker is expanded too.
    EXPECT_EQ(result.out, "x=1.{b}/<1>\n");

    EXPECT_EQ(run("expand " + shell_quote("no markers")).out, "no markers\n");
    // Options may come before the text; a later value replaces an earlier.
    EXPECT_EQ(run("expand --set k=old --set k=new \"{k}{k}\"").out, "newnew\n");
}

TEST_F(ToolSettings, TypedRoundTripsInTheOrderGiven) {
    const ToolRun result =
        run(std::string("settings --set width=80 --get width --get /tamri/global/width") +
            " --set-int n=-42 --get-int n --get n" + " --set-double d=3.14159265 --get-double d" +
            " --set-list " + shell_quote("l=C:\\dir,a{b},x:y") + " --get-list l --get l" +
            " --get-int width --get-double missing --get missing");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "width = 80\n"
                          "/tamri/global/width = 80\n"
                          "n = -42\n"
                          "n = -42\n"
                          "d = 3.14159\n"
                          "l[0] = C:\\dir\n"
                          "l[1] = a{b}\n"
                          "l[2] = x:y\n"
                          "l = C!{3a}\\dir:a!{7b}b!{7d}:x!{3a}y\n"
                          "width = 80\n"
                          "missing = 0\n"
                          "missing = \n");

    // A usage error stops at the bad operation, after the ones before it.
    const ToolRun stopped = run("settings --set a=1 --get a --set-double d=x --get a");
    EXPECT_EQ(stopped.status, 2);
    EXPECT_EQ(stopped.out, "a = 1\n");
}
