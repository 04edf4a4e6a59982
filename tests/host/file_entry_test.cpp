#include <string>

#include "ezu/ezu.h"
#include "ezu/settings/settings.h"
#include "ezu_test.h"
#include "host_support.h"

namespace {

std::string text(const TStr& value) {
    return hostUtf8(value);
}

const char* kRelativeName = "ezu_host_report.txt";

// The settings key of a complete path: every run of "\/.;:" becomes one "_",
// runs at either end go.
std::string keyOf(const std::string& path) {
    std::string key;
    bool pending = false;
    for (char c : path) {
        if (std::string("\\/.;:").find(c) != std::string::npos) {
            pending = !key.empty();
            continue;
        }
        if (pending)
            key += '_';
        pending = false;
        key += c;
    }
    return key;
}

std::string stored(const std::string& key) {
    return text(ezuGetString(hostText("/tamri/global/" + key)));
}

std::string relativeKey() {
    return keyOf(ezu_test_current_dir() + "\\" + kRelativeName);
}

} // namespace

// The settings store keeps every key it is given for the life of the process.
// The keys these tests write are created before the leak check starts, with
// the values the tests leave behind, so that the check sees only the entries.
class HostFileEntry : public EzuTest {
  protected:
    void SetUp() override {
        ezuSetString("C_Data_report_txt_disable", "0", true);
        ezuSetString("C_Data_notes_txt_comment", "stored comment", true);
        ezuSetString("C_Other_x_txt_comment", "mine", true);
        ezuSetString(hostText(relativeKey() + "_comment"), "relative", true);
        ezuSetString("C_Unstored_src_txt_comment", "note", true);
        EzuTest::SetUp();
    }
};

TEST_F(HostFileEntry, EnabledStateIsSharedThroughTheStore) {
    TEzuFile first("C:\\Data\\report.txt", 1, true);
    first.setEnabled(false);
    EXPECT_FALSE(first.enabled());
    EXPECT_EQ(stored("C_Data_report_txt_disable"), "1");

    // The constructor does not read the store; setPath does.
    TEzuFile second("C:\\Other\\y.txt", 2, true);
    EXPECT_TRUE(second.enabled());
    second.setPath("C:\\Data\\report.txt");
    EXPECT_FALSE(second.enabled());
    TEzuFile slashed("C:\\Other\\y.txt", 3, true);
    slashed.setPath("C:/Data/report.txt");
    EXPECT_FALSE(slashed.enabled());

    // A stored 0 leaves the entry's own state: the store only disables.
    first.setEnabled(true);
    EXPECT_EQ(stored("C_Data_report_txt_disable"), "0");
    TEzuFile enabled("C:\\Other\\y.txt", 4, true);
    enabled.setPath("C:\\Data\\report.txt");
    EXPECT_TRUE(enabled.enabled());
    TEzuFile disabled("C:\\Other\\y.txt", 5, false);
    disabled.setPath("C:\\Data\\report.txt");
    EXPECT_FALSE(disabled.enabled());
}

TEST_F(HostFileEntry, CommentIsSharedUnlessTheEntryHasOne) {
    TEzuFile writer("C:\\Data\\notes.txt", 1, true);
    writer.setComment("stored comment");
    EXPECT_EQ(stored("C_Data_notes_txt_comment"), "stored comment");

    TEzuFile reader("C:\\Elsewhere\\z.txt", 2, true);
    EXPECT_EQ(text(reader.comment()), "");
    reader.setPath("C:\\Data\\notes.txt");
    EXPECT_EQ(text(reader.comment()), "stored comment");
    EXPECT_TRUE(reader.enabled());

    TEzuFile own("C:\\Other\\x.txt", 3, true);
    own.setComment("mine");
    EXPECT_EQ(stored("C_Other_x_txt_comment"), "mine");
    own.setPath("C:\\Data\\notes.txt");
    EXPECT_EQ(text(own.comment()), "mine");
    EXPECT_EQ(text(own.path()), "C:\\Data\\notes.txt");
    // The old path's state stays in the store, the new one is untouched.
    EXPECT_EQ(stored("C_Other_x_txt_comment"), "mine");
    EXPECT_EQ(stored("C_Data_notes_txt_comment"), "stored comment");
}

