// Speed of the resource expander on LZH data: each built-in resource, larger
// synthetic streams, and the five resources one after the other as the table
// and the preferences dialog load them.
#include "Cmpint32.h"
#include "Cmpres32.h"
#include "Encoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <stdexcept>

namespace {

constexpr std::array<const char*, 5> kResources{"IDB_GREENCLOTH", "IDB_MAHOGANY", "IDB_OAK", "IDB_GRANITE",
                                                "IDB_INTERRUPT"};

QByteArray ReadResource(const char* name)
{
    QFile file(QString(":/CMPBMP/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(std::string("missing resource ") + name);
    return file.readAll();
}

qint64 ExpandOnce(const QByteArray& stream)
{
    QBuffer source;
    source.setData(stream);
    source.open(QIODevice::ReadOnly);
    QByteArray out;
    QBuffer dest(&out);
    dest.open(QIODevice::WriteOnly);
    spades::TResCompress().Expand(dest, source);
    benchmark::DoNotOptimize(out.data());
    return out.size();
}

QByteArray EncodeLzh(const QByteArray& data)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const auto stream = spades::cmpbmp::EncodeStream(std::span(bytes, std::size_t(data.size())),
                                                     spades::cmpbmp::TMethod::Lzh);
    return QByteArray(reinterpret_cast<const char*>(stream.data()), qsizetype(stream.size()));
}

void Expand(benchmark::State& state, const QByteArray& stream)
{
    qint64 bytes = 0;
    for (auto _ : state)
        bytes += ExpandOnce(stream);
    state.SetBytesProcessed(bytes);
    state.counters["ratio"] = double(bytes) / double(state.iterations()) / double(stream.size());
}

void BM_ExpandResource(benchmark::State& state)
{
    Expand(state, ReadResource(kResources[std::size_t(state.range(0))]));
    state.SetLabel(kResources[std::size_t(state.range(0))]);
}
BENCHMARK(BM_ExpandResource)->DenseRange(0, 4);

// Four megabytes of the surfaces laid end to end: bitmap data whose repeats lie
// mostly beyond the window.
void BM_ExpandLargeBitmapData(benchmark::State& state)
{
    QByteArray surfaces;
    for (const char* name : kResources) {
        QBuffer source;
        source.setData(ReadResource(name));
        source.open(QIODevice::ReadOnly);
        QBuffer dest(&surfaces);
        dest.open(QIODevice::Append);
        spades::TResCompress().Expand(dest, source);
    }
    QByteArray data;
    std::uint32_t seed = 1;
    while (data.size() < 4 * 1024 * 1024) {
        QByteArray copy = surfaces;
        for (qsizetype i = 0; i < copy.size(); i += 97) {
            seed = seed * 1664525u + 1013904223u;
            copy[i] = char(seed >> 24);
        }
        data += copy;
    }
    Expand(state, EncodeLzh(data));
}
BENCHMARK(BM_ExpandLargeBitmapData)->Unit(benchmark::kMillisecond);

// The worst case: random bytes, nothing but literals.
void BM_ExpandRandomData(benchmark::State& state)
{
    QByteArray data(1024 * 1024, '\0');
    std::uint32_t seed = 7;
    for (qsizetype i = 0; i < data.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        data[i] = char(seed >> 24);
    }
    Expand(state, EncodeLzh(data));
}
BENCHMARK(BM_ExpandRandomData)->Unit(benchmark::kMillisecond);

// All five resources, straight from the resource system, expanded only.
void BM_ExpandAllFive(benchmark::State& state)
{
    for (auto _ : state) {
        for (const char* name : kResources) {
            QFile resource(QString(":/CMPBMP/") + name);
            resource.open(QIODevice::ReadOnly);
            QByteArray out;
            QBuffer dest(&out);
            dest.open(QIODevice::WriteOnly);
            spades::TResCompress().Expand(dest, resource);
            benchmark::DoNotOptimize(out.data());
        }
    }
}
BENCHMARK(BM_ExpandAllFive)->Unit(benchmark::kMicrosecond);

// All five resources loaded into images, as the program does.
void BM_LoadAllFive(benchmark::State& state)
{
    for (auto _ : state) {
        for (const char* name : kResources) {
            QImage image;
            spades::LoadCompressedBitmap(name, image);
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(BM_LoadAllFive)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
