#include "DDSearch.h"

#include <algorithm>
#include <bit>

namespace spades {

namespace {
constexpr int LaneOf(int card) { return card >> 4; }
constexpr TDDLanes Bit(int card) { return TDDLanes{1} << card; }
constexpr unsigned LaneBits(TDDLanes set, int lane) { return static_cast<unsigned>(set >> (16 * lane)) & 0x1FFFu; }
// How many of mine lie above every other card of the suit still out.
int TopRun(unsigned mine, unsigned all) { return std::popcount(mine >> std::bit_width(all & ~mine)); }
TDDLanes AllHands(const TDDState& s) { return s.Hand[0] | s.Hand[1] | s.Hand[2] | s.Hand[3]; }
bool Has(uint8_t seats, int seat) { return (seats >> seat) & 1u; }
// Nodes between two looks at the stop flag.
constexpr uint64_t StopEvery = 1024;
}  // namespace

int DDTrickWinner(const TDDState& state)
{
    int best = 0;
    for (int i = 1; i < 4; ++i)
        if (DDBeats(state.Trick[static_cast<size_t>(i)], state.Trick[static_cast<size_t>(best)]))
            best = i;
    return (state.Leader + best) & 3;
}

TDDLanes DDLegal(const TDDState& state)
{
    const TDDLanes held = state.Hand[static_cast<size_t>((state.Leader + state.Count) & 3)];
    const TDDLanes led = state.Count > 0 ? DDLaneMask(LaneOf(state.Trick[0])) : 0;
    return LegalOf(held, led, DDSpades, state.Broken || state.Rule == TLeadRule::Anytime);
}

TDDLanes DDDistinct(const TDDState& state, TDDLanes legal)
{
    TDDLanes occupied = AllHands(state);
    for (int i = 0; i < state.Count; ++i)
        occupied |= Bit(state.Trick[static_cast<size_t>(i)]);
    TDDLanes distinct = 0;
    for (TDDLanes rest = legal; rest; rest &= rest - 1) {
        const int card = std::countr_zero(rest);
        const TDDLanes below = occupied & (Bit(card) - 1) & DDLaneMask(LaneOf(card));
        if (below == 0 || !(legal & Bit(63 - std::countl_zero(below))))
            distinct |= Bit(card);
    }
    return distinct;
}

TDDSearch::TDDSearch(int tableBits)
    : FTable(size_t{1} << std::clamp(tableBits, 4, 28)), FShift(64 - std::clamp(tableBits, 4, 28))
{
}

void TDDSearch::SetBound(const TDDBound& bound)
{
    FBound = bound;
    FBoundEnd = bound.Nodes ? FNodes + bound.Nodes : std::numeric_limits<uint64_t>::max();
    FCheckAt = bound.Stop ? std::min(FBoundEnd, FNodes + StopEvery) : FBoundEnd;
}

void TDDSearch::CheckBound()
{
    // Unwinding stores nothing more, and every entry stored came from a whole search.
    if (FNodes >= FBoundEnd || (FBound.Stop && FBound.Stop->load(std::memory_order_relaxed)))
        throw EDDGaveUp();
    FCheckAt = std::min(FBoundEnd, FNodes + StopEvery);
}

int TDDSearch::Start(const TDDState& state, uint8_t counted, uint8_t maximisers)
{
    S = state;
    FCounted = counted & 15u;
    FMax = maximisers & 15u;
    // The trick's cards are in no hand: laying them again only marks the winner.
    S.Count = 0;
    for (int i = 0; i < state.Count; ++i)
        Lay(state.Trick[static_cast<size_t>(i)]);
    return std::popcount(S.Hand[static_cast<size_t>((S.Leader + S.Count) & 3)]);
}

bool TDDSearch::Reaches(const TDDState& state, uint8_t counted, uint8_t maximisers, int target)
{
    Start(state, counted, maximisers);
    return Search(target);
}

int TDDSearch::Solve(const TDDState& state, uint8_t counted, uint8_t maximisers)
{
    const int left = Start(state, counted, maximisers);
    // Null-window probes walk from a guess towards the value, each narrowing [lo, hi].
    int lo = 0, hi = left;
    int guess = (left * std::popcount(FCounted) + 2) / 4;
    while (lo < hi) {
        const int target = std::clamp(guess, lo + 1, hi);
        if (Search(target)) {
            lo = target;
            guess = target + 1;
        } else {
            hi = target - 1;
            guess = target - 1;
        }
    }
    return lo;
}

bool TDDSearch::Search(int need)
{
    if (++FNodes >= FCheckAt) [[unlikely]]
        CheckBound();
    TKey key{};
    int hint = -1;
    int left = 0;
    if (S.Count == 0) {
        left = std::popcount(S.Hand[static_cast<size_t>(S.Leader)]);
        if (need <= 0)
            return true;
        if (need > left)
            return false;
        if (left == 1)
            return LastTrick(need);
        if (FCounted == FMax) {
            const int quick = QuickTricks();
            if (Has(FMax, S.Leader) ? quick >= need : left - quick < need)
                return Has(FMax, S.Leader);
            const auto [ours, theirs] = SureSpades();
            if (ours >= need)
                return true;
            if (left - theirs < need)
                return false;
        }
        key = KeyOf();
        if (const TEntry* found = Find(key)) {
            if (found->Lower >= need)
                return true;
            if (found->Upper < need)
                return false;
            hint = DecodeBest(found->Best);
        }
    }
    const int seat = (S.Leader + S.Count) & 3;
    const bool maximiser = Has(FMax, seat);
    TMoves moves;
    Order(seat, hint, moves);
    bool reached = !maximiser;
    int best = -1;
    for (int i = 0; i < moves.Size; ++i) {
        const int card = moves.Card[static_cast<size_t>(i)];
        Lay(card);
        bool result;
        if (S.Count == 4) {
            const TDDState before = S;
            const auto winPlace = FWinPlace;
            const int winner = (S.Leader + FWinPlace[3]) & 3;
            S.Broken = S.Broken || LaneOf(S.Trick[0]) == 0 || LaneOf(S.Trick[1]) == 0 || LaneOf(S.Trick[2]) == 0 ||
                       LaneOf(S.Trick[3]) == 0;
            S.Leader = winner;
            S.Count = 0;
            result = Search(need - (Has(FCounted, winner) ? 1 : 0));
            S = before;
            FWinPlace = winPlace;
        } else {
            result = Search(need);
        }
        TakeBack();
        if (result == maximiser) {
            reached = result;
            best = card;
            break;
        }
    }
    if (S.Count == 0)
        Store(key, left, reached, need, best);
    return reached;
}

bool TDDSearch::LastTrick(int need) const
{
    TDDState last = S;
    for (int i = 0; i < 4; ++i)
        last.Trick[static_cast<size_t>(i)] =
            static_cast<uint8_t>(std::countr_zero(S.Hand[static_cast<size_t>((S.Leader + i) & 3)]));
    return (Has(FCounted, DDTrickWinner(last)) ? 1 : 0) >= need;
}

int TDDSearch::QuickTricks() const
{
    // Tricks the leader takes by cashing its top cards: its top spades first, when
    // it may lead them, then those of the one side suit that no opponent can ruff
    // before it runs out. Cashing spades first leaves the side suits' counts true:
    // an opponent that still has spades followed in them.
    const TDDLanes held = S.Hand[static_cast<size_t>(S.Leader)];
    const TDDLanes all = AllHands(S);
    const uint8_t opponents = Has(FMax, S.Leader) ? static_cast<uint8_t>(~FMax & 15u) : FMax;
    int quick = 0;
    if (S.Broken || S.Rule == TLeadRule::Anytime || (held & ~DDSpades) == 0)
        quick = TopRun(LaneBits(held, 0), LaneBits(all, 0));
    int side = 0;
    for (int lane = 1; lane < 4; ++lane) {
        int run = TopRun(LaneBits(held, lane), LaneBits(all, lane));
        for (int seat = 0; seat < 4 && run > side; ++seat)
            if (Has(opponents, seat) && (S.Hand[static_cast<size_t>(seat)] & DDSpades))
                run = std::min(run, std::popcount(LaneBits(S.Hand[static_cast<size_t>(seat)], lane)));
        side = std::max(side, run);
    }
    return quick + side;
}

std::pair<int, int> TDDSearch::SureSpades() const
{
    // A spade above every spade of the other side wins whatever trick it falls in,
    // whoever leads; one seat's such spades fall in different tricks.
    std::array<unsigned, 2> top{};
    std::array<int, 4> above{};
    for (int seat = 0; seat < 4; ++seat)
        top[Has(FMax, seat) ? 1 : 0] |= LaneBits(S.Hand[static_cast<size_t>(seat)], 0);
    std::array<int, 2> sure{};
    for (int seat = 0; seat < 4; ++seat) {
        const int side = Has(FMax, seat) ? 1 : 0;
        const unsigned mine = LaneBits(S.Hand[static_cast<size_t>(seat)], 0);
        above[static_cast<size_t>(seat)] = std::popcount(mine >> std::bit_width(top[static_cast<size_t>(1 - side)]));
        sure[static_cast<size_t>(side)] = std::max(sure[static_cast<size_t>(side)], above[static_cast<size_t>(seat)]);
    }
    return {sure[1], sure[0]};
}

TDDSearch::TKey TDDSearch::KeyOf() const
{
    // Per suit: how many cards are left and, from the lowest up, whose each is.
    const TDDLanes all = AllHands(S);
    std::array<uint64_t, 4> lanes{};
    for (int lane = 0; lane < 4; ++lane) {
        const unsigned h1 = LaneBits(S.Hand[1], lane), h2 = LaneBits(S.Hand[2], lane), h3 = LaneBits(S.Hand[3], lane);
        uint64_t code = 0;
        int n = 0;
        for (unsigned rest = LaneBits(all, lane); rest; rest &= rest - 1, ++n) {
            const int place = std::countr_zero(rest);
            const unsigned owner = ((h1 >> place) & 1u) + 2 * ((h2 >> place) & 1u) + 3 * ((h3 >> place) & 1u);
            code |= uint64_t{owner} << (2 * n);
        }
        lanes[static_cast<size_t>(lane)] = (uint64_t(n) << 26) | code;
    }
    const bool broken = S.Broken || S.Rule == TLeadRule::Anytime || (all & DDSpades) == 0;
    TKey key;
    key.K0 = lanes[0] | (lanes[1] << 32);
    key.K1 = lanes[2] | (lanes[3] << 32);
    key.Tag = static_cast<uint16_t>(S.Leader | (broken ? 4 : 0) | (FCounted << 3) | (FMax << 7));
    return key;
}

size_t TDDSearch::BucketOf(const TKey& key) const
{
    const uint64_t hash = (key.K0 * 0x9E3779B97F4A7C15ull) ^ (key.K1 * 0xC2B2AE3D27D4EB4Full) ^
                          (uint64_t{key.Tag} * 0x165667B19E3779F9ull);
    return static_cast<size_t>(((hash ^ (hash >> 29)) * 0xBF58476D1CE4E5B9ull) >> FShift) & ~size_t{1};
}

const TDDSearch::TEntry* TDDSearch::Find(const TKey& key) const
{
    const size_t at = BucketOf(key);
    for (size_t i = at; i < at + 2; ++i) {
        const TEntry& entry = FTable[i];
        if (entry.Tag == key.Tag && entry.K0 == key.K0 && entry.K1 == key.K1)
            return &entry;
    }
    return nullptr;
}

void TDDSearch::Store(const TKey& key, int left, bool reached, int need, int best)
{
    // Two entries a bucket: the first keeps the deeper position, the second the latest.
    const size_t at = BucketOf(key);
    TEntry* entry = nullptr;
    for (size_t i = at; i < at + 2 && !entry; ++i)
        if (FTable[i].Tag == key.Tag && FTable[i].K0 == key.K0 && FTable[i].K1 == key.K1)
            entry = &FTable[i];
    if (!entry) {
        entry = FTable[at].Tag == 0xFFFF || FTable[at].Left <= left ? &FTable[at] : &FTable[at + 1];
        *entry = TEntry{key.K0, key.K1, key.Tag, 0, static_cast<uint8_t>(left), 0xFF, static_cast<uint8_t>(left)};
    }
    if (reached)
        entry->Lower = static_cast<uint8_t>(std::max<int>(entry->Lower, need));
    else
        entry->Upper = static_cast<uint8_t>(std::min<int>(entry->Upper, need - 1));
    if (best >= 0)
        entry->Best = EncodeBest(best);
}

uint8_t TDDSearch::EncodeBest(int card) const
{
    const unsigned below = LaneBits(AllHands(S), LaneOf(card)) & ((1u << (card & 15)) - 1);
    return static_cast<uint8_t>((LaneOf(card) << 4) | std::popcount(below));
}

int TDDSearch::DecodeBest(uint8_t best) const
{
    if (best == 0xFF)
        return -1;
    unsigned bits = LaneBits(AllHands(S), best >> 4);
    for (int skip = best & 15; skip > 0 && bits; --skip)
        bits &= bits - 1;
    return bits ? (best >> 4) * 16 + std::countr_zero(bits) : -1;
}

void TDDSearch::Order(int seat, int hint, TMoves& moves) const
{
    const TDDLanes cards = DDDistinct(S, DDLegal(S));
    const TDDLanes all = AllHands(S);
    const bool maximiser = Has(FMax, seat);
    // Whether the trick going to this seat is what it plays for (a Nil seat's is not).
    const bool ownTrickGood = Has(FCounted, seat) == maximiser;
    const uint8_t team = maximiser ? FMax : static_cast<uint8_t>(~FMax & 15u);
    std::array<int, 13> score{};
    for (TDDLanes rest = cards; rest; rest &= rest - 1) {
        const int card = std::countr_zero(rest);
        const int lane = LaneOf(card), place = card & 15;
        int value;
        if (S.Count == 0) {
            const unsigned inLane = LaneBits(all, lane);
            const int top = std::bit_width(inLane) - 1;
            int topOwner = 0;
            while (!(LaneBits(S.Hand[static_cast<size_t>(topOwner)], lane) >> top & 1u))
                ++topOwner;
            bool ruffed = false;
            for (int other = 0; other < 4 && lane != 0; ++other)
                ruffed = ruffed || (!Has(team, other) && LaneBits(S.Hand[static_cast<size_t>(other)], lane) == 0 &&
                                    (S.Hand[static_cast<size_t>(other)] & DDSpades));
            if (place == top && ownTrickGood)
                value = ruffed ? 30 : 100;  // cash a winner
            else if (topOwner != seat && Has(team, topOwner) && !ruffed)
                value = 70 - place;  // low towards a partner's winner
            else
                value = 40 - place;
        } else {
            const int winPlace = FWinPlace[static_cast<size_t>(S.Count - 1)];
            const int winning = S.Trick[static_cast<size_t>(winPlace)];
            const int winner = (S.Leader + winPlace) & 3;
            const bool offSuitSpade = lane == 0 && LaneOf(S.Trick[0]) != 0;
            const bool beats = DDBeats(card, winning);
            if (Has(FCounted, winner) == maximiser)
                value = 50 - place - (offSuitSpade ? 20 : 0);  // the trick is going the right way: play low
            else if (beats)
                value = ownTrickGood ? 100 - place : -place;  // the cheapest winner, or for a Nil, anything else first
            else
                value = ownTrickGood ? 50 - place - (offSuitSpade ? 20 : 0) : 50 + place;  // a Nil sheds its highest
        }
        if (card == hint)
            value = 1000;
        // Insertion by value, highest first.
        int at = moves.Size++;
        while (at > 0 && score[static_cast<size_t>(at - 1)] < value) {
            score[static_cast<size_t>(at)] = score[static_cast<size_t>(at - 1)];
            moves.Card[static_cast<size_t>(at)] = moves.Card[static_cast<size_t>(at - 1)];
            --at;
        }
        score[static_cast<size_t>(at)] = value;
        moves.Card[static_cast<size_t>(at)] = static_cast<uint8_t>(card);
    }
}

void TDDSearch::Lay(int card)
{
    const size_t at = static_cast<size_t>(S.Count);
    S.Hand[static_cast<size_t>((S.Leader + S.Count) & 3)] &= ~Bit(card);
    S.Trick[at] = static_cast<uint8_t>(card);
    FWinPlace[at] = at == 0 ? 0 : DDBeats(card, S.Trick[FWinPlace[at - 1]]) ? static_cast<uint8_t>(at) : FWinPlace[at - 1];
    ++S.Count;
}

void TDDSearch::TakeBack()
{
    --S.Count;
    S.Hand[static_cast<size_t>((S.Leader + S.Count) & 3)] |= Bit(S.Trick[static_cast<size_t>(S.Count)]);
}

}  // namespace spades
