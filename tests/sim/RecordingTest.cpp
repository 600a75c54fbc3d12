// Recordings: SigMF and WAV read and written, whole files compared, and every kind of bad input
// refused with one line.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstring>

#include "sim/Recording.h"
#include "sim/SignalTestSupport.h"

namespace gc::sim {
namespace {

using testing::readAll;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

std::string le16(int v) {
    const auto u = static_cast<std::uint16_t>(static_cast<std::int16_t>(v));
    return std::string{static_cast<char>(u & 0xff), static_cast<char>(u >> 8)};
}
std::string be16(int v) {
    const std::string le = le16(v);
    return std::string{le[1], le[0]};
}
std::string le32(std::uint32_t u) {
    return std::string{static_cast<char>(u & 0xff), static_cast<char>((u >> 8) & 0xff),
                       static_cast<char>((u >> 16) & 0xff), static_cast<char>(u >> 24)};
}
std::string f32(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    return le32(u);
}

std::string meta(const std::string& datatype, const std::string& extra = "") {
    return R"({"global": {"core:datatype": ")" + datatype +
           R"(", "core:sample_rate": 48000, "core:version": "1.0.0"},
 "captures": [{"core:sample_start": 0, "core:frequency": 1e6}], "annotations": [)" +
           extra + "]}";
}

// The one line a bad input is refused with.
std::string refusal(const std::string& path) {
    try {
        (void)openRecording(path);
    } catch (const SignalError& e) {
        EXPECT_EQ(e.kind(), SignalError::Kind::BadInput);
        EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
        return e.what();
    }
    ADD_FAILURE() << path << " was accepted";
    return {};
}

TEST(SigmfTest, ReadsTheDatatypes) {
    ScratchFolder folder("gc-sigmf-read");
    // ri16_le: x / 32768.
    writeBytes(folder.file("a.sigmf-meta"), meta("ri16_le"));
    writeBytes(folder.file("a.sigmf-data"), le16(0) + le16(16384) + le16(-32768) + le16(32767));
    auto a = openRecording(folder.file("a.sigmf-meta"));
    EXPECT_FALSE(a->complexSamples());
    EXPECT_DOUBLE_EQ(a->sampleRateHz(), 48000.0);
    EXPECT_DOUBLE_EQ(a->centreFrequencyHz(), 1e6);
    EXPECT_EQ(a->totalSamples(), 4u);
    EXPECT_EQ(readAll(*a, 3),
              (std::vector<Sample>{{0, 0}, {0.5f, 0}, {-1, 0}, {32767 / 32768.0f, 0}}));

    // ci16_be.
    writeBytes(folder.file("b.sigmf-meta"), meta("ci16_be"));
    writeBytes(folder.file("b.sigmf-data"), be16(8192) + be16(-8192) + be16(1) + be16(0));
    auto b = openRecording(folder.file("b.sigmf-meta"));
    EXPECT_TRUE(b->complexSamples());
    EXPECT_EQ(readAll(*b), (std::vector<Sample>{{0.25f, -0.25f}, {1 / 32768.0f, 0}}));

    // rf32_le and cf32_le, with a header skipped.
    writeBytes(
        folder.file("c.sigmf-meta"),
        R"({"global": {"core:datatype": "cf32_le"}, "captures": [{"core:header_bytes": 4}]})");
    writeBytes(folder.file("c.sigmf-data"), "HEAD" + f32(0.125f) + f32(-3.5f));
    EXPECT_EQ(readAll(*openRecording(folder.file("c.sigmf-meta"))),
              (std::vector<Sample>{{0.125f, -3.5f}}));
    writeBytes(folder.file("d.sigmf-meta"), meta("rf32_le"));
    writeBytes(folder.file("d.sigmf-data"), f32(0.75f));
    EXPECT_EQ(readAll(*openRecording(folder.file("d.sigmf-meta"))),
              (std::vector<Sample>{{0.75f, 0}}));

    // cu8: (x - 128) / 128.
    writeBytes(folder.file("e.sigmf-meta"), meta("cu8"));
    writeBytes(folder.file("e.sigmf-data"), std::string{'\x80', '\x00', '\xff', '\xc0'});
    EXPECT_EQ(readAll(*openRecording(folder.file("e.sigmf-meta"))),
              (std::vector<Sample>{{0, -1}, {127 / 128.0f, 0.5f}}));

    EXPECT_FALSE(parseSigmfDatatype("ci16"));  // a 16-bit word must say its byte order
    EXPECT_FALSE(parseSigmfDatatype("cf16_le"));
    EXPECT_FALSE(parseSigmfDatatype("ci8_le"));
    EXPECT_TRUE(parseSigmfDatatype("rf64_be"));
    EXPECT_EQ(sigmfDataPath("x/rec.sigmf-meta"), "x/rec.sigmf-data");
}

