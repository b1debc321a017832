#include "NetRunner.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "NetClient.h"
#include "NetHost.h"
#include "PlayerNames.h"
#include "SeatSecretFile.h"
#include "CommandLine.h"

namespace spades {

namespace {

constexpr const char* Usage =
    "usage: spades-sim --host PORT --code C --seats S,S,S,S [--bind ADDRESS] [--seed S] [--games N]\n"
    "                  [--win-score W] [--variant V] [--rule NAME=VALUE]... [--log FILE]\n"
    "                  [--turn-timeout SECONDS] [--pause MS] [--start-wait SECONDS]\n"
    "       spades-sim --join HOST:PORT --code C --name N --play classic|expert [--seat 1..4] [--think MS]\n"
    "                  [--seed S]\n"
    "  seats in the order North, East, South, West: remote, classic (or computer) or expert\n"
    "  a host's code is 10 to 32 letters and digits, not one repeated\n"
    "  a host plays --variant and --rule as a game without the network does (spades-sim --help);\n"
    "  tables older than the rules may join only a host playing the table's own\n"
    "  a host without --seed deals from the system's secure generator; with one, anyone who\n"
    "  knows the seed knows every hand\n";

int Fail(const std::string& why)
{
    std::cerr << "spades-sim: " << why << '\n' << Usage;
    return 2;
}

std::vector<std::string> Split(std::string_view text, char by)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(by, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// "host:port" or "[v6 address]:port".
bool HostAndPort(std::string_view text, QString& host, quint16& port)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    std::string_view name = text.substr(0, colon);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    const auto number = ParseNumber(text.substr(colon + 1), 65535);
    if (!number || *number == 0 || name.empty())
        return false;
    host = QString::fromStdString(std::string(name));
    port = static_cast<quint16>(*number);
    return true;
}

// How long the Expert's decisions took, in milliseconds; timed on the thread
// that thinks and printed when the games are over.
class TDecisionTimes {
public:
    void Wrap(net::TSeatBrain& brain)
    {
        for (auto* choose : {&brain.ViewBid, &brain.ViewCard})
            if (*choose)
                *choose = [this, inner = *choose](const TExpertView& view) {
                    const auto start = std::chrono::steady_clock::now();
                    const int answer = inner(view);
                    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                    const std::lock_guard lock(FMutex);
                    FTimes.push_back(ms);
                    return answer;
                };
    }
    void Print(std::ostream& out)
    {
        const std::lock_guard lock(FMutex);
        if (FTimes.empty())
            return;
        std::sort(FTimes.begin(), FTimes.end());
        char line[120];
        std::snprintf(line, sizeof line, "expert decisions %zu median %.1f ms worst %.1f ms", FTimes.size(),
                      FTimes[FTimes.size() / 2], FTimes.back());
        out << line << std::endl;
    }

private:
    std::mutex FMutex;
    std::vector<double> FTimes;
};

// Written beside its final name and renamed when done, as the simulator does.
class TLogFile {
public:
    bool Open(const std::string& path)
    {
        FPath = path;
        FTemp = path + ".tmp";
        FOut.open(FTemp, std::ios::binary | std::ios::trunc);
        if (!FOut)
            std::cerr << "spades-sim: cannot write " << FTemp.string() << ": " << std::strerror(errno) << '\n';
        return static_cast<bool>(FOut);
    }
    bool Commit()
    {
        FOut.close();
        std::error_code error;
        if (!FOut || (std::filesystem::rename(FTemp, FPath, error), error)) {
            std::cerr << "spades-sim: cannot write " << FPath << (error ? ": " + error.message() : "") << '\n';
            std::filesystem::remove(FTemp, error);
            return false;
        }
        return true;
    }
    std::ofstream& Stream() { return FOut; }

private:
    std::string FPath;
    std::filesystem::path FTemp;
    std::ofstream FOut;
};

int Host(const std::vector<std::string_view>& args)
{
    net::TNetHostOptions options;
    options.Address = QHostAddress::Any;
    std::optional<uint32_t> seed;
    std::string logPath;
    bool seatsGiven = false;
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string_view option = args[i];
        if (i + 1 >= args.size())
            return Fail("missing value for " + std::string(option));
        const std::string_view value = args[i + 1];
        if (option == "--host") {
            const auto port = ParseNumber(value, 65535);
            if (!port)
                return Fail("--host takes a port number from 0 to 65535");
            options.Port = static_cast<quint16>(*port);
        } else if (option == "--bind") {
            QHostAddress address;
            if (!address.setAddress(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()))))
                return Fail("--bind takes an IPv4 or IPv6 address");
            options.Address = address;
        } else if (option == "--code") {
            if (!net::ValidCode(value))
                return Fail("--code takes 8 to 32 letters and digits");
            options.Code = value;
        } else if (option == "--seats") {
            const std::vector<std::string> words = Split(value, ',');
            if (words.size() != 4)
                return Fail("--seats takes four seat types separated by commas");
            for (size_t s = 0; s < 4; ++s) {
                const auto kind = net::HostSeatKindNamed(words[s]);
                if (!kind || *kind == TSeatKind::Human)
                    return Fail("unknown seat type " + words[s] + " (remote, classic or expert)");
                options.Kinds[s] = *kind;
            }
            seatsGiven = true;
        } else if (option == "--seed") {
            const auto number = ParseNumber(value, 0xFFFFFFFFull);
            if (!number)
                return Fail("--seed takes a whole number from 0 to 4294967295");
            seed = static_cast<uint32_t>(*number);
        } else if (option == "--games") {
            const auto number = ParseNumber(value, 1000000);
            if (!number || *number == 0)
                return Fail("--games takes a whole number from 1 to 1000000");
            options.Games = static_cast<int>(*number);
        } else if (option == "--win-score") {
            const auto number = ParseNumber(value, 30000);
            if (!number || *number == 0)
                return Fail("--win-score takes a whole number from 1 to 30000");
            options.Rules.WinScore = static_cast<int>(*number);
        } else if (const auto refused = RuleOption(options.Rules, option, value)) {
            if (!refused->empty())
                return Fail(*refused);
        } else if (option == "--turn-timeout") {
            const auto number = ParseNumber(value, 3600);
            if (!number || *number == 0)
                return Fail("--turn-timeout takes seconds from 1 to 3600");
            options.TurnTimeoutMs = static_cast<int>(*number) * 1000;
        } else if (option == "--pause") {
            const auto number = ParseNumber(value, 10000);
            if (!number)
                return Fail("--pause takes milliseconds from 0 to 10000");
            options.PauseMs = static_cast<int>(*number);
        } else if (option == "--start-wait") {
            const auto number = ParseNumber(value, 86400);
            if (!number)
                return Fail("--start-wait takes seconds from 0 to 86400");
            options.StartWaitMs = static_cast<int>(*number) * 1000;
        } else if (option == "--log") {
            if (value.empty())
                return Fail("--log takes a file name");
            logPath = value;
        } else {
            return Fail("unknown option " + std::string(option));
        }
    }
    if (options.Code.empty())
        return Fail("--host needs --code");
    // The code is the table's one secret: it must not be quick to guess.
    if (options.Code.size() < 10 || options.Code.find_first_not_of(options.Code[0]) == std::string::npos)
        return Fail("--code is too weak: give at least 10 letters and digits, not one repeated");
    if (!seatsGiven)
        return Fail("--host needs --seats");
    if (const std::string problem = RulesProblem(options.Rules); !problem.empty())
        return Fail(problem);
    options.Seed = seed;
    if (seed)
        std::cerr << "spades-sim: warning: the deals come from --seed " << *seed
                  << "; a player who knows the seed knows every hand\n";

    TLogFile log;
    if (!logPath.empty() && !log.Open(logPath))
        return 1;
    net::TNetHost host(options, logPath.empty() ? nullptr : &log.Stream());
    QString error;
    if (!host.Listen(&error)) {
        std::cerr << "spades-sim: cannot listen on " << options.Address.toString().toStdString() << " port "
                  << options.Port << ": " << error.toStdString() << '\n';
        return 1;
    }
    std::cout << "listening on port " << host.Port() << std::endl;
    long long hands = 0;
    QObject::connect(&host, &net::TNetHost::Reported, [&](const QString& line) {
        hands += line.startsWith(QStringLiteral("hand "));
        std::cout << line.toStdString() << '\n';
    });
    QObject::connect(&host, &net::TNetHost::SeatsChanged, [&] {
        const auto& roster = host.Roster();
        std::cout << "seats";
        for (int seat = 1; seat <= 4; ++seat)
            std::cout << ' ' << roster.At(seat).Name << '=' << static_cast<int>(roster.At(seat).State);
        std::cout << std::endl;
    });
    std::chrono::steady_clock::time_point start;
    QObject::connect(&host, &net::TNetHost::Finished, [&] {
        // A moment for the last messages to leave before the program ends.
        QTimer::singleShot(200, QCoreApplication::instance(), &QCoreApplication::quit);
    });
    host.Start();
    start = std::chrono::steady_clock::now();
    QCoreApplication::exec();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "host done hands " << hands << " seconds " << seconds << std::endl;
    if (!logPath.empty() && !log.Commit())
        return 1;
    return std::cout ? 0 : 1;
}