TEST_F(HostFileEntry, RelativePathSharesTheKeyOfItsCompleteForm) {
    const std::string complete = ezu_test_current_dir() + "\\" + kRelativeName;
    TEzuFile relative(kRelativeName, 1, true);
    EXPECT_EQ(text(relative.absolutePath()), complete);
    relative.setComment("relative");
    EXPECT_EQ(stored(relativeKey() + "_comment"), "relative");

    TEzuFile absolute("C:\\Elsewhere\\z.txt", 2, true);
    absolute.setPath(hostText(complete));
    EXPECT_EQ(text(absolute.comment()), "relative");
}

TEST_F(HostFileEntry, PathParts) {
    const TEzuFile entry("C:\\Data\\report.txt", 7, true);
    EXPECT_EQ(text(entry.name()), "report.txt");
    EXPECT_EQ(text(entry.extension()), "txt");
    EXPECT_EQ(text(entry.absolutePath()), "C:\\Data\\report.txt");
    EXPECT_EQ(text(entry.path()), "C:\\Data\\report.txt");
    const TEzuFile bare("C:\\Data\\README", 7, true);
    EXPECT_EQ(text(bare.name()), "README");
    EXPECT_EQ(text(bare.extension()), "");
    // The path is UTF-8: a name with non-ASCII letters keeps them.
    const TEzuFile accented("C:\\Jos\xC3\xA9\\r\xC3\xA9sum\xC3\xA9.txt", 7, true);
    EXPECT_EQ(text(accented.name()), "r\xC3\xA9sum\xC3\xA9.txt");
    EXPECT_EQ(text(accented.absolutePath()), "C:\\Jos\xC3\xA9\\r\xC3\xA9sum\xC3\xA9.txt");
}

TEST_F(HostFileEntry, PathWithNothingStoredChangesNothing) {
    TEzuFile entry("C:\\Unstored\\a.txt", 9, true);
    entry.setExtraText("extra");
    EXPECT_EQ(text(entry.itemText()), "extra");
    entry.setPath("C:\\Unstored\\b.txt");
    EXPECT_TRUE(entry.enabled());
    EXPECT_EQ(text(entry.comment()), "");
    EXPECT_EQ(stored("C_Unstored_b_txt_comment"), "");
    EXPECT_EQ(stored("C_Unstored_b_txt_disable"), "");
}

TEST_F(HostFileEntry, CopyAndAssignment) {
    TEzuFile source("C:\\Unstored\\src.txt", 1, false);
    source.setMarkA(true).setMarkB(true);
    source.setExtraText("source text");
    source.setComment("note");

    const TEzuFile copy(source);
    EXPECT_EQ(text(copy.path()), "C:\\Unstored\\src.txt");
    EXPECT_EQ(copy.number(), 1);
    EXPECT_FALSE(copy.enabled());
    EXPECT_EQ(text(copy.comment()), "note");
    EXPECT_FALSE(copy.markA());
    EXPECT_TRUE(copy.markB());
    EXPECT_EQ(text(copy.extraText()), "");

    TEzuFile target("C:\\Unstored\\dst.txt", 2, true);
    target.setMarkA(false).setMarkB(false);
    target.setExtraText("target text");
    target = source;
    EXPECT_EQ(text(target.path()), "C:\\Unstored\\src.txt");
    EXPECT_EQ(target.number(), 1);
    EXPECT_FALSE(target.enabled());
    EXPECT_EQ(text(target.comment()), "note");
    EXPECT_FALSE(target.markA());
    EXPECT_FALSE(target.markB());
    EXPECT_EQ(text(target.extraText()), "target text");
}
