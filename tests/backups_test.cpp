// Automatic backups: when they are written and where, the three kept in
// turn, what a save and a clean exit leave, and the recovery offered at the
// next start.
#include "app/backups.h"

#include <filesystem>

#include "app/commands.h"
#include "app/resource.h"
#include "model/map.h"
#include "model/map_file.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "tests/test_support.h"

namespace {

class BackupsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        backupMinutes = 3;
        EndBackups();
    }
    void TearDown() override {
        EndBackups();
        EditorTest::TearDown();
    }
};

TEST_F(BackupsTest, WrittenEveryIntervalWhileModifiedThreeInTurn) {
    RunScript("sector 0 0 0 128 128 128 128 0");
    ASSERT_EQ(mapModified, 1);
    struct Tick {
        double at;
        bool written;
        int number;  // the backup written
    } ticks[] = {
        {1000, false, 0},  // modified from here on
        {1179, false, 0}, {1180, true, 1}, {1200, false, 0}, {1360, true, 2}, {1540, true, 3}, {1720, true, 1},
    };
    for (const Tick& t : ticks) {
        EXPECT_EQ(BackupIfDue(t.at), t.written) << t.at;
        if (!t.written) continue;
        const std::string path = BackupPath("untitled.kdm", t.number);
        EXPECT_EQ(ReadFileBytes(path), EncodeMapFile()) << t.at;
        EXPECT_EQ(ReadFileBytes(kRecoveryNote), "untitled.kdm\n" + path + "\n") << t.at;
        RunScript("thing 1 " + std::to_string(static_cast<int>(t.at) % 100) + " 10");
    }
    EXPECT_FALSE(FileExists("untitled.kdm")) << "a backup never writes the map file";
    EXPECT_FALSE(FileExists(BackupPath("untitled.kdm", 4)));

    // Off, or nothing unsaved: nothing is written, and the wait starts again.
    backupMinutes = 0;
    EXPECT_FALSE(BackupIfDue(5000));
    backupMinutes = 3;
    mapModified = 0;
    EXPECT_FALSE(BackupIfDue(6000));
    mapModified = 1;
    EXPECT_FALSE(BackupIfDue(6001));
    EXPECT_FALSE(BackupIfDue(6180));
    EXPECT_TRUE(BackupIfDue(6181));
}

TEST_F(BackupsTest, BesideTheMapFileAndGoneAfterASaveAndACleanExit) {
    std::filesystem::create_directory("maps");
    SetMapFileName("maps/rooms.kdm");
    ASSERT_TRUE(SaveMapFile());
    const std::string saved = ReadFileBytes("maps/rooms.kdm");
    RunScript("sector 0 0 0 128 128 128 128 0");
    BackupIfDue(0);
    ASSERT_TRUE(BackupIfDue(180));
    EXPECT_TRUE(FileExists("maps/rooms.kdm.bak1"));
    EXPECT_EQ(ReadFileBytes("maps/rooms.kdm"), saved);

    // A save makes the map file the truth: the note goes, the map file is the save's.
    ASSERT_TRUE(RunCommand(IDM_SAVE));
    EXPECT_FALSE(FileExists(kRecoveryNote));
    EXPECT_EQ(ReadFileBytes("maps/rooms.kdm"), EncodeMapFile());

    RunScript("thing 1 64 64");
    BackupIfDue(1000);
    ASSERT_TRUE(BackupIfDue(1180));
    EXPECT_TRUE(FileExists(kRecoveryNote));
    EndBackups();
    EXPECT_FALSE(FileExists(kRecoveryNote));
    EXPECT_FALSE(FileExists("maps/rooms.kdm.bak1"));
    EXPECT_FALSE(FileExists("maps/rooms.kdm.bak2"));
    EXPECT_TRUE(FileExists("maps/rooms.kdm")) << "the user's own file stays";
}

TEST_F(BackupsTest, RecoveryRestoresTheNewestBackupAsModifiedWorkWhenAsked) {
    SetMapFileName("rooms.kdm");
    ASSERT_TRUE(SaveMapFile());
    RunScript("sector 0 0 0 128 128 128 128 0\nthing 1 64 64");
    BackupIfDue(0);
    ASSERT_TRUE(BackupIfDue(180));
    const std::string unsaved = EncodeMapFile();

    for (const Answer answer : {Answer::kNo, Answer::kYes}) {
        // The editor ended without a clean exit; it starts again untitled.
        if (answer == Answer::kYes) WriteWholeFile(kRecoveryNote, "rooms.kdm\nrooms.kdm.bak1\n", false);
        ASSERT_TRUE(FileExists(kRecoveryNote));
        ResetMapState();
        QueueAnswer(answer);
        const bool restored = OfferBackupRecovery();
        ASSERT_EQ(Headless().questions.size(), 1u);
        EXPECT_NE(Headless().questions[0].find("rooms.kdm.bak1"), std::string::npos);
        if (answer == Answer::kNo) {
            EXPECT_FALSE(restored);
            EXPECT_EQ(numsectors, 0);
            EXPECT_EQ(mapFilePath, "untitled.kdm");
            EXPECT_FALSE(FileExists(kRecoveryNote)) << "asked once";
        } else {
            EXPECT_TRUE(restored);
            EXPECT_EQ(EncodeMapFile(), unsaved);
            EXPECT_EQ(mapFilePath, "rooms.kdm");
            EXPECT_EQ(mapModified, 1);
            EXPECT_NE(ReadFileBytes("rooms.kdm"), unsaved) << "the map file is left as the user saved it";
        }
    }

    // Nothing to offer: no note, or a note whose backup is gone.
    ResetMapState();
    EXPECT_FALSE(OfferBackupRecovery());
    WriteWholeFile(kRecoveryNote, "rooms.kdm\nmissing.bak1\n", false);
    EXPECT_FALSE(OfferBackupRecovery());
    EXPECT_TRUE(Headless().questions.empty());
}

}  // namespace