int Join(const std::vector<std::string_view>& args)
{
    net::TNetClientOptions options;
    bool where = false;
    std::string play;
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string_view option = args[i];
        if (i + 1 >= args.size())
            return Fail("missing value for " + std::string(option));
        const std::string_view value = args[i + 1];
        if (option == "--join") {
            if (!HostAndPort(value, options.Host, options.Port))
                return Fail("--join takes HOST:PORT");
            where = true;
        } else if (option == "--code") {
            if (!net::ValidCode(value))
                return Fail("--code takes 8 to 32 letters and digits");
            options.Code = value;
        } else if (option == "--name") {
            std::string why;
            const auto name = net::NormalName(value, &why);
            if (!name)
                return Fail("--name: " + why);
            if (net::LooksLikeSeatName(*name))
                return Fail("--name: a name may not look like a seat's name");
            options.Name = *name;
        } else if (option == "--play") {
            play = value;
            options.Brain = net::BrainNamed(value);
            if (!options.Brain.Bid)
                return Fail("--play takes classic or expert");
        } else if (option == "--seat") {
            const auto number = ParseNumber(value, 4);
            if (!number || *number == 0)
                return Fail("--seat takes 1 to 4");
            options.WantSeat = static_cast<uint8_t>(*number);
        } else if (option == "--think") {
            const auto number = ParseNumber(value, 60000);
            if (!number)
                return Fail("--think takes milliseconds from 0 to 60000");
            options.ThinkMs = static_cast<int>(*number);
        } else if (option == "--seed") {
            const auto number = ParseNumber(value, 0xFFFFFFFFull);
            if (!number)
                return Fail("--seed takes a whole number from 0 to 4294967295");
            options.Seed = static_cast<uint32_t>(*number);
        } else {
            return Fail("unknown option " + std::string(option));
        }
    }
    if (!where || options.Code.empty() || options.Name.empty() || play.empty())
        return Fail("--join needs --code, --name and --play");
    TDecisionTimes times;
    times.Wrap(options.Brain);
    // A program started again after a crash takes its seat back with this.
    options.SeatFolder = net::DefaultSeatFolder();

    net::TNetClient client(options);
    int status = 1;
    int games = 0;
    QObject::connect(&client, &net::TNetClient::Joined,
                     [](int seat) { std::cout << "joined seat " << seat << std::endl; });
    QObject::connect(&client, &net::TNetClient::Refused, [&](int code, const QString& text) {
        std::cerr << "spades-sim: refused (" << code << "): " << text.toStdString() << '\n';
        status = 3;
    });
    QObject::connect(&client, &net::TNetClient::ErrorReceived, [](int code, const QString& text) {
        std::cout << "error " << code << ' ' << text.toStdString() << std::endl;
    });
    QObject::connect(&client, &net::TNetClient::Noticed, [](int kind) {
        std::cout << "notice " << net::NoticeText(static_cast<net::TSeatNotice>(kind)).toStdString() << std::endl;
    });
    QObject::connect(&client, &net::TNetClient::GameOver, [&](int winner) {
        ++games;
        std::cout << "game over winner seat " << winner << std::endl;
    });
    QObject::connect(&client, &net::TNetClient::Closed, [&](const QString& why) {
        if (!why.isEmpty())
            std::cerr << "spades-sim: " << why.toStdString() << '\n';
        if (status != 3)
            status = why.isEmpty() && games > 0 ? 0 : 1;
        QCoreApplication::quit();
    });
    client.Connect();
    QCoreApplication::exec();
    times.Print(std::cout);
    return status;
}

}  // namespace

bool WantsNetwork(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--host" || arg == "--join")
            return true;
    }
    return false;
}

int RunNetwork(int argc, char** argv)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    bool host = false;
    bool join = false;
    for (const auto arg : args) {
        host = host || arg == "--host";
        join = join || arg == "--join";
    }
    if (std::find(args.begin(), args.end(), std::string_view("--help")) != args.end()) {
        std::cout << Usage;
        return 0;
    }
    if (host && join)
        return Fail("--host and --join do not go together");
    QCoreApplication app(argc, argv);
    return host ? Host(args) : Join(args);
}

}  // namespace spades
