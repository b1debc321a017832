// spades-sim: plays games with four computer seats and prints what happened.
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include <QCoreApplication>
#include <memory>

#include "HistoryStore.h"
#include "NetRunner.h"
#include "CommandLine.h"
#include "Random.h"
#include "RuleText.h"
#include "SeatKind.h"
#include "SimHistory.h"
#include "Simulator.h"

namespace {

constexpr const char* Usage =
    "usage: spades-sim [--seed S] [--games N] [--win-score W] [--log FILE] [--history FILE]\n"
    "                  [--seats T1,T2,T3,T4] [--claim] [--variant V] [--rule NAME=VALUE]...\n"
    "  --seed S       starting state of the generator, 0..4294967295 (default: the clock)\n"
    "  --games N      games to play, 1 or more (default 1)\n"
    "  --win-score W  score that wins a game, 1 or more (default 250)\n"
    "  --log FILE     write the play log of every hand to FILE\n"
    "  --history FILE add every game and hand to the game history FILE (SQLite)\n"
    "  --seats T1,T2,T3,T4\n"
    "                 who plays North, East, South and West: classic or expert\n"
    "                 (default classic,classic,classic,classic); adds a line of\n"
    "                 seat types, points per hand and Expert decision times\n"
    "  --claim        a seat that takes every trick left whatever the others do\n"
    "                 claims them (looked for from eight tricks left); the log\n"
    "                 shows the claimed cards as played, in the solver's order\n"
    "  --variant V    individual (default) or partnership: North-South against\n"
    "                 East-West; the winner lines and the summary name the sides\n"
    "  --rule NAME=VALUE\n"
    "                 one option of the rules, repeatable; the options:\n"
    "%RULES%"
    "       spades-sim --host PORT ... | --join HOST:PORT ...   play over a network (with --help: how)\n";

std::string UsageText()
{
    std::string usage = Usage;
    const size_t at = usage.find("%RULES%");
    usage.replace(at, 7, spades::RulesHelp("                   "));
    return usage;
}

int Fail(const std::string& why)
{
    std::cerr << "spades-sim: " << why << '\n' << UsageText();
    return 2;
}

// "classic,expert,classic,classic" -> the four seats.
std::optional<std::array<spades::TSeatKind, 5>> ParseSeats(std::string_view text)
{
    std::array<spades::TSeatKind, 5> seats{};
    int seat = 1;
    for (;;) {
        const size_t comma = text.find(',');
        const auto kind = spades::SeatKindNamed(text.substr(0, comma));
        if (seat > 4 || (kind != spades::TSeatKind::Computer && kind != spades::TSeatKind::Expert))
            return std::nullopt;
        seats[static_cast<size_t>(seat)] = *kind;
        ++seat;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (seat != 5)
        return std::nullopt;
    return seats;
}

}  // namespace

int main(int argc, char** argv)
{
    if (spades::WantsNetwork(argc, argv))
        return spades::RunNetwork(argc, argv);
    std::optional<uint32_t> seed;
    int games = 1;
    spades::TRuleSet rules;
    std::string logPath;
    std::string historyPath;
    std::optional<std::array<spades::TSeatKind, 5>> seats;
    bool claims = false;

    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            std::cout << UsageText();
            return 0;
        }
        if (option == "--claim") {
            claims = true;
            continue;
        }
        if (i + 1 >= argc)
            return Fail("missing value for " + std::string(option));
        const std::string_view value = argv[++i];
        if (option == "--seed") {
            const auto number = spades::ParseNumber(value, 0xFFFFFFFFull);
            if (!number)
                return Fail("--seed takes a whole number from 0 to 4294967295");
            seed = static_cast<uint32_t>(*number);
        } else if (option == "--games") {
            const auto number = spades::ParseNumber(value, 1000000000ull);
            if (!number || *number == 0)
                return Fail("--games takes a whole number from 1 to 1000000000");
            games = static_cast<int>(*number);
        } else if (option == "--win-score") {
            const auto number = spades::ParseNumber(value, 1000000000ull);
            if (!number || *number == 0)
                return Fail("--win-score takes a whole number from 1 to 1000000000");
            rules.WinScore = static_cast<int>(*number);
        } else if (const auto refused = spades::RuleOption(rules, option, value)) {
            if (!refused->empty())
                return Fail(*refused);
        } else if (option == "--log") {
            if (value.empty())
                return Fail("--log takes a file name");
            logPath = value;
        } else if (option == "--history") {
            if (value.empty())
                return Fail("--history takes a file name");
            historyPath = value;
        } else if (option == "--seats") {
            seats = ParseSeats(value);
            if (!seats)
                return Fail("--seats takes four seat types, each classic or expert, separated by commas");
        } else {
            return Fail("unknown option " + std::string(option));
        }
    }

    if (const std::string problem = spades::RulesProblem(rules); !problem.empty())
        return Fail(problem);

    // The log is written beside its final name and renamed at the end, so an
    // interrupted run never leaves a half-written file in its place.
    std::ofstream logFile;
    std::filesystem::path tempPath;
    if (!logPath.empty()) {
        tempPath = logPath + ".tmp";
        logFile.open(tempPath, std::ios::binary | std::ios::trunc);
        if (!logFile) {
            std::cerr << "spades-sim: cannot write " << tempPath.string() << ": " << std::strerror(errno) << '\n';
            return 1;
        }
    }

    // Qt SQL finds its SQLite driver through the application object.
    std::unique_ptr<QCoreApplication> application;
    std::unique_ptr<spades::THistoryStore> store;
    std::unique_ptr<spades::TSimHistory> history;
    if (!historyPath.empty()) {
        application = std::make_unique<QCoreApplication>(argc, argv);
        store = std::make_unique<spades::THistoryStore>(QString::fromStdString(historyPath));
        if (!store->Open()) {
            std::cerr << "spades-sim: " << QString(store->Problem()).replace('\r', '\n').toStdString() << '\n'
                      << "spades-sim: no game was played\n";
            return 1;
        }
        history = std::make_unique<spades::TSimHistory>(*store);
    }

    std::ios::sync_with_stdio(false);
    spades::TSimulator simulator(seed.value_or(spades::TRandom::SeedFromClock()), rules, std::cout,
                                 logPath.empty() ? nullptr : &logFile);
    simulator.AddObserver(history.get());
    if (seats)
        simulator.SetSeats(*seats);
    if (claims)
        simulator.SetClaims(8);
    simulator.Run(games);
    if (seats)
        simulator.WriteSeatSummary();
    std::cout.flush();
    if (history) {
        history.reset();
        store->Close();
        if (!store->Problem().isEmpty()) {
            std::cerr << "spades-sim: " << QString(store->Problem()).replace('\r', '\n').toStdString() << '\n';
            return 1;
        }
    }

    if (!logPath.empty()) {
        logFile.close();
        std::error_code error;
        if (!logFile || (std::filesystem::rename(tempPath, logPath, error), error)) {
            std::cerr << "spades-sim: cannot write " << logPath << (error ? ": " + error.message() : "") << '\n';
            std::filesystem::remove(tempPath, error);
            return 1;
        }
    }
    return std::cout ? 0 : 1;
}
