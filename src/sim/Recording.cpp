#include "sim/Recording.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>
#include <vector>

#include "model/Language.h"
#include "model/TextFile.h"

namespace gc::sim {

namespace m = gc::model;

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

constexpr std::size_t kMetaByteLimit = std::size_t{16} << 20;  // 16 MiB of JSON at most
constexpr std::size_t kReadBlockBytes = std::size_t{1} << 20;

[[noreturn]] void badInput(const std::string& message) {
    throw SignalError(SignalError::Kind::BadInput, message);
}
[[noreturn]] void notWritten(const std::string& path, int error) {
    throw SignalError(SignalError::Kind::NotWritten, m::tx("Файл %1 не может быть записан: %2",
                                                           {path, m::systemErrorText(error)}));
}

bool endsWith(const std::string& text, const std::string& end) {
    if (text.size() < end.size()) return false;
    return std::equal(end.rbegin(), end.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// Opens an input file that must be a regular file, without blocking on a FIFO or a device;
// throws with the reason otherwise. Returns the descriptor and its size.
int openInput(const std::string& path, off_t& size) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        badInput(m::tx("Файл %1 не может быть прочитан: %2", {path, m::systemErrorText(errno)}));
    if (S_ISDIR(info.st_mode)) badInput(m::tx("%1 — это каталог, а не файл записи", {path}));
    if (!S_ISREG(info.st_mode))
        badInput(m::tx("%1 — не обычный файл (канал, устройство или сокет): не читается", {path}));
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        badInput(m::tx("Файл %1 не может быть прочитан: %2", {path, m::systemErrorText(errno)}));
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        badInput(m::tx("%1 — не обычный файл (канал, устройство или сокет): не читается", {path}));
    }
    size = info.st_size;
    return fd;
}

// ---- SigMF input ----

float decodeValue(const unsigned char* p, const SigmfDatatype& type) {
    const int bytes = type.bits / 8;
    std::uint64_t raw = 0;
    for (int b = 0; b < bytes; ++b) {
        const int shift = type.bigEndian ? 8 * (bytes - 1 - b) : 8 * b;
        raw |= static_cast<std::uint64_t>(p[b]) << shift;
    }
    if (type.kind == 'f') {
        if (type.bits == 32) {
            const auto word = static_cast<std::uint32_t>(raw);
            float value;
            std::memcpy(&value, &word, sizeof value);
            return value;
        }
        double value;
        std::memcpy(&value, &raw, sizeof value);
        return static_cast<float>(value);
    }
    const double scale = std::ldexp(1.0, -(type.bits - 1));
    if (type.kind == 'u')
        return static_cast<float>((static_cast<double>(raw) - std::ldexp(1.0, type.bits - 1)) *
                                  scale);
    // Signed: sign-extend from `bits`.
    const std::uint64_t sign = std::uint64_t{1} << (type.bits - 1);
    const std::int64_t value =
        static_cast<std::int64_t>((raw ^ sign)) - static_cast<std::int64_t>(sign);
    return static_cast<float>(static_cast<double>(value) * scale);
}

class SigmfSource final : public SampleSource {
  public:
    SigmfSource(std::string dataPath, int fd, SigmfDatatype type, std::uint64_t samples,
                double rateHz, double centreHz)
        : dataPath_(std::move(dataPath)),
          fd_(fd),
          type_(type),
          total_(samples),
          rateHz_(rateHz),
          centreHz_(centreHz) {}
    ~SigmfSource() override { ::close(fd_); }

    std::size_t read(Sample* out, std::size_t max) override {
        const std::size_t sampleBytes = static_cast<std::size_t>(type_.sampleBytes());
        const std::size_t n = static_cast<std::size_t>(
            std::min<std::uint64_t>({max, total_ - done_, kReadBlockBytes / sampleBytes}));
        if (n == 0) return 0;
        buffer_.resize(n * sampleBytes);
        std::size_t got = 0;
        while (got < buffer_.size()) {
            const ssize_t r = ::read(fd_, buffer_.data() + got, buffer_.size() - got);
            if (r < 0) {
                if (errno == EINTR) continue;
                badInput(m::tx("Файл %1 не может быть прочитан: %2",
                               {dataPath_, m::systemErrorText(errno)}));
            }
            if (r == 0)
                badInput(m::tx("Файл %1 кончился раньше, чем сказано в его описании", {dataPath_}));
            got += static_cast<std::size_t>(r);
        }
        const int valueBytes = type_.bits / 8;
        const unsigned char* p = buffer_.data();
        for (std::size_t i = 0; i < n; ++i) {
            const float re = decodeValue(p, type_);
            const float im = type_.complex ? decodeValue(p + valueBytes, type_) : 0.0f;
            out[i] = Sample(re, im);
            p += sampleBytes;
        }
        done_ += n;
        return n;
    }
    [[nodiscard]] std::uint64_t totalSamples() const override { return total_; }
    [[nodiscard]] double sampleRateHz() const override { return rateHz_; }
    [[nodiscard]] bool complexSamples() const override { return type_.complex; }
    [[nodiscard]] double centreFrequencyHz() const override { return centreHz_; }