TEST(SigmfTest, WritesMetaAndDataWholeAndReadsThemBack) {
    ScratchFolder folder("gc-sigmf-write");
    const RecordingInfo info{1250000.0, 21400000.0, "channel 0 of x.trv"};
    const std::vector<Sample> samples{
        {0.5f, -0.25f}, {1.5f, -2.0f}, {-1.0f, 0.0f}, {3e-5f, -3e-5f}};

    auto sink = createRecording(folder.file("out.sigmf-meta"), info, OutputSampleFormat::Float32);
    sink->write(samples.data(), 1);
    sink->write(samples.data() + 1, 3);
    EXPECT_TRUE(folder.names().size() == 1 && folder.names()[0].rfind(".gc4016-", 0) == 0)
        << "only a temporary until the run completes";
    sink->commit();
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"out.sigmf-data", "out.sigmf-meta"}));
    EXPECT_EQ(readBytes(folder.file("out.sigmf-meta")),
              "{\n"
              "  \"global\": {\n"
              "    \"core:datatype\": \"cf32_le\",\n"
              "    \"core:sample_rate\": 1250000.0,\n"
              "    \"core:version\": \"1.0.0\",\n"
              "    \"core:description\": \"channel 0 of x.trv\",\n"
              "    \"core:recorder\": \"gc4016\"\n"
              "  },\n"
              "  \"captures\": [\n"
              "    {\n"
              "      \"core:sample_start\": 0,\n"
              "      \"core:frequency\": 21400000.0\n"
              "    }\n"
              "  ],\n"
              "  \"annotations\": []\n"
              "}\n");
    std::string data;
    for (const Sample& s : samples) data += f32(s.real()) + f32(s.imag());
    EXPECT_EQ(readBytes(folder.file("out.sigmf-data")), data);
    auto back = openRecording(folder.file("out.sigmf-meta"));
    EXPECT_EQ(readAll(*back), samples);
    EXPECT_DOUBLE_EQ(back->sampleRateHz(), 1250000.0);
    EXPECT_DOUBLE_EQ(back->centreFrequencyHz(), 21400000.0);

    // ci16_le: x * 32768 rounded and saturated.
    auto ints = createRecording(folder.file("i.sigmf-meta"), info, OutputSampleFormat::Int16);
    ints->write(samples.data(), samples.size());
    ints->commit();
    EXPECT_NE(readBytes(folder.file("i.sigmf-meta")).find("\"core:datatype\": \"ci16_le\""),
              std::string::npos);
    EXPECT_EQ(readBytes(folder.file("i.sigmf-data")), le16(16384) + le16(-8192) + le16(32767) +
                                                          le16(-32768) + le16(-32768) + le16(0) +
                                                          le16(1) + le16(-1));

    // An old recording stays whole when a new one is abandoned.
    {
        auto abandoned = createRecording(folder.file("out.sigmf-meta"), {1.0, 0.0, ""},
                                         OutputSampleFormat::Int16);
        abandoned->write(samples.data(), 2);
    }
    EXPECT_EQ(readBytes(folder.file("out.sigmf-data")), data);
    EXPECT_EQ(folder.names().size(), 4u);
}

