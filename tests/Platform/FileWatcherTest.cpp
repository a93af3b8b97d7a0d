// Watching a game's folder with real files: what counts as a change.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Platform/FileWatcher.h"

namespace fs = std::filesystem;

class FileWatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "velden-watch-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir = templ;
        fs::create_directories(dir / "Data/Scripts/levels");
        write("Data/Scripts/INIT_test.lua");
        write("Data/Scripts/levels/meadow.lua");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    void write(const std::string& path, const std::string& text = "-- a script") {
        std::ofstream(dir / path, std::ios::binary) << text;
    }

    fs::path dir;
};

TEST_F(FileWatcherTest, SavesRenamesDeletionsAndNewFoldersAreChanges) {
    FileWatcher watcher((dir / "Data").string());
    ASSERT_TRUE(watcher.watching());
    EXPECT_FALSE(watcher.changed());

    // Each way an editor or a tool saves, once; every change is told once.
    write("Data/Scripts/levels/meadow.lua", "-- saved in place");
    EXPECT_TRUE(watcher.changed());
    EXPECT_FALSE(watcher.changed());
    write("Data/Scripts/levels/meadow.lua.new", "-- saved beside, then moved over");
    fs::rename(dir / "Data/Scripts/levels/meadow.lua.new", dir / "Data/Scripts/levels/meadow.lua");
    EXPECT_TRUE(watcher.changed());
    fs::remove(dir / "Data/Scripts/INIT_test.lua");
    EXPECT_TRUE(watcher.changed());
    fs::rename(dir / "Data/Scripts/levels/meadow.lua", dir / "meadow.lua");
    EXPECT_TRUE(watcher.changed());
    EXPECT_FALSE(watcher.changed());

    // A folder made later is a change, and what is saved in it is watched.
    fs::create_directories(dir / "Data/Sounds/birds");
    EXPECT_TRUE(watcher.changed());
    write("Data/Sounds/birds/song.wav", "RIFF");
    EXPECT_TRUE(watcher.changed());
}

TEST_F(FileWatcherTest, HiddenFilesBackupsReadsAndFilesOutsideAreNoChanges) {
    FileWatcher watcher((dir / "Data").string());
    ASSERT_TRUE(watcher.watching());
    write("Data/Scripts/.meadow.lua.swp", "swap");
    write("Data/Scripts/levels/meadow.lua~", "backup");
    fs::create_directories(dir / "Data/.cache/deep");
    write("Data/.cache/deep/x.lua");
    write("outside.txt", "not the game's data");
    std::ifstream(dir / "Data/Scripts/INIT_test.lua").get();
    EXPECT_FALSE(watcher.changed());
}

TEST_F(FileWatcherTest, AFolderThatCannotBeWatchedIsSaidSo) {
    FileWatcher watcher((dir / "NoSuchFolder").string());
    EXPECT_FALSE(watcher.watching());
    EXPECT_FALSE(watcher.changed());
}
