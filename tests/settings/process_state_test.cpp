// One process holds one memory manager, one settings store and one last-error
// record, whichever module reaches them: state the library's own code
// changes is what this program reads, through calls and through the
// process-wide objects it addresses directly. In a shared build this
// program links the shared library, so a second copy of any of them (a
// static copy pulled in beside it, a data object imported wrongly) shows.
#include "store_fixture.h"

#include "ezu/ezu.h"

namespace {

class StatePlugin : public TEzuPluginBase {
  public:
    StatePlugin() : TEzuPluginBase(nullptr) {}
    TStr name() const override { return "process_state"; }
    TStr description() const override { return "one state"; }
};

} // namespace

EZU_STORE_TEST_SUITE(ProcessState);

TEST_F(ProcessState, LibraryAndProgramShareOneState) {
    twice([] {
        // Memory: the blocks of a record the library allocates are counted
        // by the program's view of the counters, beside the program's own.
        const int blocks = mem_blocks_in_use();
        StrBuf* made = str_from_utf8("made by the library");
        ASSERT_NE(made, nullptr);
        const int made_blocks = mem_blocks_in_use() - blocks;
        EXPECT_GE(made_blocks, 1);
        void* block = mem_alloc(24);
        EXPECT_EQ(mem_blocks_in_use(), blocks + made_blocks + 1);
        mem_free(block);
        str_free(made);
        EXPECT_EQ(mem_blocks_in_use(), blocks);

        // Settings: what a plug-in sets through the library's code is read
        // back by the global calls and found in the store object itself.
        StatePlugin plugin;
        plugin.setString("colour", "teal", false);
        EXPECT_EQ(ezuGetString("process_state/colour"), TStr("teal"));
        const auto found = ezuStringSettings.findText("/tamri/global/process_state/colour");
        ASSERT_NE(found, ezuStringSettings.end());
        EXPECT_EQ(*found, TStr("teal"));
        ezuSetInt("process_state/width", 81, false);
        EXPECT_EQ(plugin.getInt("width"), 81);

        // Last error: the fault a conversion inside the library records is
        // the one the program reads.
        const char16_t lone_high[] = {0xD800, 'a', 0};
        const struct {
            const void* text;
            int bytes;
            int from;
            int room;
            int code;
        } rejected[] = {
            {"abc", 3, ENC_UTF8, 2, STR_ERR_OVERFLOW},
            {lone_high, 4, ENC_UTF16LE, 16, STR_ERR_INVALID},
        };
        for (const auto& c : rejected) {
            str_set_error(0, nullptr, 0, nullptr);
            char out[16];
            EXPECT_EQ(str_convert(c.text, c.bytes, c.from, out, c.room, ENC_UTF8), 0) << c.code;
            EXPECT_EQ(str_error_code(), c.code);
        }
    });
}
