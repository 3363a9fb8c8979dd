// Slot files on disk: a write that fails for any reason leaves the old slot
// as it was, a damaged slot falls back to its copy, and the slot screen's
// summary says what continuing would restore.
#include "save/SaveFixtures.h"
#include "save/SlotFile.h"
#include "save/SlotWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A new folder in the tests' own temporary folder, which the unprivileged
// child below may pass through.
std::string freshFolder(const std::string& name, mode_t mode = 0755)
{
    chmod(testing::TempDir().c_str(), 0711);
    std::string dir = std::string(testing::TempDir()) + "slots_" + name;
    std::system(("chmod -R u+w '" + dir + "' 2>/dev/null; rm -rf '" + dir + "'").c_str());
    mkdir(dir.c_str(), mode);
    chmod(dir.c_str(), mode);
    return dir + "/";
}

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

SAVE_STATE withCoins(int coins)
{
    SAVE_STATE s = richState();
    s.player.coin = coins;
    return s;
}

// Runs `work` in a child process, as an unprivileged user when the tests run
// as root (root ignores folder permissions), with at most `fileLimit` bytes
// per written file when given. Returns the child's result.
int inChild(const std::function<int()>& work, rlim_t fileLimit = RLIM_INFINITY)
{
    pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {fileLimit, fileLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(work());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// The bytes of a slot for a fixed state, as the game has always written
// them: however the writing changes, the files stay the same.
TEST(SlotFile, TheSlotOfAFixedStateKeepsItsBytes)
{
    std::string slot = freshFolder("golden") + "slot0.sav";
    ASSERT_EQ(writeSlot(slot.c_str(), richState(), nullptr, SlotBackup::none), 1);
    EXPECT_EQ(contents(slot), contents(GLOAMER_TEST_DATA "/save/rich.sav"));
}

// Each write keeps the previous good slot as its backup copy.
TEST(SlotFile, ADamagedSlotFallsBackToItsCopyAndNeverReplacesIt)
{
    std::string slot = freshFolder("fallback") + "slot1.sav";
    SAVE_STATE read;
    EXPECT_EQ(readSlot(slot.c_str(), read), SlotStatus::empty);
    ASSERT_EQ(writeSlot(slot.c_str(), withCoins(1)), 1);
    EXPECT_FALSE(exists(slot + ".bak"));
    ASSERT_EQ(writeSlot(slot.c_str(), withCoins(2)), 1);
    EXPECT_FALSE(exists(slot + ".tmp"));
    std::string good = contents(slot);
    std::ofstream(slot, std::ios::binary) << good.substr(0, good.size() / 2);

    testing::internal::CaptureStderr();
    ASSERT_EQ(readSlot(slot.c_str(), read), SlotStatus::good);
    EXPECT_EQ(read.player.coin, 1);
    ASSERT_EQ(readSlot(slot.c_str(), read), SlotStatus::good);
    std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(report, "gloamer: " + slot + " is damaged; the game goes on from its backup copy.\n")
        << "the player hears of it once, however often the menu reads it";
    EXPECT_EQ(readSlot(slot.c_str(), read, SlotBackup::none), SlotStatus::damaged);
    EXPECT_EQ(read.player.coin, 1);
    EXPECT_EQ(summarizeSlot(slot.c_str()).coin, 1);

    // Writing over the damaged slot keeps the good copy as it was.
    ASSERT_EQ(writeSlot(slot.c_str(), withCoins(3)), 1);
    ASSERT_EQ(readSlot((slot + ".bak").c_str(), read), SlotStatus::good);
    EXPECT_EQ(read.player.coin, 1);

    std::ofstream(slot, std::ios::binary) << "garbage";
    std::ofstream(slot + ".bak", std::ios::binary) << "garbage";
    EXPECT_EQ(readSlot(slot.c_str(), read), SlotStatus::damaged);
    EXPECT_EQ(read.player.coin, 1);
    EXPECT_EQ(summarizeSlot(slot.c_str()).status, SlotStatus::damaged);
}

// The game trusts the slot it wrote itself without reading it back; a slot
// changed since, even to the same size, is read again before it may become
// the backup.
TEST(SlotFile, ASlotChangedSinceTheGameWroteItIsCheckedBeforeItBecomesTheBackup)
{
    std::string slot = freshFolder("changed") + "slot1.sav";
    ASSERT_EQ(writeSlot(slot.c_str(), withCoins(1)), 1);
    ASSERT_EQ(writeSlot(slot.c_str(), withCoins(2)), 1);
    SAVE_STATE read;

    // The file's times move on by at least a clock tick of the file system.
    usleep(50000);
    std::string same = contents(slot);
    std::string damaged(same.size(), '\xFF');
    std::FILE* inPlace = std::fopen(slot.c_str(), "r+b");
    ASSERT_NE(inPlace, nullptr);
    ASSERT_EQ(std::fwrite(damaged.data(), 1, damaged.size(), inPlace), damaged.size());
    std::fclose(inPlace);
    testing::internal::CaptureStderr();
    ASSERT_EQ(writeSlot(slot.c_str(), withCoins(3)), 1);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(readSlot((slot + ".bak").c_str(), read), SlotStatus::good);
    EXPECT_EQ(read.player.coin, 1) << "the damaged slot did not become the backup";

    ASSERT_EQ(writeSlot(slot.c_str(), withCoins(4)), 1);
    ASSERT_EQ(readSlot((slot + ".bak").c_str(), read), SlotStatus::good);
    EXPECT_EQ(read.player.coin, 3) << "the slot the game wrote became the backup";
}

// Every failed write leaves the old slot, says why in the player's words,
// and leaves no temporary file behind; the next write tries again.
TEST(SlotFile, FailedWritesLeaveTheOldSlotAndSayWhy)
{
    SAVE_STATE big = withCoins(9);
    big.memories.push_back(memoryOf("./Level/big.lvl", 512, 512));
    // Run in a child, which hands its reason back as the exit code's index.
    const std::vector<std::string> reasons = {"", "the disk is full", "file too large", "permission denied",
                                              "the game holds values a save file cannot"};
    auto failing = [&](const std::string& slot, const SAVE_STATE& state) {
        return [&, slot] {
            std::string why;
            writeSlot(slot.c_str(), state, nullptr, SlotBackup::use, &why);
            return int(std::find(reasons.begin(), reasons.end(), why) - reasons.begin());
        };
    };

    // A folder the game may not write into.
    std::string readOnly = freshFolder("readonly") + "slot2.sav";
    ASSERT_EQ(writeSlot(readOnly.c_str(), withCoins(1)), 1);
    chmod(readOnly.substr(0, readOnly.rfind('/')).c_str(), 0555);
    EXPECT_EQ(inChild(failing(readOnly, big)), 3);

    // A size limit: the temporary file cannot take the whole slot.
    std::string limited = freshFolder("limited", 0777) + "slot3.sav";
    ASSERT_EQ(inChild([&] { return writeSlot(limited.c_str(), withCoins(1)); }, 100000), 1);
    EXPECT_EQ(inChild(failing(limited, big), 100000), 2);
    EXPECT_EQ(inChild(failing(limited, big), 100000), 2) << "the next door tries again";

    // A full disk.
    std::string full = freshFolder("full") + "slot0.sav";
    ASSERT_EQ(writeSlot(full.c_str(), withCoins(1)), 1);
    ASSERT_EQ(symlink("/dev/full", (full + ".tmp").c_str()), 0);
    EXPECT_EQ(failing(full, big)(), 1);

    // What the reader would refuse is never written.
    std::string refused = freshFolder("refused") + "slot1.sav";
    ASSERT_EQ(writeSlot(refused.c_str(), withCoins(1)), 1);
    SAVE_STATE faraway = withCoins(2);
    faraway.player.x = savePositionLimit + 1;
    EXPECT_EQ(failing(refused, faraway)(), 4);
    EXPECT_FALSE(exists(refused + ".bak")) << "nothing was touched";

    for (const std::string& slot : {readOnly, limited, full, refused}) {
        SAVE_STATE read;
        ASSERT_EQ(readSlot(slot.c_str(), read, SlotBackup::none), SlotStatus::good) << slot;
        EXPECT_EQ(read.player.coin, 1) << slot;
        EXPECT_FALSE(exists(slot + ".tmp")) << slot;
        EXPECT_FALSE(exists(slot + ".bak.tmp")) << slot;
    }
    chmod(readOnly.substr(0, readOnly.rfind('/')).c_str(), 0755);
    ASSERT_EQ(writeSlot(refused.c_str(), withCoins(3)), 1);
    SAVE_STATE backup;
    ASSERT_EQ(readSlot((refused + ".bak").c_str(), backup), SlotStatus::good);
    EXPECT_EQ(backup.player.coin, 1) << "the last good slot became the backup";
}

TEST(SlotFile, AFailedRenameAfterTheTemporaryFileLeavesTheOldSlot)
{
    // In a sticky folder only its owner may replace a file: the temporary
    // file is written, the rename over root's slot is refused.
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to own the slot and drop to another user";
    std::string folder = freshFolder("rename", 01777);
    ASSERT_EQ(inChild([&] { return writeSlot((folder + "own.sav").c_str(), withCoins(1)); }), 1);
    std::string slot = folder + "slot4.sav";
    ASSERT_EQ(writeSlot(slot.c_str(), withCoins(1)), 1);
    EXPECT_EQ(inChild([&] { return writeSlot(slot.c_str(), withCoins(2)); }), 0);
    SAVE_STATE read;
    ASSERT_EQ(readSlot(slot.c_str(), read, SlotBackup::none), SlotStatus::good);
    EXPECT_EQ(read.player.coin, 1);
    EXPECT_FALSE(exists(slot + ".tmp"));
}

// Empty and damaged slots are summarized through the menu's slot screen.
TEST(SlotFile, SummariesAndTheTextForm)
{
    char line[64];
    std::string folder = freshFolder("summary");
    SAVE_STATE s = richState();  // 4 lives, 12 diamonds, one key among three objects
    for (int coins : {7, 123}) {
        s.player.coin = coins;
        ASSERT_EQ(writeSlot((folder + "slot1.sav").c_str(), s), 1);
        formatSlotSummary(summarizeSlot((folder + "slot1.sav").c_str()), line, sizeof line);
        EXPECT_STREQ(line, coins < 100 ? "  04   07   12   01" : "  04   123  12   01");
    }

    std::string text = folder + "state.txt";
    ASSERT_EQ(writeSlotText(text.c_str(), s), 1);
    std::string written = contents(text);
    EXPECT_EQ(written.substr(written.size() - 4), "\nEND");
    SAVE_STATE read;
    ASSERT_EQ(readSlotText(text.c_str(), read), 1);
    EXPECT_EQ(read.player.coin, 123);
    EXPECT_EQ(read.objects.size(), 3u);
}

// The writer's thread: the newest snapshot is the one on the disk once it
// finishes, a failure is told once, and nothing handed over is lost when
// the writer goes.
TEST(SlotWriter, TheNewestSnapshotReachesTheDiskAndFailuresAreToldOnce)
{
    std::string folder = freshFolder("writer");
    std::string slot = folder + "slot0.sav";
    {
        SlotWriter writer;
        for (int coins = 1; coins <= 20; coins++)
            writer.store(slot.c_str(), withCoins(coins), "./Level/metro3.lvl");
        writer.finish();
        EXPECT_FALSE(writer.busy());
        SAVE_STATE read;
        ASSERT_EQ(readSlot(slot.c_str(), read, SlotBackup::none), SlotStatus::good);
        EXPECT_EQ(read.player.coin, 20);
        EXPECT_STREQ(read.level, "./Level/metro3.lvl");
        EXPECT_EQ(writer.takeFailure(), "");

        ASSERT_EQ(symlink("/dev/full", (slot + ".tmp").c_str()), 0);
        writer.store(slot.c_str(), withCoins(21));
        writer.finish();
        EXPECT_EQ(writer.takeFailure(), "the disk is full");
        EXPECT_EQ(writer.takeFailure(), "") << "told once";
        writer.store(slot.c_str(), withCoins(22));
    }
    SAVE_STATE read;
    ASSERT_EQ(readSlot(slot.c_str(), read, SlotBackup::none), SlotStatus::good);
    EXPECT_EQ(read.player.coin, 22) << "written before the writer went";
    EXPECT_EQ(contents(folder + "slot0.sav.bak").size(), contents(slot).size());
}