  private:
    std::string dataPath_;
    int fd_;
    SigmfDatatype type_;
    std::uint64_t total_;
    double rateHz_;
    double centreHz_;
    std::uint64_t done_{0};
    std::vector<unsigned char> buffer_;
};

std::unique_ptr<SampleSource> openSigmf(const std::string& metaPath) {
    off_t metaSize = 0;
    const int metaFd = openInput(metaPath, metaSize);
    ::close(metaFd);
    if (static_cast<unsigned long long>(metaSize) > kMetaByteLimit)
        badInput(m::tx("Файл %1 повреждён: слишком велик для описания SigMF", {metaPath}));
    const std::optional<std::string> text = m::readFileBytes(metaPath, kMetaByteLimit);
    if (!text) badInput(m::tx("Файл %1 не может быть прочитан", {metaPath}));
    const Json meta = Json::parse(*text, nullptr, false);
    const auto damaged = [&metaPath](const std::string& why) {
        badInput(m::tx("Файл %1 повреждён: %2", {metaPath, why}));
    };
    if (meta.is_discarded()) damaged(m::tx("это не JSON"));
    if (!meta.is_object() || !meta.contains("global") || !meta["global"].is_object())
        damaged(m::tx("нет объекта \"global\""));
    const Json& global = meta["global"];
    if (!global.contains("core:datatype") || !global["core:datatype"].is_string())
        damaged(m::tx("нет \"core:datatype\""));
    const std::string typeName = global["core:datatype"].get<std::string>();
    const std::optional<SigmfDatatype> type = parseSigmfDatatype(typeName);
    if (!type) badInput(m::tx("Файл %1: неизвестный тип данных \"%2\"", {metaPath, typeName}));
    double rateHz = 0.0;
    if (global.contains("core:sample_rate")) {
        const Json& rate = global["core:sample_rate"];
        if (!rate.is_number() || !(rate.get<double>() > 0.0) || !std::isfinite(rate.get<double>()))
            damaged(m::tx("\"core:sample_rate\" не положительное число"));
        rateHz = rate.get<double>();
    }
    if (global.contains("core:num_channels")) {
        const Json& channels = global["core:num_channels"];
        if (!channels.is_number_unsigned() || channels.get<std::uint64_t>() != 1)
            badInput(m::tx("Файл %1: читается только запись одного канала", {metaPath}));
    }
    double centreHz = 0.0;
    std::uint64_t headerBytes = 0;
    std::uint64_t needed = 0;  // samples the meta refers to
    const auto sampleIndex = [&damaged](const Json& item, const char* key) -> std::uint64_t {
        if (!item.contains(key)) return 0;
        if (!item[key].is_number_unsigned())
            damaged(m::tx("\"%1\" не целое неотрицательное число", {key}));
        return item[key].get<std::uint64_t>();
    };
    if (meta.contains("captures")) {
        const Json& captures = meta["captures"];
        if (!captures.is_array()) damaged(m::tx("\"captures\" не массив"));
        for (std::size_t i = 0; i < captures.size(); ++i) {
            const Json& capture = captures[i];
            if (!capture.is_object()) damaged(m::tx("\"captures\" не массив"));
            const std::uint64_t start = sampleIndex(capture, "core:sample_start");
            needed = std::max(needed, start);
            if (i == 0) {
                headerBytes = sampleIndex(capture, "core:header_bytes");
                if (capture.contains("core:frequency")) {
                    if (!capture["core:frequency"].is_number())
                        damaged(m::tx("\"core:frequency\" не число"));
                    centreHz = capture["core:frequency"].get<double>();
                }
            }
        }
    }
    if (meta.contains("annotations")) {
        const Json& annotations = meta["annotations"];
        if (!annotations.is_array()) damaged(m::tx("\"annotations\" не массив"));
        for (const Json& annotation : annotations) {
            if (!annotation.is_object()) damaged(m::tx("\"annotations\" не массив"));
            const std::uint64_t start = sampleIndex(annotation, "core:sample_start");
            const std::uint64_t count = sampleIndex(annotation, "core:sample_count");
            if (count > UINT64_MAX - start) damaged(m::tx("\"core:sample_count\" слишком велико"));
            needed = std::max(needed, start + count);
        }
    }

    const std::string dataPath = sigmfDataPath(metaPath);
    off_t dataSize = 0;
    const int dataFd = openInput(dataPath, dataSize);
    const auto size = static_cast<std::uint64_t>(dataSize);
    const auto sampleBytes = static_cast<std::uint64_t>(type->sampleBytes());
    const auto fail = [dataFd](const std::string& message) {
        ::close(dataFd);
        badInput(message);
    };
    if (size < headerBytes || (size - headerBytes) % sampleBytes != 0)
        fail(m::tx("Файл %1 повреждён: его длина не кратна размеру отсчёта (%2 байт)",
                   {dataPath, std::to_string(sampleBytes)}));
    const std::uint64_t samples = (size - headerBytes) / sampleBytes;
    if (samples < needed)
        fail(m::tx("Файл %1 короче, чем сказано в описании: %2 отсчётов, описание называет %3",
                   {dataPath, std::to_string(samples), std::to_string(needed)}));
    if (samples == 0) fail(m::tx("Файл %1 не содержит отсчётов", {dataPath}));
    if (headerBytes > 0 && ::lseek(dataFd, static_cast<off_t>(headerBytes), SEEK_SET) < 0)
        fail(m::tx("Файл %1 не может быть прочитан: %2", {dataPath, m::systemErrorText(errno)}));
    return std::make_unique<SigmfSource>(dataPath, dataFd, *type, samples, rateHz, centreHz);
}

// ---- WAV input ----

class WavSource final : public SampleSource {
  public:
    WavSource(std::string path, SNDFILE* file, const SF_INFO& info)
        : path_(std::move(path)), file_(file), info_(info) {}
    ~WavSource() override { sf_close(file_); }

