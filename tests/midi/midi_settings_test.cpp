#include "midi/midi_settings.h"

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "audio/audio_settings_file.h"
#include "document/error.h"
#include "support/file_contents.h"
#include "support/temp_folder.h"

namespace morvane::midi {
namespace {

namespace fs = std::filesystem;

using testing_support::ReadText;
using testing_support::TempFolder;
using testing_support::WriteText;

const MidiOutputSettings kBlofeld{"alsa", "Blofeld:Blofeld MIDI 1 20:0", 250};

TEST(MidiSettingsFile, WithoutAFileEveryKeyHasItsDefault) {
    TempFolder folder;
    const MidiOutputSettings settings = LoadMidiOutputSettings(folder / "morvane.ini");
    EXPECT_EQ(settings.MidiApi, "");
    EXPECT_EQ(settings.MidiPort, "");
    EXPECT_EQ(settings.MidiPauseMs, 1000);
}

TEST(MidiSettingsFile, ANewFileHoldsTheSectionWithItsThreeKeysInOrder) {
    TempFolder folder;
    const fs::path path = folder / "sub" / "morvane.ini";
    SaveMidiOutputSettings(kBlofeld, path);
    EXPECT_EQ(ReadText(path), "[MidiOutput]\n"
                              "MidiApi=alsa\n"
                              "MidiPort=Blofeld:Blofeld MIDI 1 20:0\n"
                              "MidiPauseMs=250\n");
    EXPECT_EQ(LoadMidiOutputSettings(path), kBlofeld);
}

TEST(MidiSettingsFile, SavingKeepsTheAudioSectionAndEveryOtherLine) {
    TempFolder folder;
    const fs::path path = folder / "morvane.ini";
    const std::string before = "; written by hand\r\n"
                               "[AudioOutput]\r\n"
                               "WaveAudioDevice=1\r\n"
                               "WaveChannels=1\r\n"
                               "WaveSamplesPerSec=48000\r\n"
                               "WaveBlockAlign=2\r\n"
                               "WaveBitsPerSample=16\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "Key = kept as it is\r\n";
    WriteText(path, before);

    SaveMidiOutputSettings(kBlofeld, path);
    EXPECT_EQ(ReadText(path), before + "\r\n"
                                       "[MidiOutput]\r\n"
                                       "MidiApi=alsa\r\n"
                                       "MidiPort=Blofeld:Blofeld MIDI 1 20:0\r\n"
                                       "MidiPauseMs=250\r\n");
    audio::AudioSettings audio;
    audio::LoadAudioSettings(audio, path);
    EXPECT_EQ(audio.WaveAudioDevice, 1);
    EXPECT_EQ(audio.WaveSamplesPerSec, 48000);

    // The audio save at close keeps the MIDI section in turn.
    audio.WaveChannels = 2;
    audio::SaveAudioSettings(audio, path);
    EXPECT_EQ(LoadMidiOutputSettings(path), kBlofeld);

    // A second save rewrites the keys in place.
    const MidiOutputSettings jack{"jack", "receiver:in", 20};
    SaveMidiOutputSettings(jack, path);
    const std::string after = ReadText(path);
    EXPECT_THAT(after, ::testing::HasSubstr("[MidiOutput]\r\nMidiApi=jack\r\n"
                                            "MidiPort=receiver:in\r\nMidiPauseMs=20\r\n"));
    EXPECT_EQ(after.find("[MidiOutput]"), after.rfind("[MidiOutput]"));
    EXPECT_THAT(after, ::testing::HasSubstr("[Other]\r\nKey = kept as it is\r\n"));
    EXPECT_EQ(LoadMidiOutputSettings(path), jack);
}

TEST(MidiSettingsFile, PortNamesComeBackWithTheirBlanksAndQuotes) {
    TempFolder folder;
    const fs::path path = folder / "morvane.ini";
    for (const std::string name :
         {" padded name ", "\"quoted\"", "'single'", "a=b;c#d", "UM-ONE:UM-ONE MIDI 1 24:0", ""}) {
        SCOPED_TRACE(name);
        SaveMidiOutputSettings({"alsa", name, 1000}, path);
        EXPECT_EQ(LoadMidiOutputSettings(path).MidiPort, name);
    }
    EXPECT_EQ(IniStringValue("two\nlines"), "two lines");
}

TEST(MidiSettingsFile, AHandEditedPauseIsBroughtIntoRange) {
    TempFolder folder;
    const fs::path path = folder / "morvane.ini";
    const auto pauseFor = [&](const std::string &value) {
        WriteText(path, "[midioutput]\nmidiport=x\nMidiPauseMs=" + value + "\n");
        return LoadMidiOutputSettings(path).MidiPauseMs;
    };
    EXPECT_EQ(pauseFor("5"), 20);
    EXPECT_EQ(pauseFor("20"), 20);
    EXPECT_EQ(pauseFor("2000"), 2000);
    EXPECT_EQ(pauseFor("99999"), 2000);
    EXPECT_EQ(pauseFor("-3"), 20);
    EXPECT_EQ(pauseFor("+300"), 300);
    EXPECT_EQ(pauseFor("fast"), 1000);
    EXPECT_EQ(pauseFor("300ms"), 1000);
    EXPECT_EQ(pauseFor(""), 1000);
    EXPECT_EQ(pauseFor("99999999999"), 1000);
    EXPECT_EQ(LoadMidiOutputSettings(path).MidiPort, "x"); // names match without regard to case
}

TEST(MidiSettingsFile, AFailedSaveReportsThePathAndLeavesTheOldFileWhole) {
    TempFolder folder;
    const fs::path blocker = folder / "plain-file";
    WriteText(blocker, "not a folder");
    const fs::path path = blocker / "morvane.ini";
    try {
        SaveMidiOutputSettings(kBlofeld, path);
        ADD_FAILURE() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path.string());
    }
    EXPECT_EQ(ReadText(blocker), "not a folder");

