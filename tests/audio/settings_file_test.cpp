#include "audio/audio_settings_file.h"
#include "files/settings_file.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "document/error.h"
#include "support/file_contents.h"
#include "support/temp_folder.h"

namespace morvane::audio {
namespace {

namespace fs = std::filesystem;

const std::string kDefaultFile = "[AudioOutput]\n"
                                 "WaveAudioDevice=0\n"
                                 "WaveChannels=2\n"
                                 "WaveSamplesPerSec=44100\n"
                                 "WaveBlockAlign=4\n"
                                 "WaveBitsPerSample=16\n";

using testing_support::ReadText;
using testing_support::TempFolder;
using testing_support::WriteText;

TEST(SettingsFile, WithoutAFileTheDefaultsApplyAndTheSaveWritesThemInOrder) {
    TempFolder folder;
    const fs::path path = folder.Path() / "morvane.ini";
    AudioSettings settings{5, 1, 8000, 2, 8};
    audio::LoadAudioSettings(settings, path);
    EXPECT_EQ(settings, (AudioSettings{0, 2, 44100, 4, 16}));

    audio::SaveAudioSettings(settings, path);
    EXPECT_EQ(ReadText(path), kDefaultFile);
    // Only the file itself remains: the temporary file was renamed over it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator{}), 1);
}

TEST(SettingsFile, SavedValuesReadBack) {
    TempFolder folder;
    const fs::path path = folder.Path() / "morvane.ini";
    const AudioSettings saved{-1, 1, 22050, 2, 16};
    audio::SaveAudioSettings(saved, path);
    audio::SaveAudioSettings(saved, path); // a second save changes nothing
    EXPECT_EQ(ReadText(path), "[AudioOutput]\nWaveAudioDevice=-1\nWaveChannels=1\n"
                              "WaveSamplesPerSec=22050\nWaveBlockAlign=2\n"
                              "WaveBitsPerSample=16\n");
    AudioSettings loaded;
    audio::LoadAudioSettings(loaded, path);
    EXPECT_EQ(loaded, saved);
}

TEST(SettingsFile, AHandEditedRateIsTakenAsItIs) {
    TempFolder folder;
    const fs::path path = folder.Path() / "morvane.ini";
    WriteText(path, "[AudioOutput]\nWaveAudioDevice=1\nWaveChannels=2\nWaveSamplesPerSec=8000\n"
                    "WaveBlockAlign=4\nWaveBitsPerSample=16\n");
    AudioSettings settings;
    audio::LoadAudioSettings(settings, path);
    EXPECT_EQ(settings, (AudioSettings{1, 2, 8000, 4, 16}));
}

TEST(SettingsFile, MissingKeysAndValuesThatAreNotIntegersGiveTheDefaults) {
    TempFolder folder;
    const fs::path path = folder.Path() / "morvane.ini";
    WriteText(path, "[AudioOutput]\n"
                    "WaveChannels=stereo\n"
                    "WaveSamplesPerSec=48000Hz\n"
                    "WaveBlockAlign=\n"
                    "WaveBitsPerSample=99999999999\n");
    AudioSettings settings{7, 7, 7, 7, 7};
    audio::LoadAudioSettings(settings, path);
    EXPECT_EQ(settings, (AudioSettings{0, 2, 44100, 4, 16}));

    // Keys in another section do not count.
    WriteText(path, "[Other]\nWaveChannels=1\n");
    audio::LoadAudioSettings(settings, path);
    EXPECT_EQ(settings.WaveChannels, 2);
}

TEST(SettingsFile, NamesMatchWithoutRegardToCaseAndSpacesAroundAreIgnored) {
    TempFolder folder;
    const fs::path path = folder.Path() / "morvane.ini";
    WriteText(path,
              "; audio\r\n[audiooutput]\r\n  wavechannels = 1 \r\nWAVESAMPLESPERSEC=+11025\r\n"
              "WaveBlockAlign=\"2\"\r\nWaveAudioDevice=-1\r\nWaveChannels=2\r\n");
    AudioSettings settings;
    audio::LoadAudioSettings(settings, path);
    // The first of two equal keys counts.
    EXPECT_EQ(settings, (AudioSettings{-1, 1, 11025, 2, 16}));
}

TEST(SettingsFile, OtherSectionsKeysAndCommentsAreKept) {
    TempFolder folder;
    const fs::path path = folder.Path() / "morvane.ini";
    WriteText(path, "; written by hand\n"
                    "[Window]\n"
                    "Left=10\n"
                    "\n"
                    "[AudioOutput]\n"
                    "# the card\n"
                    "WaveSamplesPerSec=8000\n"
                    "Extra=yes\n"
                    "\n"
                    "[Last]\n"
                    "Key=value");
    audio::SaveAudioSettings(AudioSettings{2, 1, 11025, 2, 16}, path);
    // The existing key is rewritten in place; the missing ones follow the section's last
    // entry in their order; the blank line before the next section stays.
    EXPECT_EQ(ReadText(path), "; written by hand\n"
                              "[Window]\n"
                              "Left=10\n"
                              "\n"
                              "[AudioOutput]\n"
                              "# the card\n"
                              "WaveSamplesPerSec=11025\n"
                              "Extra=yes\n"
                              "WaveAudioDevice=2\n"
                              "WaveChannels=1\n"
                              "WaveBlockAlign=2\n"
                              "WaveBitsPerSample=16\n"
                              "\n"
                              "[Last]\n"
                              "Key=value\n");
}

TEST(SettingsFile, MissingSectionIsAddedAtTheEndWithTheFilesLineEndings) {
    TempFolder folder;
    const fs::path path = folder.Path() / "morvane.ini";
    WriteText(path, "[Window]\r\nLeft=10");
    audio::SaveAudioSettings(AudioSettings{}, path);
    EXPECT_EQ(ReadText(path), "[Window]\r\nLeft=10\r\n\r\n[AudioOutput]\r\nWaveAudioDevice=0\r\n"
                              "WaveChannels=2\r\nWaveSamplesPerSec=44100\r\nWaveBlockAlign=4\r\n"
                              "WaveBitsPerSample=16\r\n");
}

TEST(SettingsFile, FolderOfTheFileIsCreated) {
    TempFolder folder;
    const fs::path path = folder.Path() / "config" / "morvane" / "morvane.ini";
    audio::SaveAudioSettings(AudioSettings{}, path);
    EXPECT_EQ(ReadText(path), kDefaultFile);
}

TEST(SettingsFile, FailedSaveReportsThePathAndLeavesTheOldFile) {
    TempFolder folder;
    // A regular file where a folder should be: nothing can be created below it.
    const fs::path blocker = folder.Path() / "blocker";
    WriteText(blocker, "not a folder");
    const fs::path path = blocker / "morvane.ini";
    try {
        audio::SaveAudioSettings(AudioSettings{}, path);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path.string());
    }
    EXPECT_EQ(ReadText(blocker), "not a folder");