    std::size_t read(Sample* out, std::size_t max) override {
        const std::size_t n = static_cast<std::size_t>(
            std::min<std::uint64_t>({max, totalSamples() - done_, std::uint64_t{1} << 16}));
        if (n == 0) return 0;
        buffer_.resize(n * static_cast<std::size_t>(info_.channels));
        const sf_count_t got = sf_readf_float(file_, buffer_.data(), static_cast<sf_count_t>(n));
        if (got != static_cast<sf_count_t>(n))
            badInput(m::tx("Файл %1 кончился раньше, чем сказано в его заголовке", {path_}));
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = info_.channels == 2 ? Sample(buffer_[2 * i], buffer_[2 * i + 1])
                                         : Sample(buffer_[i], 0.0f);
        }
        done_ += n;
        return n;
    }
    [[nodiscard]] std::uint64_t totalSamples() const override {
        return static_cast<std::uint64_t>(info_.frames);
    }
    [[nodiscard]] double sampleRateHz() const override { return info_.samplerate; }
    [[nodiscard]] bool complexSamples() const override { return info_.channels == 2; }

  private:
    std::string path_;
    SNDFILE* file_;
    SF_INFO info_;
    std::uint64_t done_{0};
    std::vector<float> buffer_;
};

// The bytes a RIFF/WAVE file's "data" chunk claims, when the header says; libsndfile reads a
// cut file up to its end without a word, so the claim is checked against the file's size.
std::optional<std::uint64_t> claimedDataEnd(int fd) {
    unsigned char header[12];
    if (::pread(fd, header, sizeof header, 0) != static_cast<ssize_t>(sizeof header))
        return std::nullopt;
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::uint64_t at = 12;
    for (int chunks = 0; chunks < 64; ++chunks) {
        unsigned char chunk[8];
        if (::pread(fd, chunk, sizeof chunk, static_cast<off_t>(at)) !=
            static_cast<ssize_t>(sizeof chunk))
            return std::nullopt;
        const std::uint64_t length = chunk[4] | (chunk[5] << 8) | (chunk[6] << 16) |
                                     (static_cast<std::uint64_t>(chunk[7]) << 24);
        // A recorder that streams may leave the length at its largest value: unknown.
        if (std::memcmp(chunk, "data", 4) == 0)
            return length == 0xffffffffu ? std::nullopt
                                         : std::optional<std::uint64_t>(at + 8 + length);
        at += 8 + length + (length & 1);
    }
    return std::nullopt;
}

