#include "exchange/chunk_reader.h"

#include <gtest/gtest.h>

#include "document/error.h"
#include "exchange_test_support.h"

namespace morvane::exchange {
namespace {

using test::Bytes;

std::span<const std::uint8_t> Of(const std::string &text) {
    return {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()};
}

std::string Id(const Chunk &chunk) {
    return std::string(chunk.Id.data(), 4);
}

TEST(ReadChunks, WalksTheChunksOfAWaveFileInOrder) {
    const Bytes file = test::MakeWav({0.5, -0.5, 0.25},
                                     {test::TextChunk("clm ", "<!>2048"), test::SrgeChunk(1, 256)});
    const FileChunks chunks = ReadChunks(file);
    EXPECT_EQ(chunks.Kind, Container::Riff);
    EXPECT_FALSE(chunks.Truncated);
    ASSERT_EQ(chunks.Chunks.size(), 4u);
    EXPECT_EQ(Id(chunks.Chunks[0]), "fmt ");
    EXPECT_EQ(chunks.Chunks[0].Data.size(), 16u);
    // "<!>2048" is 7 bytes: the walk steps over its pad byte.
    EXPECT_EQ(Id(chunks.Chunks[1]), "clm ");
    EXPECT_EQ(std::string(chunks.Chunks[1].Data.begin(), chunks.Chunks[1].Data.end()), "<!>2048");
    EXPECT_EQ(Id(chunks.Chunks[2]), "srge");
    EXPECT_EQ(Id(chunks.Chunks[3]), "data");
    EXPECT_EQ(chunks.Chunks[3].Data.size(), 12u);
    // The data view lies at the end of the file: 4 bytes per float sample.
    EXPECT_EQ(chunks.Chunks[3].Data.data() + 12, file.data() + file.size());
    ASSERT_NE(chunks.Find("srge"), nullptr);
    EXPECT_EQ(chunks.Find("uhWT"), nullptr);
}

TEST(ReadChunks, ReportsAChunkCutShortAndStopsThere) {
    Bytes file = test::MakeWav(std::vector<double>(100, 0.1), {});
    file.resize(file.size() - 40); // 400 data bytes declared, 360 left
    const FileChunks chunks = ReadChunks(file);
    EXPECT_TRUE(chunks.Truncated);
    EXPECT_EQ(IdText(chunks.TruncatedId), "data");
    EXPECT_EQ(chunks.TruncatedDeclared, 400u);
    EXPECT_EQ(chunks.TruncatedPresent, 360u);
    ASSERT_EQ(chunks.Chunks.size(), 1u); // only 'fmt ' was whole

    // A size field that points far past the end of a tiny file.
    Bytes tiny = {'R', 'I', 'F', 'F', 20,  0,    0,    0,    'W',  'A', 'V',
                  'E', 'c', 'l', 'm', ' ', 0xFF, 0xFF, 0xFF, 0x7F, '<', '!'};
    const FileChunks cut = ReadChunks(tiny);
    EXPECT_TRUE(cut.Truncated);
    EXPECT_EQ(cut.TruncatedPresent, 2u);
}

TEST(ReadChunks, TakesAStreamingDataSizeAsReachingTheEnd) {
    Bytes file = test::MakeWav(std::vector<double>(10, 0.1), {});
    // The data size sits in the last 8 + 40 bytes: "data", size, samples.
    const std::size_t sizeAt = file.size() - 40 - 4;
    for (int i = 0; i < 4; ++i)
        file[sizeAt + static_cast<std::size_t>(i)] = 0xFF;
    const FileChunks chunks = ReadChunks(file);
    EXPECT_FALSE(chunks.Truncated);
    ASSERT_NE(chunks.Find("data"), nullptr);
    EXPECT_EQ(chunks.Find("data")->Data.size(), 40u);
}

TEST(ReadChunks, WalksAiffBigEndianAndIgnoresOtherFiles) {
    const Bytes aiff = {'F', 'O', 'R', 'M', 0, 0, 0, 22, 'A', 'I', 'F', 'F',
                        'C', 'O', 'M', 'M', 0, 0, 0, 3,  1,   2,   3,   0,
                        'S', 'S', 'N', 'D', 0, 0, 0, 2,  9,   9};
    const FileChunks chunks = ReadChunks(aiff);
    EXPECT_EQ(chunks.Kind, Container::Aiff);
    ASSERT_EQ(chunks.Chunks.size(), 2u);
    EXPECT_EQ(chunks.Chunks[0].Data.size(), 3u);
    EXPECT_EQ(Id(chunks.Chunks[1]), "SSND");

    for (const Bytes &other :
         {Bytes{}, Bytes{'R', 'I', 'F'}, Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '},
          Bytes{'f', 'L', 'a', 'C', 0, 0, 0, 34}}) {
        const FileChunks none = ReadChunks(other);
        EXPECT_EQ(none.Kind, Container::None);
        EXPECT_TRUE(none.Chunks.empty());
        EXPECT_FALSE(none.Truncated);
    }
}

TEST(FrameTags, ClmGivesTheNumberAfterItsMarker) {
    EXPECT_EQ(ClmFrameLength(Of("<!>2048 10000000 wavetable (Morvane)")), 2048);
    EXPECT_EQ(ClmFrameLength(Of("<!>256")), 256);
    EXPECT_EQ(ClmFrameLength(Of(std::string("<!>1024\0\0", 9))), 1024);
    for (const char *nonsense : {"", "<!>", "<!> 2048", "2048", "<!>abc", "<!>20x8", "<!>0", "<!>3",
                                 "<!>99999999999", "<!>-2048", "<!>5000000"}) {
        SCOPED_TRACE(nonsense);
        EXPECT_FALSE(ClmFrameLength(Of(nonsense)).has_value());
    }
}

TEST(FrameTags, SrgeGivesItsFrameSizeField) {
    EXPECT_EQ(SrgeFrameLength(test::SrgeChunk(1, 2048).Data), 2048);
    EXPECT_EQ(SrgeFrameLength(test::SrgeChunk(7, 512).Data), 512);
    EXPECT_FALSE(SrgeFrameLength(test::SrgeChunk(1, 0).Data));
    EXPECT_FALSE(SrgeFrameLength(test::SrgeChunk(1, 0xFFFFFFFFu).Data));
    Bytes shortChunk = test::SrgeChunk(1, 2048).Data;
    shortChunk.resize(6);
    EXPECT_FALSE(SrgeFrameLength(shortChunk));
}

TEST(FrameTags, CuePointsCountOnlyAtARegularSpacing) {
    EXPECT_EQ(CueSpacing(test::CueChunk({0, 512, 1024, 1536}).Data, 2048), 512);
    // Out of order, repeated, or without the point at 0: still a spacing of 512.
    EXPECT_EQ(CueSpacing(test::CueChunk({1024, 512, 1536, 512}).Data, 2048), 512);
    EXPECT_FALSE(CueSpacing(test::CueChunk({0, 512, 1000}).Data, 2048));   // irregular
    EXPECT_FALSE(CueSpacing(test::CueChunk({100, 612, 1124}).Data, 2048)); // not from the start
    EXPECT_FALSE(CueSpacing(test::CueChunk({0}).Data, 2048));              // one point
    EXPECT_FALSE(CueSpacing(test::CueChunk({0, 2048}).Data, 2048));        // beyond the data
    EXPECT_FALSE(CueSpacing(test::CueChunk({0, 1, 2}).Data, 2048));        // no cycle
    // A count larger than the points held reads only the points held.
    Bytes lying = test::CueChunk({0, 256, 512}).Data;
    lying[0] = 200;
    EXPECT_EQ(CueSpacing(lying, 1024), 256);
    EXPECT_FALSE(CueSpacing(Bytes{1, 0}, 1024));
}

TEST(FrameTags, SmplGivesTheFirstLoopsLength) {
    EXPECT_EQ(SmplLoopLength(test::SmplChunk(0, 255).Data, 1024), 256);
    EXPECT_EQ(SmplLoopLength(test::SmplChunk(0, 2047).Data, 2048), 2048);
    // An end at the very end of the file was written exclusive.
    EXPECT_EQ(SmplLoopLength(test::SmplChunk(0, 600).Data, 600), 600);
    EXPECT_FALSE(SmplLoopLength(test::SmplChunk(0, 700).Data, 600)); // past the end
    EXPECT_FALSE(SmplLoopLength(test::SmplChunk(50, 50).Data, 600)); // empty
    EXPECT_FALSE(SmplLoopLength(test::SmplChunk(50, 10).Data, 600)); // backwards
    Bytes noLoops = test::SmplChunk(0, 255).Data;
    noLoops[28] = 0;
    EXPECT_FALSE(SmplLoopLength(noLoops, 1024));
    Bytes cut = test::SmplChunk(0, 255).Data;
    cut.resize(46);
    EXPECT_FALSE(SmplLoopLength(cut, 1024));
}

Bytes WtHeader(std::uint32_t size, std::uint16_t count, std::uint16_t flags) {
    Bytes b = {'v', 'a', 'w', 't'};
    test::PutU32(b, size);
    test::PutU16(b, count);
    test::PutU16(b, flags);
    return b;
}

TEST(SurgeWtFile, ReadsItsHeaderAndChecksThatTheFramesAreThere) {
    Bytes file = WtHeader(256, 3, 0x04);
    file.resize(file.size() + 256 * 3 * 2);
    ASSERT_TRUE(IsSurgeWt(file));
    const SurgeWt wt = ReadSurgeWt(file, "\"t.wt\"");
    EXPECT_EQ(wt.FrameSize, 256);
    EXPECT_EQ(wt.FrameCount, 3);
    EXPECT_TRUE(wt.Int16);
    EXPECT_FALSE(wt.FullRange16);
    EXPECT_FALSE(wt.IsSample);
    EXPECT_EQ(wt.Data.size(), 1536u);

    file.pop_back();
    try {
        ReadSurgeWt(file, "\"t.wt\"");
        FAIL() << "a cut .wt was accepted";
    } catch (const Error &e) {
        EXPECT_STREQ(e.what(),
                     "\"t.wt\" is cut short: its frames need 1,536 bytes, only 1,535 are there.");
    }
    EXPECT_THROW(ReadSurgeWt(WtHeader(2048, 0, 0), "x"), Error);
    EXPECT_THROW(ReadSurgeWt(WtHeader(0, 5, 0), "x"), Error);
    EXPECT_THROW(ReadSurgeWt(WtHeader(0xFFFFFFFFu, 0xFFFF, 0), "x"), Error);
    EXPECT_THROW(ReadSurgeWt(Bytes{'v', 'a', 'w', 't', 0, 8}, "x"), Error);
    EXPECT_FALSE(IsSurgeWt(Bytes{'v', 'a', 'w'}));
}

} // namespace
} // namespace morvane::exchange
