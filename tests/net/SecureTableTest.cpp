// The table keeps its secrets: deals nobody can work out, a channel nobody can
// read, and a clear answer for a program of another version.
#include <gmock/gmock.h>

#include <QTcpServer>
#include <QTcpSocket>

#include <set>

#include "NetTestSupport.h"
#include "Preamble.h"
#include "SecureDeals.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;

namespace {

constexpr auto R = TSeatKind::Remote;
constexpr auto K = TSeatKind::Computer;

// The seat each card is dealt to, one at a time from North, counted over many deals.
double ChiSquareOfSeats(TShuffledDeals& deals, int count)
{
    std::array<std::array<int, 4>, 53> seen{};
    for (int d = 0; d < count; ++d) {
        const TDeckOrder deck = deals.NextDeck();
        for (size_t pos = 1; pos <= 52; ++pos)
            ++seen[deck[pos]][(pos - 1) % 4];
    }
    const double expected = count / 4.0;
    double chi = 0;
    for (size_t card = 1; card <= 52; ++card)
        for (int n : seen[card])
            chi += (n - expected) * (n - expected) / expected;
    return chi;
}

// Fisher-Yates off by one: each place swaps with one strictly before it, so no
// card ever stays where it was.
class TOffByOneDeals : public TSecureDeals {
public:
    TDeckOrder NextDeck() override
    {
        TDeckOrder deck{};
        for (size_t i = 1; i <= 52; ++i)
            deck[i] = static_cast<uint8_t>(i);
        for (uint32_t i = 52; i >= 2; --i)
            std::swap(deck[i], deck[1 + Word() % (i - 1)]);
        return deck;
    }
};

TEST(SecretDeals, GiveEveryCardToEverySeatEquallyOften)
{
    // 156 degrees of freedom: 260 is past the one-in-a-million tail.
    constexpr int Deals = 20000;
    constexpr double Bound = 260;
    TSecureDeals secure;
    EXPECT_LT(ChiSquareOfSeats(secure, Deals), Bound);
    TOffByOneDeals biased;
    EXPECT_GT(ChiSquareOfSeats(biased, Deals), Bound) << "the bound tells a biased shuffle";
}

TEST(SecretDeals, AHostedDealIsNoneTheTableGeneratorMakesFromTheClock)
{
    TNetHostOptions options;
    options.Kinds = {K, K, K, K};
    const uint32_t now = TRandom::SeedFromClock();
    THosted hosted(options);
    std::set<int> north;
    QObject::connect(hosted.Host.get(), &TNetHost::handDealt, [&] {
        if (north.empty())
            for (size_t slot = 1; slot <= 13; ++slot)
                north.insert(hosted.Host->Game().Game().Table.Player(North).FHand[slot]);
    });
    ASSERT_TRUE(WaitUntil([&] { return !north.empty(); }, GameMs));
    // Every seed of the two minutes before and the seconds after, and the small ones.
    int matches = 0;
    const auto tryFrom = [&](uint32_t seed) {
        TRandom random(seed);
        TDeck deck;
        deck.ShuffleDeck(random);
        std::set<int> dealt;
        for (size_t pos = 1; pos <= 52; pos += 4)
            dealt.insert(deck.FDeck[pos]);
        matches += dealt == north;
    };
    for (uint32_t seed = now - 120000; seed != now + 5000; ++seed)
        tryFrom(seed);
    for (uint32_t seed = 0; seed < 10000; ++seed)
        tryFrom(seed);
    EXPECT_EQ(matches, 0);
}

struct TKnockCase {
    const char* Name;
    std::vector<uint8_t> Bytes;
    TKnockRead::TKind Kind;
};

class Knocks : public ::testing::TestWithParam<TKnockCase> {};

TEST_P(Knocks, AreToldApart)
{
    EXPECT_EQ(ReadKnock(GetParam().Bytes.data(), GetParam().Bytes.size()).Kind, GetParam().Kind);
}

INSTANTIATE_TEST_SUITE_P(
    SecureTable, Knocks,
    ::testing::Values(TKnockCase{"Knock", KnockFrame(), TKnockRead::TKind::Knock},
                      TKnockCase{"HalfAKnock", {0, 2, NewestVersion}, TKnockRead::TKind::More},
                      TKnockCase{"KnockOfVersion3", {0, 2, 3, KnockType}, TKnockRead::TKind::Older},
                      TKnockCase{"KnockOfVersion4", {0, 2, 4, KnockType}, TKnockRead::TKind::Older},
                      TKnockCase{"HelloOfVersion1", Bytes(THello{"TESTCODE42", "Ann", 0, 1}), TKnockRead::TKind::Older},
                      TKnockCase{"HelloOfVersion2", Bytes(THello{"TESTCODE42", "Ann", 0, 2}), TKnockRead::TKind::Older},
                      TKnockCase{"KnockOfVersion5", {0, 2, 5, KnockType}, TKnockRead::TKind::Knock},
                      TKnockCase{"KnockOfVersion6", {0, 2, 6, KnockType}, TKnockRead::TKind::Knock},
                      TKnockCase{"KnockOfVersion7", {0, 2, 7, KnockType}, TKnockRead::TKind::Newer},
                      TKnockCase{"HelloOfThisVersion", Bytes(THello{"TESTCODE42", "Ann", 0, NewestVersion}), TKnockRead::TKind::Bad},
                      TKnockCase{"KnockWithFields", {0, 3, NewestVersion, KnockType, 0}, TKnockRead::TKind::Bad},
                      TKnockCase{"Oversized", {0x16, 0x03, 0x01}, TKnockRead::TKind::Bad}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SecureTable, AnOlderTableIsToldItNeedsANewerVersion)
{
    TNetHostOptions options;
    options.Kinds = {R, K, K, K};
    THosted hosted(options);
    QTcpSocket old;
    QByteArray answer;
    QObject::connect(&old, &QTcpSocket::connected, [&] { old.write(Raw(Bytes(THello{"TESTCODE42", "Ann", 0, 2}))); });
    QObject::connect(&old, &QTcpSocket::readyRead, [&] { answer += old.readAll(); });
    old.connectToHost(QHostAddress::LocalHost, hosted.Host->Port());
    ASSERT_TRUE(WaitUntil([&] { return old.state() == QAbstractSocket::UnconnectedState; }, GameMs));
    ASSERT_GT(answer.size(), 2);
    const TDecoded read = DecodeBody(reinterpret_cast<const uint8_t*>(answer.constData()) + 2,
                                     static_cast<size_t>(answer.size() - 2), TDirection::ToClient);
    ASSERT_TRUE(std::holds_alternative<TMessage>(read));
    EXPECT_EQ(std::get<TMessage>(read), TMessage(TRefused{TErrorCode::BadVersion, NeedsNewerText}));
}

// Passes every byte between the players and the host, and keeps them.
class TRecordingRelay {
public:
    explicit TRecordingRelay(quint16 hostPort) : FHostPort(hostPort)
    {
        FServer.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&FServer, &QTcpServer::newConnection, [this] { Pair(); });
    }
    quint16 Port() const { return FServer.serverPort(); }
    QByteArray Wire;

private:
    void Pair()
    {
        QTcpSocket* player = FServer.nextPendingConnection();
        auto* host = new QTcpSocket(player);
        const auto pass = [this](QTcpSocket* from, QTcpSocket* to) {
            QObject::connect(from, &QTcpSocket::readyRead, to, [this, from, to] {
                const QByteArray bytes = from->readAll();
                Wire += bytes;
                to->write(bytes);
            });
            QObject::connect(from, &QTcpSocket::disconnected, to, &QTcpSocket::disconnectFromHost);
        };
        pass(player, host);
        pass(host, player);
        host->connectToHost(QHostAddress::LocalHost, FHostPort);
    }
    QTcpServer FServer;
    quint16 FHostPort;
};

TEST(SecureTable, AWholeGameOnTheWireShowsNoCodeNameOrHand)
{
    TNetHostOptions options;
    options.Kinds = {R, R, K, R};
    THosted hosted(options);
    std::vector<std::set<int>> hands;
    QObject::connect(hosted.Host.get(), &TNetHost::handDealt, [&] {
        for (int seat = North; seat <= West; ++seat) {
            std::set<int> hand;
            for (size_t slot = 1; slot <= 13; ++slot)
                hand.insert(hosted.Host->Game().Game().Table.Player(seat).FHand[slot]);
            hands.push_back(hand);
        }
    });
    TRecordingRelay relay(hosted.Host->Port());
    const std::array<std::string, 3> names = {"Zephyrine", "Quillon", "Marisol"};
    std::vector<std::unique_ptr<TJoined>> players;
    for (const std::string& name : names) {
        TNetClientOptions o = Playing(hosted.Client(name));
        o.Port = relay.Port();
        players.push_back(std::make_unique<TJoined>(o));
    }
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished; }, GameMs));
    for (const auto& p : players) {
        ASSERT_TRUE(WaitUntil([&] { return p->Closed; }, GameMs));
        EXPECT_EQ(p->Winners.size(), 1u) << "the game was played through the relay";
    }
    ASSERT_FALSE(hands.empty());
    const QByteArray& wire = relay.Wire;
    EXPECT_FALSE(wire.contains(QByteArray::fromStdString(hosted.Host->Code())));
    for (const std::string& name : names)
        EXPECT_FALSE(wire.contains(QByteArray::fromStdString(name))) << name;
    // A hand in clear is thirteen bytes in a row that are one seat's cards.
    int handsInClear = 0;
    for (qsizetype at = 0; at + 13 <= wire.size(); ++at) {
        std::set<int> window;
        for (qsizetype i = at; i < at + 13; ++i)
            window.insert(static_cast<uint8_t>(wire[i]));
        if (window.size() == 13)
            for (const auto& hand : hands)
                handsInClear += window == hand;
    }
    EXPECT_EQ(handsInClear, 0);
}

}  // namespace
