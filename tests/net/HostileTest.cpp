// Players who send what they should not, or try to learn what they may not.
#include <gmock/gmock.h>

#include <QTcpSocket>

#include <random>
#include <set>

#include "FrameReader.h"
#include "NetTestSupport.h"
#include "Rules.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;

namespace {

constexpr auto R = TSeatKind::Remote;
constexpr auto K = TSeatKind::Computer;

// The bad message to send now, if this moment allows one of its kind.
using TBadMaker = std::function<std::optional<QByteArray>(const TTableMirror&, const TTurnMsg&)>;

struct TBadCase {
    const char* Name;
    TBadMaker Make;
    TErrorCode Code;
};

QByteArray Frame(std::vector<uint8_t> body)
{
    std::vector<uint8_t> frame = {static_cast<uint8_t>(body.size() >> 8), static_cast<uint8_t>(body.size())};
    frame.insert(frame.end(), body.begin(), body.end());
    return Raw(frame);
}

std::optional<QByteArray> CardBreaking(const TTableMirror& m, const TTurnMsg& turn, TPlayVerdict rule)
{
    if (turn.Kind != TTurnKind::Card)
        return std::nullopt;
    const TPlayer& own = m.Player(m.Seat());
    for (int card : own.FHand)
        if (card >= 1 && card <= 52 && CheckPlay(m.Table(), own, card) == rule)
            return Raw(Bytes(TPlayMsg{turn.Turn, static_cast<uint8_t>(m.Seat()), static_cast<uint8_t>(card)}));
    return std::nullopt;
}

// Sends one bad message of its kind at the first turn that allows it, then the
// right answer, and plays the rest of the game properly.
class TProbe {
public:
    TProbe(TNetClientOptions options, TBadMaker make) : FMake(std::move(make)), FJoined(options)
    {
        QObject::connect(FJoined.Client.get(), &TNetClient::Received, [this](int type) {
            if (type == static_cast<int>(TMsgType::Turn))
                Turn();
        });
    }
    TJoined& Joined() { return FJoined; }
    bool Sent = false;

private:
    void Turn()
    {
        const TTableMirror& m = FJoined.Client->Mirror();
        if (!m.PendingTurn())
            return;
        if (!Sent) {
            if (auto bad = FMake(m, *m.PendingTurn())) {
                FJoined.Client->SendBytes(*bad);
                Sent = true;
            }
        }
        FJoined.Client->AnswerWith(ClassicBrain());
    }
    TBadMaker FMake;
    TJoined FJoined;
};

class BadMessages : public ::testing::TestWithParam<TBadCase> {};

TEST_P(BadMessages, AreAnsweredWithAnErrorAndTheGameGoesOn)
{
    TNetHostOptions options;
    options.Kinds = {R, K, R, K};
    options.Seed = 51;
    THosted hosted(options);
    TJoined other(Playing(hosted.Client("Sally", 3)));
    TProbe probe(hosted.Client("Norah", 1), GetParam().Make);
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished && probe.Joined().Closed && other.Closed; }, GameMs));
    EXPECT_TRUE(probe.Sent) << "the game offered no moment for this message";
    EXPECT_THAT(probe.Joined().Errors, ::testing::ElementsAre(static_cast<int>(GetParam().Code)));
    EXPECT_EQ(probe.Joined().Refusal, 0) << "one bad message does not cost the seat";
    EXPECT_EQ(probe.Joined().Winners.size(), 1u);
    EXPECT_THAT(other.Errors, ::testing::IsEmpty());
    EXPECT_EQ(AsComputers(hosted.Log.str()), SimulatedLog(51))
        << "the refused message changed nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, BadMessages,
    ::testing::Values(
        TBadCase{"BidForAnotherSeat",
                 [](const TTableMirror&, const TTurnMsg& t) -> std::optional<QByteArray> {
                     if (t.Kind != TTurnKind::Bid)
                         return std::nullopt;
                     return Raw(Bytes(TBidMsg{t.Turn, 3, 2}));
                 },
                 TErrorCode::WrongSeat},
        TBadCase{"CardForAnotherSeat",
                 [](const TTableMirror& m, const TTurnMsg& t) -> std::optional<QByteArray> {
                     if (t.Kind != TTurnKind::Card)
                         return std::nullopt;
                     return Raw(Bytes(TPlayMsg{t.Turn, 2, static_cast<uint8_t>(m.Player(1).FHand[13])}));
                 },
                 TErrorCode::WrongSeat},
        TBadCase{"BidOutOfRange",
                 [](const TTableMirror&, const TTurnMsg& t) -> std::optional<QByteArray> {
                     if (t.Kind != TTurnKind::Bid)
                         return std::nullopt;
                     return Raw(Bytes(TBidMsg{t.Turn, 1, 14}));
                 },
                 TErrorCode::BidOutOfRange},
        TBadCase{"CardWhenABidIsAsked",
                 [](const TTableMirror& m, const TTurnMsg& t) -> std::optional<QByteArray> {
                     if (t.Kind != TTurnKind::Bid)
                         return std::nullopt;
                     return Raw(Bytes(TPlayMsg{t.Turn, 1, static_cast<uint8_t>(m.Player(1).FHand[1])}));
                 },
                 TErrorCode::OutOfTurn},
        TBadCase{"CardNotHeld",
                 [](const TTableMirror& m, const TTurnMsg& t) -> std::optional<QByteArray> {
                     if (t.Kind != TTurnKind::Card)
                         return std::nullopt;
                     for (int card = 1; card <= 52; ++card) {
                         bool held = false;
                         for (int c : m.Player(1).FHand)
                             held = held || c == card;
                         if (!held)
                             return Raw(Bytes(TPlayMsg{t.Turn, 1, static_cast<uint8_t>(card)}));
                     }
                     return std::nullopt;
                 },
                 TErrorCode::CardNotHeld},
        TBadCase{"NotFollowingSuit",
                 [](const TTableMirror& m, const TTurnMsg& t) { return CardBreaking(m, t, TPlayVerdict::MustFollowSuit); },
                 TErrorCode::MustFollowSuit},
        TBadCase{"LeadingUnbrokenSpades",
                 [](const TTableMirror& m, const TTurnMsg& t) { return CardBreaking(m, t, TPlayVerdict::SpadesNotOpened); },
                 TErrorCode::SpadesNotOpened},
        TBadCase{"HelloAgain",
                 [](const TTableMirror&, const TTurnMsg&) -> std::optional<QByteArray> {
                     return Raw(Bytes(THello{"TESTCODE42", "Norah", 0}));
                 },
                 TErrorCode::AlreadyJoined},
        TBadCase{"ShortFrame",
                 [](const TTableMirror&, const TTurnMsg&) -> std::optional<QByteArray> { return Frame({1, 0x02, 0}); },
                 TErrorCode::Malformed},
        TBadCase{"EmptyFrame",
                 [](const TTableMirror&, const TTurnMsg&) -> std::optional<QByteArray> { return Frame({}); },
                 TErrorCode::Malformed},
        TBadCase{"Oversized",
                 [](const TTableMirror&, const TTurnMsg&) -> std::optional<QByteArray> {
                     return Frame(std::vector<uint8_t>(MaxBody + 1, 0x02));
                 },
                 TErrorCode::Oversized},
        TBadCase{"UnknownType",
                 [](const TTableMirror&, const TTurnMsg&) -> std::optional<QByteArray> { return Frame({1, 0x30}); },
                 TErrorCode::UnknownType},
        TBadCase{"HostsMessage",
                 [](const TTableMirror&, const TTurnMsg&) -> std::optional<QByteArray> {
                     return Raw(Bytes(TCardPlayedMsg{1, 2, 1}));
                 },
                 TErrorCode::UnknownType},
        TBadCase{"OtherVersion",
                 [](const TTableMirror&, const TTurnMsg&) -> std::optional<QByteArray> {
                     return Frame({2, 0x02, 0, 0, 0, 1, 1, 3});
                 },
                 TErrorCode::BadVersion}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Hostile, APlayerWhoKeepsSendingBadMessagesIsDroppedAndTheComputerPlaysOn)
{
    TNetHostOptions options;
    options.Kinds = {R, K, R, K};
    options.Seed = 52;
    options.Conduct.MaxErrors = 4;
    options.PauseMs = 1;  // the game still runs when the dropped player tries to come back
    THosted hosted(options);
    TJoined good(Playing(hosted.Client("Sally", 3)));
    TJoined bad(hosted.Client("Norah", 1));
    ASSERT_TRUE(WaitUntil([&] { return bad.Seat == 1 && good.Seat == 3; }, GameMs));
    for (int i = 0; i < 10; ++i)
        bad.Client->Send(TBidMsg{0, 1, 99});
    ASSERT_TRUE(WaitUntil([&] { return bad.Closed; }, GameMs));
    EXPECT_EQ(bad.Refusal, static_cast<int>(TErrorCode::TooManyErrors));
    EXPECT_EQ(bad.Errors.size(), 4u) << "as many errors as allowed, then the refusal";
    TNetClientOptions again = hosted.Client("Norah", 1);
    again.Secret = bad.Client->Secret();
    TJoined back(again);
    ASSERT_TRUE(WaitUntil([&] { return back.Closed; }, GameMs));
    EXPECT_EQ(back.Refusal, static_cast<int>(TErrorCode::Throttled)) << "junk costs the seat for a while";
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished; }, GameMs));
    EXPECT_EQ(hosted.Host->Roster().At(1).State, TSeatState::Dropped);
    EXPECT_EQ(AsComputers(hosted.Log.str()), SimulatedLog(52));
}

