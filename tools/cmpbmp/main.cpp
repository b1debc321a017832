// cmpbmp: writes and reads the program's compressed resource streams.
//   cmpbmp compress [--method LZH|RLE|NON] IN OUT
//   cmpbmp expand IN OUT
#include "Cmpres32.h"
#include "Encoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;

int Usage()
{
    std::fputs("usage: cmpbmp compress [--method LZH|RLE|NON] IN OUT\n"
               "       cmpbmp expand IN OUT\n",
               stderr);
    return kUsageError;
}

struct TFailure {
    std::string text;
};

QByteArray ReadWhole(const char* path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        throw TFailure{std::string("cannot read ") + path + ": " + file.errorString().toStdString()};
    if (file.size() > spades::TResCompress::kDefaultSizeLimit)
        throw TFailure{std::string(path) + " is larger than the expander accepts (" +
                       std::to_string(spades::TResCompress::kDefaultSizeLimit) + " bytes)"};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TFailure{std::string("cannot read ") + path + ": " + file.errorString().toStdString()};
    return bytes;
}

// All or nothing: OUT appears only once every byte is on disk.
void WriteWhole(const char* path, const QByteArray& bytes)
{
    QSaveFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw TFailure{std::string("cannot write ") + path + ": " + file.errorString().toStdString()};
}

int Compress(spades::cmpbmp::TMethod method, const char* in, const char* out)
{
    const QByteArray data = ReadWhole(in);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const std::vector<std::uint8_t> stream =
        spades::cmpbmp::EncodeStream(std::span(bytes, std::size_t(data.size())), method);
    WriteWhole(out, QByteArray(reinterpret_cast<const char*>(stream.data()), qsizetype(stream.size())));
    return 0;
}

int Expand(const char* in, const char* out)
{
    QFile source(QString::fromLocal8Bit(in));
    if (!source.open(QIODevice::ReadOnly))
        throw TFailure{std::string("cannot read ") + in + ": " + source.errorString().toStdString()};
    QByteArray expanded;
    QBuffer memory(&expanded);
    memory.open(QIODevice::WriteOnly);
    spades::TResCompress().Expand(memory, source);
    memory.close();
    WriteWhole(out, expanded);
    return 0;
}

int Run(const std::vector<std::string>& args)
{
    if (args.empty())
        return Usage();
    if (args[0] == "expand") {
        if (args.size() != 3)
            return Usage();
        return Expand(args[1].c_str(), args[2].c_str());
    }
    if (args[0] != "compress")
        return Usage();
    auto method = spades::cmpbmp::TMethod::Lzh;
    std::size_t next = 1;
    if (next < args.size() && args[next].rfind("--method", 0) == 0) {
        std::string name;
        if (args[next] == "--method") {
            if (next + 1 >= args.size())
                return Usage();
            name = args[next + 1];
            next += 2;
        } else if (args[next].rfind("--method=", 0) == 0) {
            name = args[next].substr(9);
            next += 1;
        } else {
            return Usage();
        }
        const auto parsed = spades::cmpbmp::MethodFromName(name);
        if (!parsed)
            return Usage();
        method = *parsed;
    }
    if (args.size() - next != 2)
        return Usage();
    return Compress(method, args[next].c_str(), args[next + 1].c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return Run(args);
    } catch (const spades::EResourceError& error) {
        std::fprintf(stderr, "cmpbmp: %s\n", error.what());
    } catch (const TFailure& failure) {
        std::fprintf(stderr, "cmpbmp: %s\n", failure.text.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cmpbmp: %s\n", error.what());
    }
    return 1;
}