TEST(SigmfTest, RefusesBadInputWithOneLine) {
    ScratchFolder folder("gc-sigmf-bad");
    const auto at = [&folder](const std::string& name) { return folder.file(name); };
    EXPECT_NE(refusal(at("none.sigmf-meta")).find("none.sigmf-meta"), std::string::npos);
    ::mkdir(at("dir.sigmf-meta").c_str(), 0755);
    EXPECT_NE(refusal(at("dir.sigmf-meta")).find("каталог"), std::string::npos);

    // A FIFO as the meta or as the data is refused at once, never opened for reading.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(::mkfifo(at("fifo.sigmf-meta").c_str(), 0644), 0);
    EXPECT_NE(refusal(at("fifo.sigmf-meta")).find("не обычный файл"), std::string::npos);
    writeBytes(at("f.sigmf-meta"), meta("ci16_le"));
    ASSERT_EQ(::mkfifo(at("f.sigmf-data").c_str(), 0644), 0);
    EXPECT_NE(refusal(at("f.sigmf-meta")).find("f.sigmf-data"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    const auto damaged = [&](const std::string& metaText, const std::string& dataBytes) {
        writeBytes(at("x.sigmf-meta"), metaText);
        writeBytes(at("x.sigmf-data"), dataBytes);
        return refusal(at("x.sigmf-meta"));
    };
    const std::string four = le16(1) + le16(2) + le16(3) + le16(4);
    EXPECT_NE(damaged("{\"global\": ", four).find("не JSON"), std::string::npos);
    EXPECT_NE(damaged("[1, 2]", four).find("global"), std::string::npos);
    EXPECT_NE(damaged(R"({"global": {}})", four).find("core:datatype"), std::string::npos);
    EXPECT_NE(damaged(meta("ci12_le"), four).find("ci12_le"), std::string::npos);
    EXPECT_NE(damaged(meta("ci16"), four).find("неизвестный тип"), std::string::npos);
    EXPECT_NE(damaged(R"({"global": {"core:datatype": "ri16_le", "core:sample_rate": -1}})", four)
                  .find("core:sample_rate"),
              std::string::npos);
    EXPECT_NE(damaged(meta("ci16_le"), four + "x").find("не кратна"), std::string::npos);
    EXPECT_NE(damaged(meta("ci16_le"), "").find("не содержит"), std::string::npos);
    // Data shorter than its meta says: an annotation reaches sample 3, the data holds 2.
    EXPECT_NE(damaged(meta("ci16_le", R"({"core:sample_start": 1, "core:sample_count": 2})"), four)
                  .find("короче"),
              std::string::npos);
    EXPECT_NE(
        damaged(
            R"({"global": {"core:datatype": "ri16_le"}, "captures": [{"core:sample_start": 9}]})",
            four)
            .find("короче"),
        std::string::npos);
    // ... and exactly as long is fine.
    writeBytes(at("ok.sigmf-meta"),
               meta("ci16_le", R"({"core:sample_start": 0, "core:sample_count": 2})"));
    writeBytes(at("ok.sigmf-data"), four);
    EXPECT_EQ(openRecording(at("ok.sigmf-meta"))->totalSamples(), 2u);
    // The data file gone.
    writeBytes(at("lone.sigmf-meta"), meta("ci16_le"));
    EXPECT_NE(refusal(at("lone.sigmf-meta")).find("lone.sigmf-data"), std::string::npos);
    // Neither SigMF nor WAV by name.
    EXPECT_NE(refusal(at("rec.iq")).find("NAME.sigmf-meta"), std::string::npos);

    // A data file that shrinks while read is reported when the samples run out.
    writeBytes(at("s.sigmf-meta"), meta("ri16_le"));
    writeBytes(at("s.sigmf-data"), four);
    auto shrinking = openRecording(at("s.sigmf-meta"));
    ::truncate(at("s.sigmf-data").c_str(), 2);
    std::vector<Sample> buffer(4);
    EXPECT_THROW((void)shrinking->read(buffer.data(), 4), SignalError);
}

std::string wavFile(int channels, int rate, const std::vector<int>& values, int bits = 16) {
    std::string data;
    for (int v : values) data += bits == 16 ? le16(v) : std::string(1, static_cast<char>(v));
    const int block = channels * bits / 8;
    return "RIFF" + le32(36 + static_cast<std::uint32_t>(data.size())) + "WAVE" + "fmt " +
           le32(16) + le16(1) + le16(channels) + le32(static_cast<std::uint32_t>(rate)) +
           le32(static_cast<std::uint32_t>(rate * block)) + le16(block) + le16(bits) + "data" +
           le32(static_cast<std::uint32_t>(data.size())) + data;
}

TEST(WavTest, ReadsOneChannelRealAndTwoChannelsIq) {
    ScratchFolder folder("gc-wav-read");
    writeBytes(folder.file("mono.wav"), wavFile(1, 96000, {16384, -32768, 0}));
    auto mono = openRecording(folder.file("mono.wav"));
    EXPECT_FALSE(mono->complexSamples());
    EXPECT_DOUBLE_EQ(mono->sampleRateHz(), 96000.0);
    EXPECT_EQ(readAll(*mono, 2), (std::vector<Sample>{{0.5f, 0}, {-1, 0}, {0, 0}}));

    writeBytes(folder.file("iq.WAV"), wavFile(2, 8000, {8192, -16384, 1, 2}));
    auto iq = openRecording(folder.file("iq.WAV"));
    EXPECT_TRUE(iq->complexSamples());
    EXPECT_EQ(readAll(*iq), (std::vector<Sample>{{0.25f, -0.5f}, {1 / 32768.0f, 2 / 32768.0f}}));
}

TEST(WavTest, WritesIqFloatAndSixteenBitAndReadsThemBack) {
    ScratchFolder folder("gc-wav-write");
    const std::vector<Sample> samples{{0.5f, -0.25f}, {0.123456f, -0.999f}, {2.0f, -2.0f}};
    for (const auto format : {OutputSampleFormat::Float32, OutputSampleFormat::Int16}) {
        const std::string path =
            folder.file(format == OutputSampleFormat::Float32 ? "f.wav" : "i.wav");
        auto sink = createRecording(path, {48000.4, 0.0, ""}, format);
        sink->write(samples.data(), samples.size());
        sink->commit();
        auto back = openRecording(path);
        EXPECT_TRUE(back->complexSamples());
        EXPECT_DOUBLE_EQ(back->sampleRateHz(), 48000.0);  // WAV holds whole hertz
        const std::vector<Sample> read = readAll(*back);
        ASSERT_EQ(read.size(), samples.size());
        if (format == OutputSampleFormat::Float32) {
            EXPECT_EQ(read, samples);
        } else {
            for (int k = 0; k < 2; ++k) {
                EXPECT_NEAR(read[k].real(), samples[k].real(), 1.0 / 32768);
                EXPECT_NEAR(read[k].imag(), samples[k].imag(), 1.0 / 32768);
            }
            // Beyond full scale saturates, never wraps.
            EXPECT_NEAR(read[2].real(), 1.0, 1.0 / 16384);
            EXPECT_NEAR(read[2].imag(), -1.0, 1.0 / 16384);
        }
    }
    // 16-bit: the header and the words, whole.
    EXPECT_EQ(readBytes(folder.file("i.wav")).substr(0, 4), "RIFF");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"f.wav", "i.wav"}));
}