std::unique_ptr<SampleSource> openWav(const std::string& path) {
    off_t size = 0;
    const int fd = openInput(path, size);
    if (const std::optional<std::uint64_t> end = claimedDataEnd(fd);
        end && *end > static_cast<std::uint64_t>(size)) {
        ::close(fd);
        badInput(m::tx("Файл %1 короче, чем сказано в его заголовке", {path}));
    }
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (file == nullptr) {
        const std::string reason = sf_strerror(nullptr);
        ::close(fd);
        badInput(m::tx("Файл %1 повреждён: %2", {path, reason}));
    }
    if (info.channels != 1 && info.channels != 2) {
        sf_close(file);
        badInput(m::tx("Файл %1: каналов %2, а читается один (вещественный сигнал) или два (I и Q)",
                       {path, std::to_string(info.channels)}));
    }
    if (info.frames <= 0) {
        sf_close(file);
        badInput(m::tx("Файл %1 не содержит отсчётов", {path}));
    }
    return std::make_unique<WavSource>(path, file, info);
}

// ---- outputs ----

class SigmfSink final : public SampleSink {
  public:
    SigmfSink(const std::string& metaPath, const RecordingInfo& info, OutputSampleFormat format)
        : metaPath_(metaPath), dataPath_(sigmfDataPath(metaPath)), info_(info), format_(format) {
        if (!data_.open(dataPath_)) notWritten(dataPath_, data_.error());
    }
    void write(const Sample* samples, std::size_t n) override {
        bytes_.clear();
        if (format_ == OutputSampleFormat::Float32) {
            bytes_.resize(n * 8);
            for (std::size_t i = 0; i < n; ++i) {
                putFloat(&bytes_[8 * i], samples[i].real());
                putFloat(&bytes_[8 * i + 4], samples[i].imag());
            }
        } else {
            bytes_.resize(n * 4);
            for (std::size_t i = 0; i < n; ++i) {
                putInt16(&bytes_[4 * i], samples[i].real());
                putInt16(&bytes_[4 * i + 2], samples[i].imag());
            }
        }
        if (!data_.write(bytes_.data(), bytes_.size())) notWritten(dataPath_, data_.error());
    }
    void commit() override {
        m::AtomicFileStream meta;
        const std::string text = sigmfMetaText(info_, format_);
        if (!meta.open(metaPath_) || !meta.write(text.data(), text.size()))
            notWritten(metaPath_, meta.error());
        if (const m::WriteResult data = data_.commit(); !data) notWritten(dataPath_, data.error);
        if (const m::WriteResult written = meta.commit(); !written)
            notWritten(metaPath_, written.error);
    }

  private:
    static void putFloat(unsigned char* p, float value) {
        std::uint32_t word;
        std::memcpy(&word, &value, sizeof word);
        for (int b = 0; b < 4; ++b) p[b] = static_cast<unsigned char>(word >> (8 * b));
    }
    static void putInt16(unsigned char* p, float value) {
        const double scaled = std::floor(static_cast<double>(value) * 32768.0 + 0.5);
        const auto word = static_cast<std::uint16_t>(
            static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0)));
        p[0] = static_cast<unsigned char>(word & 0xff);
        p[1] = static_cast<unsigned char>(word >> 8);
    }

    std::string metaPath_;
    std::string dataPath_;
    RecordingInfo info_;
    OutputSampleFormat format_;
    m::AtomicFileStream data_;
    std::vector<unsigned char> bytes_;
};

class WavSink final : public SampleSink {
  public:
    WavSink(const std::string& path, const RecordingInfo& info, OutputSampleFormat format)
        : path_(path) {
        const double rate = std::round(info.sampleRateHz);
        if (!(rate >= 1.0 && rate <= INT_MAX))
            throw SignalError(SignalError::Kind::NotWritten,
                              m::tx("Файл %1 не может быть записан: частота отсчётов вне "
                                    "пределов WAV",
                                    {path}));
        if (!stream_.open(path)) notWritten(path, stream_.error());
        SF_INFO sf{};
        sf.samplerate = static_cast<int>(rate);
        sf.channels = 2;
        sf.format = SF_FORMAT_WAV |
                    (format == OutputSampleFormat::Float32 ? SF_FORMAT_FLOAT : SF_FORMAT_PCM_16);
        file_ = sf_open_fd(stream_.descriptor(), SFM_WRITE, &sf, SF_FALSE);
        if (file_ == nullptr)
            throw SignalError(
                SignalError::Kind::NotWritten,
                m::tx("Файл %1 не может быть записан: %2", {path, sf_strerror(nullptr)}));
        sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    }
    ~WavSink() override {
        if (file_ != nullptr) sf_close(file_);
    }
    void write(const Sample* samples, std::size_t n) override {
        const auto* values = reinterpret_cast<const float*>(samples);
        if (sf_writef_float(file_, values, static_cast<sf_count_t>(n)) !=
            static_cast<sf_count_t>(n))
            throw SignalError(
                SignalError::Kind::NotWritten,
                m::tx("Файл %1 не может быть записан: %2", {path_, sf_strerror(file_)}));
    }
    void commit() override {
        const int closed = sf_close(file_);
        file_ = nullptr;
        if (closed != 0)
            throw SignalError(
                SignalError::Kind::NotWritten,
                m::tx("Файл %1 не может быть записан: %2", {path_, sf_error_number(closed)}));
        if (const m::WriteResult written = stream_.commit(); !written)
            notWritten(path_, written.error);
    }