    // A folder in place of the file: the rename fails, the folder stays.
    const fs::path folderInTheWay = folder.Path() / "morvane.ini";
    fs::create_directories(folderInTheWay / "inside");
    EXPECT_THROW(audio::SaveAudioSettings(AudioSettings{}, folderInTheWay), Error);
    EXPECT_TRUE(fs::is_directory(folderInTheWay / "inside"));
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator{}), 2);
}

TEST(SettingsFile, LinkIsFollowedAndKept) {
    TempFolder folder;
    const fs::path real = folder.Path() / "real.ini";
    WriteText(real, "[Keep]\nA=1\n");
    const fs::path link = folder.Path() / "morvane.ini";
    fs::create_symlink(real, link);
    audio::SaveAudioSettings(AudioSettings{}, link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadText(real), "[Keep]\nA=1\n\n" + kDefaultFile);
}

TEST(SettingsFile, UnreadableFileGivesTheDefaults) {
    TempFolder folder;
    AudioSettings settings{3, 1, 11025, 2, 16};
    audio::LoadAudioSettings(settings, folder.Path()); // a folder, not a file
    EXPECT_EQ(settings, AudioSettings{});
}

TEST(SettingsFile, FifoIsTreatedAsAbsentAndNeverReplaced) {
    TempFolder folder;
    const fs::path fifo = folder.Path() / "morvane.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    AudioSettings settings{3, 1, 11025, 2, 16};
    audio::LoadAudioSettings(settings, fifo); // returns at once: no writer is waited for
    EXPECT_EQ(settings, AudioSettings{});
    try {
        audio::SaveAudioSettings(AudioSettings{}, fifo);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + fifo.string());
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator{}), 1);
}

TEST(SettingsFilePath, BesideTheExecutableWhenWritableOrPresent) {
    TempFolder folder;
    EXPECT_EQ(files::SettingsFilePath(folder.Path(), "/xdg", "/home/u"),
              folder.Path() / "morvane.ini");
    // Installed there (root may write /usr/bin): the configuration folder, unless one was put
    // beside the program.
    EXPECT_EQ(files::SettingsFilePath(folder.Path(), "/xdg", "/home/u", folder.Path() / "."),
              fs::path("/xdg/morvane/morvane.ini"));
    std::ofstream(folder.Path() / "morvane.ini") << "";
    EXPECT_EQ(files::SettingsFilePath(folder.Path(), "/xdg", "/home/u", folder.Path()),
              folder.Path() / "morvane.ini");
}

TEST(SettingsFilePath, OtherwiseInTheUsersConfigFolder) {
    TempFolder folder;
    const fs::path missing = folder.Path() / "no-such-folder"; // neither present nor writable
    EXPECT_EQ(files::SettingsFilePath(missing, "/xdg", "/home/u"),
              fs::path("/xdg/morvane/morvane.ini"));
    EXPECT_EQ(files::SettingsFilePath(missing, "", "/home/u"),
              fs::path("/home/u/.config/morvane/morvane.ini"));
    // A relative XDG_CONFIG_HOME is ignored.
    EXPECT_EQ(files::SettingsFilePath(missing, "relative", "/home/u"),
              fs::path("/home/u/.config/morvane/morvane.ini"));
}

TEST(SettingsFilePath, DefaultIsBesideThisTestProgram) {
    // The build folder is writable, so the file goes beside the executable.
    EXPECT_EQ(files::DefaultSettingsFilePath(), files::ExecutableFolder() / "morvane.ini");
    EXPECT_TRUE(fs::exists(files::ExecutableFolder() / "tests_audio"));
}

TEST(IniText, ReadAndWriteOnTexts) {
    EXPECT_EQ(files::ReadIniValue("[A]\nk=v\n[B]\nk=w\n", "B", "K"), "w");
    EXPECT_EQ(files::ReadIniValue("[A]\n;k=v\nk = v 2 \n", "a", "k"), "v 2");
    EXPECT_FALSE(files::ReadIniValue("[A]\nk=v\n", "B", "k"));
    EXPECT_FALSE(files::ReadIniValue("k=v\n", "A", "k"));
    EXPECT_EQ(files::WriteIniValues("", "S", {{"a", "1"}, {"b", "2"}}), "[S]\na=1\nb=2\n");
    EXPECT_EQ(files::WriteIniValues("[S]\nb=0\n", "s", {{"a", "1"}, {"b", "2"}}),
              "[S]\nb=2\na=1\n");
}

} // namespace
} // namespace morvane::audio