TEST(WavTest, RefusesBadInputWithOneLine) {
    ScratchFolder folder("gc-wav-bad");
    writeBytes(folder.file("junk.wav"), "this is no wave file at all, just text");
    EXPECT_NE(refusal(folder.file("junk.wav")).find("повреждён"), std::string::npos);
    writeBytes(folder.file("three.wav"), wavFile(3, 8000, {1, 2, 3}));
    EXPECT_NE(refusal(folder.file("three.wav")).find("3"), std::string::npos);
    // Cut short: the header claims three samples, two are there.
    const std::string whole = wavFile(1, 8000, {1, 2, 3});
    writeBytes(folder.file("cut.wav"), whole.substr(0, whole.size() - 2));
    EXPECT_NE(refusal(folder.file("cut.wav")).find("короче"), std::string::npos);
    writeBytes(folder.file("empty.wav"), wavFile(1, 8000, {}));
    EXPECT_NE(refusal(folder.file("empty.wav")).find("не содержит"), std::string::npos);
    // A device under a WAV name.
    std::filesystem::create_symlink("/dev/zero", folder.file("zero.wav"));
    EXPECT_NE(refusal(folder.file("zero.wav")).find("не обычный файл"), std::string::npos);
    // An output that cannot be made.
    EXPECT_THROW((void)createRecording(folder.file("no/such/out.wav"), {8000, 0, ""},
                                       OutputSampleFormat::Float32),
                 SignalError);
}

}  // namespace
}  // namespace gc::sim
