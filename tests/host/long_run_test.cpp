// Long runs: the command runner, temporary files, TEzuPath streams and
// settings writes repeated many times. After each run the guarded block and
// byte counters and the number of open handles (file descriptors on POSIX)
// must be back where they started: nothing may pile up per iteration.
#include <stdio.h>

#include <string>

#include "ezu/ezu.h"
#include "ezu_test.h"
#include "host_support.h"

namespace {

// Starting a process is slow under the Windows build's test runner, so the
// command run is shorter there; everything else runs the same counts.
const int kCommandRuns = kTestingOnWindows ? 50 : 500;
const int kTempFileRuns = 2000;
const int kPathRuns = 3000;
const int kSettingsRuns = 5000;

// Takes the counters at construction and checks them against the end state.
class ResourceCheck {
  public:
    ResourceCheck()
        : blocks_(mem_blocks_in_use()), bytes_(mem_bytes_in_use()),
          handles_(plat_open_handle_count()) {
        EXPECT_GT(handles_, 0) << "the handle count is not available";
    }
    void expectBack(const char* run, int iterations) const {
        EXPECT_EQ(mem_blocks_in_use(), blocks_) << run;
        EXPECT_EQ(mem_bytes_in_use(), bytes_) << run;
        EXPECT_EQ(plat_open_handle_count(), handles_) << run;
        printf(
            "[ long run ] %s: %d iterations; blocks %d -> %d, bytes %d -> %d, handles %d -> %d\n",
            run, iterations, blocks_, mem_blocks_in_use(), bytes_, mem_bytes_in_use(), handles_,
            plat_open_handle_count());
    }

  private:
    int blocks_;
    int bytes_;
    int handles_;
};

std::string text(const TStr& value) {
    return value.isEmpty() ? std::string() : value.ascii();
}

} // namespace

EZU_TEST_SUITE(HostLongRun);

// The settings store keeps every key it is given for the life of the process:
// the leak check starts once the test has created its keys.
class HostLongRunSettings : public EzuTest {
  protected:
    void SetUp() override {}
    void startLeakCheck() { EzuTest::SetUp(); }
};

TEST_F(HostLongRun, HandleCountFollowsOpenFiles) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    TEzuPath path(hostText(inScratch(scratch, "counted.txt")));
    const int before = plat_open_handle_count();
    ASSERT_TRUE(path.open(ioWrite));
    EXPECT_EQ(plat_open_handle_count(), before + 1);
    path.close();
    EXPECT_EQ(plat_open_handle_count(), before);
    EXPECT_EQ(path.remove(), 0);
}

TEST_F(HostLongRun, CommandRunner) {
    TStr output;
    // Warm-up: the first run may fill the run-time's own lazily made state.
    ezuRunCommand(TStr("echo warm"), output);
    output = TStr();
    const ResourceCheck check;
    for (int i = 0; i < kCommandRuns; ++i) {
        const std::string word = "run" + std::to_string(i);
        const std::string command =
            kTestingOnWindows ? "echo " + word + "& exit 3" : "echo " + word + "; exit 3";
        const int status = ezuRunCommand(TStr(command.c_str()), output);
        ASSERT_EQ(status, 3) << i;
        ASSERT_EQ(text(output), word + "\n") << i;
    }
    output = TStr();
    check.expectBack("command runner", kCommandRuns);
}

TEST_F(HostLongRun, TemporaryFiles) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    HostEnvOverride tmpdir("TMPDIR", scratch.path().c_str());
    TEzuPath(tempFileName("lr", true)).remove(); // warm-up
    const ResourceCheck check;
    for (int i = 0; i < kTempFileRuns; ++i) {
        TEzuPath name(tempFileName("lr", true));
        ASSERT_FALSE(name.isEmpty()) << i;
        ASSERT_TRUE(name.isFile()) << i;
        ASSERT_EQ(name.remove(), 0) << i;
    }
    check.expectBack("temporary files", kTempFileRuns);
    EXPECT_TRUE(TEzuPath(hostText(scratch.path())).isDirectory());
}

TEST_F(HostLongRun, PathOpenWriteReadClose) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    TEzuPath path(hostText(scratch.file("stream.bin")));
    path.open(ioWrite); // warm-up
    path.close();
    const ResourceCheck check;
    for (int i = 0; i < kPathRuns; ++i) {
        const std::string content = std::to_string(i);
        ASSERT_TRUE(path.open(ioWrite)) << i;
        ASSERT_EQ(path.write(content.data(), int(content.size())), int(content.size())) << i;
        path.close();
        char back[16] = {};
        ASSERT_TRUE(path.open(ioRead)) << i;
        ASSERT_EQ(path.read(back, sizeof back), int(content.size())) << i;
        ASSERT_EQ(std::string(back), content) << i;
        // Every other round leaves the stream to the next open or to the
        // destructor of a copy-assigned path, which must close it too.
        if (i % 2 == 0)
            path.close();
        else
            path = TEzuPath(hostText(scratch.path())).join("stream.bin");
    }
    path.close();
    check.expectBack("TEzuPath open/close", kPathRuns);
}

TEST_F(HostLongRunSettings, Writes) {
    const int kKeys = 16;
    // Each key is created by the first round, which the store keeps for the
    // life of the process; later rounds only replace values.
    auto round = [kKeys](int i) {
        for (int k = 0; k < kKeys; ++k) {
            const TStr key = TStr("longRun/key%1").arg(k);
            ezuSetInt(key, i * k, k % 2 == 0);
            ezuSetString(key + "/text", TStr("v%1").arg(std::string(size_t(i % 40), 'x').c_str()),
                         true);
        }
        TEzuStrList list;
        list.append(TStr("a"));
        list.append(TStr("b").arg(i));
        ezuSetStringList("longRun/list", list, false);
        ezuSetDouble("longRun/double", i / 4.0, true);
    };
    round(0);
    startLeakCheck();
    const ResourceCheck check;
    for (int i = 1; i <= kSettingsRuns; ++i) {
        round(i);
        ASSERT_EQ(ezuGetInt(TStr("longRun/key%1").arg(kKeys - 1)), i * (kKeys - 1)) << i;
        ASSERT_EQ(ezuGetDouble("longRun/double"), i / 4.0) << i;
    }
    EXPECT_EQ(ezuGetStringList("longRun/list").size(), 2);
    // The values of the first round again, so that every stored text has
    // its starting size.
    round(0);
    check.expectBack("settings writes", kSettingsRuns);
}