    // An existing file that cannot be read is not replaced: its other sections would be lost.
    const fs::path folderAsFile = folder / "ini-folder";
    fs::create_directories(folderAsFile);
    EXPECT_THROW(SaveMidiOutputSettings(kBlofeld, folderAsFile), Error);
    EXPECT_TRUE(fs::is_directory(folderAsFile));
}

TEST(MidiSettingsFile, ASaveThroughALinkUpdatesTheFileItPointsAt) {
    TempFolder folder;
    const fs::path real = folder / "real.ini";
    WriteText(real, "[AudioOutput]\nWaveChannels=1\n");
    const fs::path link = folder / "morvane.ini";
    fs::create_symlink(real, link);
    SaveMidiOutputSettings(kBlofeld, link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(LoadMidiOutputSettings(real), kBlofeld);
    EXPECT_THAT(ReadText(real), ::testing::StartsWith("[AudioOutput]\nWaveChannels=1\n"));
}

} // namespace
} // namespace morvane::midi

namespace morvane::midi {
namespace {

TEST(MidiSettingsFile, TheInputHasItsOwnSectionBesideTheOutput) {
    const TempFolder folder;
    const fs::path path = folder.Path() / "morvane.ini";
    EXPECT_EQ(LoadMidiInputSettings(path), MidiInputSettings{});
    SaveMidiOutputSettings({"alsa", "Blofeld 20:0", 60}, path);
    SaveMidiInputSettings({"jack", " Keys "}, path);
    EXPECT_EQ(ReadText(path), "[MidiOutput]\nMidiApi=alsa\nMidiPort=Blofeld 20:0\n"
                              "MidiPauseMs=60\n\n[MidiInput]\nMidiApi=jack\nMidiPort=\" Keys \"\n");
    EXPECT_EQ(LoadMidiInputSettings(path), (MidiInputSettings{"jack", " Keys "}));
    EXPECT_EQ(LoadMidiOutputSettings(path).MidiPort, "Blofeld 20:0");
}

} // namespace
} // namespace morvane::midi