  private:
    std::string path_;
    m::AtomicFileStream stream_;
    SNDFILE* file_{nullptr};
};

}  // namespace

RecordingType recordingType(const std::string& path) {
    if (endsWith(path, ".sigmf-meta")) return RecordingType::SigMF;
    if (endsWith(path, ".wav")) return RecordingType::Wav;
    return RecordingType::Unknown;
}

std::string sigmfDataPath(const std::string& metaPath) {
    const std::string meta = ".sigmf-meta";
    if (!endsWith(metaPath, meta)) return metaPath + ".sigmf-data";
    return metaPath.substr(0, metaPath.size() - meta.size()) + ".sigmf-data";
}

std::optional<SigmfDatatype> parseSigmfDatatype(const std::string& name) {
    SigmfDatatype type;
    std::string rest = name;
    if (rest.size() < 3 || (rest[0] != 'r' && rest[0] != 'c')) return std::nullopt;
    type.complex = rest[0] == 'c';
    type.kind = rest[1];
    if (type.kind != 'f' && type.kind != 'i' && type.kind != 'u') return std::nullopt;
    std::string bits = rest.substr(2);
    std::string endian;
    if (const std::size_t under = bits.find('_'); under != std::string::npos) {
        endian = bits.substr(under + 1);
        bits = bits.substr(0, under);
    }
    if (bits == "8") {
        type.bits = 8;
    } else if (bits == "16") {
        type.bits = 16;
    } else if (bits == "32") {
        type.bits = 32;
    } else if (bits == "64") {
        type.bits = 64;
    } else {
        return std::nullopt;
    }
    if (type.kind == 'f' && type.bits < 32) return std::nullopt;
    if (type.kind != 'f' && type.bits == 64) return std::nullopt;
    // Bytes have no order; wider words must say theirs.
    if (type.bits == 8) return endian.empty() ? std::optional<SigmfDatatype>(type) : std::nullopt;
    if (endian == "le") return type;
    if (endian == "be") {
        type.bigEndian = true;
        return type;
    }
    return std::nullopt;
}

std::unique_ptr<SampleSource> openRecording(const std::string& path) {
    switch (recordingType(path)) {
        case RecordingType::SigMF:
            return openSigmf(path);
        case RecordingType::Wav:
            return openWav(path);
        case RecordingType::Unknown:
            break;
    }
    badInput(m::tx("%1: запись называется NAME.sigmf-meta или NAME.wav", {path}));
}

std::string sigmfMetaText(const RecordingInfo& info, OutputSampleFormat format) {
    OrderedJson global;
    global["core:datatype"] = format == OutputSampleFormat::Float32 ? "cf32_le" : "ci16_le";
    global["core:sample_rate"] = info.sampleRateHz;
    global["core:version"] = "1.0.0";
    if (!info.description.empty()) global["core:description"] = info.description;
    global["core:recorder"] = "gc4016";
    OrderedJson capture;
    capture["core:sample_start"] = 0;
    capture["core:frequency"] = info.centreFrequencyHz;
    OrderedJson meta;
    meta["global"] = global;
    meta["captures"] = OrderedJson::array({capture});
    meta["annotations"] = OrderedJson::array();
    return meta.dump(2) + "\n";
}

std::unique_ptr<SampleSink> createRecording(const std::string& path, const RecordingInfo& info,
                                            OutputSampleFormat format) {
    switch (recordingType(path)) {
        case RecordingType::SigMF:
            return std::make_unique<SigmfSink>(path, info, format);
        case RecordingType::Wav:
            return std::make_unique<WavSink>(path, info, format);
        case RecordingType::Unknown:
            break;
    }
    throw SignalError(SignalError::Kind::NotWritten,
                      m::tx("%1: запись называется NAME.sigmf-meta или NAME.wav", {path}));
}

}  // namespace gc::sim
