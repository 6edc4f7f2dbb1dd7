#include "script/import_audio_answer.h"

#include <gtest/gtest.h>

#include "../exchange/exchange_test_support.h"
#include "exchange/audio_import.h"

namespace morvane::script {
namespace {

TEST(ImportChoices, OfferTheTagsLengthAndDescribeEachChoice) {
    exchange::test::TempFolder folder;
    const std::string path = folder.File("odd.wav");
    exchange::test::WriteAll(
        path, exchange::test::MakeWav(exchange::test::CurveFrames(3, 1000),
                                      {exchange::test::TextChunk("clm ", "<!>1000")}));
    const exchange::AudioFile file = exchange::ReadAudioFile(path);
    const ui::ImportAudioChoices choices = ui::MakeImportAudioChoices(file, 1, 5);
    EXPECT_EQ(choices.FileName, "\"odd.wav\"");
    EXPECT_EQ(choices.TagText, "'clm ' chunk: 1,000 samples per frame");
    EXPECT_EQ(choices.FrameLengths, (std::vector<int>{1000, 128, 256, 512, 1024, 2048, 4096, 0}));
    EXPECT_EQ(choices.FrameLengthTexts.front(), "1000 samples (from the 'clm ' chunk)");
    EXPECT_EQ(choices.FrameLengthTexts[1], "128 samples");
    EXPECT_EQ(choices.FrameLengthTexts.back(), "Whole file as one cycle (3,000 samples)");
    EXPECT_EQ(choices.Proposed, 0);
    EXPECT_EQ(choices.FramesFound(0), "3 frames of 1,000 samples");
    EXPECT_EQ(
        choices.Mapping(0),
        (std::vector<std::string>{
            "Wave 1: frame 1", "Wave 2: frames 1 and 2 morphed, 50 % of frame 2", "Wave 3: frame 2",
            "Wave 4: frames 2 and 3 morphed, 50 % of frame 3", "Wave 5: frame 3"}));
    EXPECT_TRUE(choices.Mapping(6).empty()); // 4096: no whole frame
    EXPECT_EQ(choices.FramesFound(6), "No whole frame of 4,096 samples in 3,000 samples");

    // The scripted answer.
    std::string line;
    std::string failure;
    ui::ImportAudioAnswer answer = AnswerImportAudio(
        choices, ParseImportAudio({"importaudio", "auto", "keep", "ok"}), line, failure);
    EXPECT_TRUE(answer.Ok);
    EXPECT_EQ(answer.FrameLength, 1000);
    EXPECT_FALSE(answer.Normalise);
    EXPECT_EQ(line,
              "import-audio: \"odd.wav\" | WAV, 32-bit float, mono, 44,100 Hz | 'clm ' chunk: "
              "1,000 samples per frame | 3 frames of 1,000 samples -> 1000 keep ok");
    answer = AnswerImportAudio(
        choices, ParseImportAudio({"importaudio", "whole", "normalise", "cancel"}), line, failure);
    EXPECT_FALSE(answer.Ok);
    EXPECT_EQ(answer.FrameLength, 0);
    EXPECT_TRUE(failure.empty());
    answer = AnswerImportAudio(choices, ParseImportAudio({"importaudio", "300", "normalise", "ok"}),
                               line, failure);
    EXPECT_FALSE(answer.Ok);
    EXPECT_EQ(failure, "the audio import dialog offers no frame length 300");

    for (const std::vector<std::string> &bad :
         {std::vector<std::string>{"importaudio", "auto", "normalise"},
          {"importaudio", "-5", "keep", "ok"},
          {"importaudio", "auto", "loud", "ok"},
          {"importaudio", "auto", "keep", "yes"}})
        EXPECT_THROW(ParseImportAudio(bad), ScriptError);
}

} // namespace
} // namespace morvane::script
