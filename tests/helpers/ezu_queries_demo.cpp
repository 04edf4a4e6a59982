// Prints the answers of the process-wide queries whose results depend on how
// the process was started: the locale tag and the command-line arguments.
#include <stdio.h>

#include "ezu/ezu.h"

int main(int argc, char**) {
    printf("tag: %s\n", ezuLocaleTag().ascii());
    printf("again: %s\n", ezuLocaleTag().ascii());
    for (int i = 1; i <= argc; ++i)
        printf("arg%d: [%s]\n", i, ezuCommandLineArg(i).ascii());
    return 0;
}