// Each hand's dealt cards by seat, read back from the play log.
std::vector<std::array<std::set<int>, 5>> DealsFromLog(const std::string& log)
{
    std::vector<std::array<std::set<int>, 5>> deals;
    std::istringstream in(log);
    std::string line;
    int seat = 0;
    while (std::getline(in, line)) {
        if (line.rfind("Player ", 0) == 0) {
            seat = line[7] - '0';
            if (seat == 1)
                deals.emplace_back();
        } else if (line.rfind("  Cards:", 0) == 0 && seat != 0) {
            std::istringstream words(line.substr(8));
            std::string word;
            int suit = 0;
            while (words >> word) {
                if (word.back() == ':') {
                    for (int s = 1; s <= 4; ++s)
                        if (word == std::string(SuitNames[static_cast<size_t>(s)]) + ":")
                            suit = s;
                } else {
                    deals.back()[static_cast<size_t>(seat)].insert(CardValue(suit, std::stoi(word)));
                }
            }
        }
    }
    return deals;
}

TEST(Hostile, NoPlayerEverReceivesAnotherSeatsUnplayedCard)
{
    TNetHostOptions options;
    options.Kinds = {R, R, K, R};
    options.Seed = 53;
    THosted hosted(options);
    std::array<QByteArray, 5> received;
    std::vector<std::unique_ptr<TJoined>> players;
    for (int seat : {1, 2, 4}) {
        TNetClientOptions o = Playing(hosted.Client("P" + std::to_string(seat), static_cast<uint8_t>(seat)));
        auto p = std::make_unique<TJoined>(o);
        p->Client->SetRecorder([&received, seat](const char* data, size_t size) {
            received[static_cast<size_t>(seat)].append(data, static_cast<qsizetype>(size));
        });
        players.push_back(std::move(p));
    }
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished; }, GameMs));
    for (const auto& p : players)
        ASSERT_TRUE(WaitUntil([&] { return p->Closed; }, GameMs));

    const auto deals = DealsFromLog(hosted.Log.str());
    ASSERT_GT(deals.size(), 2u);
    for (int seat : {1, 2, 4}) {
        const QByteArray& bytes = received[static_cast<size_t>(seat)];
        TFrameReader reader(TDirection::ToClient);
        reader.Feed(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
        int hand = -1;
        std::set<int> played;
        int cardsSeen = 0;
        const auto mayKnow = [&](int card) {
            return hand >= 0 && (deals[static_cast<size_t>(hand)][static_cast<size_t>(seat)].count(card) > 0 ||
                                 played.count(card) > 0);
        };
        while (auto next = reader.Next()) {
            ASSERT_TRUE(std::holds_alternative<TMessage>(*next)) << "the stream decodes whole";
            const TMessage& m = std::get<TMessage>(*next);
            if (const auto* h = std::get_if<THandMsg>(&m)) {
                ++hand;
                played.clear();
                ASSERT_LT(hand, static_cast<int>(deals.size()));
                for (uint8_t card : h->Slots)
                    EXPECT_TRUE(mayKnow(card)) << "seat " << seat << " was sent card " << int(card);
                cardsSeen += 13;
            } else if (const auto* c = std::get_if<TCardPlayedMsg>(&m)) {
                EXPECT_EQ(deals[static_cast<size_t>(hand)][c->Seat].count(c->Card), 1u) << "played by its holder";
                played.insert(c->Card);
            } else if (const auto* s = std::get_if<TSyncMsg>(&m)) {
                for (uint8_t card : s->Slots) {
                    if (card != NoSlotCard) {
                        EXPECT_TRUE(mayKnow(card));
                    }
                }
                for (size_t card = 1; card <= 52; ++card) {
                    if (s->CardsPlayed[card]) {
                        EXPECT_TRUE(mayKnow(static_cast<int>(card)));
                    }
                }
            }
        }
        EXPECT_EQ(reader.Buffered(), 0u);
        EXPECT_EQ(hand + 1, static_cast<int>(deals.size()));
        // Scanned as bytes too: a Hand frame is the only place 13 cards go, and
        // only the seat's own hand is ever inside one.
        EXPECT_EQ(cardsSeen, 13 * static_cast<int>(deals.size()));
    }
}

