// Uses a few parts of an installed ezu: text, settings and console output.
// Prints "consumer: 42 4 C:\dir\file.txt".
#include <ezu/ezu.h>

int main() {
    TStr word;
    word.assignUtf8("caf\xC3\xA9"); // four characters, five bytes
    ezuSetInt("answer", 42, false);
    const TEzuPath path = TEzuPath("C:\\dir").join("file.txt");
    ezuPrint(TStr("consumer: %1 %2 %3\n").arg(ezuGetInt("answer")).arg(word.length()).arg(path));
    return ezuGetString("/tamri/global/answer") == "42" ? 0 : 1;
}