TEST(Hostile, AThousandGarbageConnectionsLeaveTheTableOpenForAPlayer)
{
    TNetHostOptions options;
    options.Kinds = {R, K, R, K};
    options.Seed = 54;
    options.HelloTimeoutMs = 2000;
    THosted hosted(options);
    std::mt19937 random(54);
    int finished = 0;
    constexpr int Total = 1000, Batch = 50;
    for (int started = 0; started < Total; started += Batch) {
        std::vector<std::unique_ptr<QTcpSocket>> sockets;
        int done = 0;
        for (int i = 0; i < Batch; ++i) {
            auto socket = std::make_unique<QTcpSocket>();
            QTcpSocket* s = socket.get();
            QByteArray garbage(static_cast<qsizetype>(1 + random() % 600), '\0');
            for (auto& byte : garbage)
                byte = static_cast<char>(random());
            if (i % 3 == 0)
                garbage[0] = 0;  // a frame short enough to be read and refused
            QObject::connect(s, &QTcpSocket::connected, [s, garbage] {
                s->write(garbage);
                s->disconnectFromHost();
            });
            QObject::connect(s, &QTcpSocket::disconnected, [&done] { ++done; });
            QObject::connect(s, &QTcpSocket::errorOccurred, [&done, s] {
                if (s->state() == QAbstractSocket::UnconnectedState)
                    ++done;
            });
            s->connectToHost(QHostAddress::LocalHost, hosted.Host->Port());
            sockets.push_back(std::move(socket));
        }
        ASSERT_TRUE(WaitUntil([&] { return done >= Batch; }, GameMs)) << "batch from " << started;
        finished += Batch;
    }
    EXPECT_EQ(finished, Total);
    ASSERT_TRUE(WaitUntil([&] { return hosted.Host->Connections() == 0; }, GameMs));
    EXPECT_FALSE(hosted.Host->Running()) << "nobody has joined";

    TJoined north(Playing(hosted.Client("Norah", 1)));
    TJoined south(Playing(hosted.Client("Sally", 3)));
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished && north.Closed && south.Closed; }, GameMs));
    EXPECT_EQ(north.Winners.size(), 1u);
    EXPECT_EQ(AsComputers(hosted.Log.str()), SimulatedLog(54));
}

TEST(Hostile, SilentConnectionsFromOneAddressAreCappedAndTimedOut)
{
    TNetHostOptions options;
    options.Kinds = {R, K, K, K};
    options.Seed = 55;
    options.MaxPendingPerPrefix = 5;
    options.HelloTimeoutMs = 1000;  // room for the key's derivation on a busy machine
    THosted hosted(options);
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    int closedByHost = 0;
    for (int i = 0; i < 20; ++i) {
        auto s = std::make_unique<QTcpSocket>();
        QObject::connect(s.get(), &QTcpSocket::disconnected, [&closedByHost] { ++closedByHost; });
        s->connectToHost(QHostAddress::LocalHost, hosted.Host->Port());
        idle.push_back(std::move(s));
    }
    ASSERT_TRUE(WaitUntil([&] { return closedByHost >= 15; }, GameMs)) << "all beyond the cap are closed at once";
    EXPECT_EQ(hosted.Host->Connections(), 5);
    ASSERT_TRUE(WaitUntil([&] { return closedByHost == 20; }, GameMs)) << "the silent ones time out";
    EXPECT_EQ(hosted.Host->Connections(), 0);
    TJoined player(Playing(hosted.Client("Norah", 1)));
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished && player.Closed; }, GameMs));
    EXPECT_EQ(player.Winners.size(), 1u);
}

}  // namespace
