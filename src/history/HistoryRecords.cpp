#include "HistoryRecords.h"

#include <QStringList>

namespace spades {

void TSeatTally::Add(const THandRecord& hand, int seat, int previousScore)
{
    const size_t s = static_cast<size_t>(seat);
    const int bid = hand.Bids[s], tricks = hand.Tricks[s];
    ++Hands;
    Points += hand.Scores[s] - previousScore;
    if (bid == 0) {
        ++Nils;
        NilsWon += tricks == 0;
    } else {
        ++Bids;
        Made += tricks >= bid;
        Exact += tricks == bid;
    }
    Bags += hand.Bags[s];
    Score = hand.Scores[s];
}

QString JoinNumbers(const int* values, size_t count)
{
    QString text;
    text.reserve(static_cast<qsizetype>(count * 3));
    for (size_t i = 0; i < count; ++i) {
        if (i)
            text += u' ';
        text += QString::number(values[i]);
    }
    return text;
}

std::optional<std::vector<int>> SplitNumbers(const QString& text, int low, int high, std::optional<size_t> count)
{
    std::vector<int> values;
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() > 52)
        return std::nullopt;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || value < low || value > high)
            return std::nullopt;
        values.push_back(value);
    }
    if (count && values.size() != *count)
        return std::nullopt;
    return values;
}

QString JoinSeats(const TSeatInts& values) { return JoinNumbers(values.data() + 1, 4); }

std::optional<TSeatInts> SplitSeats(const QString& text, int low, int high)
{
    const auto values = SplitNumbers(text, low, high, 4);
    if (!values)
        return std::nullopt;
    TSeatInts seats{};
    for (size_t i = 0; i < 4; ++i)
        seats[i + 1] = (*values)[i];
    return seats;
}

bool IsWholeDeck(const std::array<int, 52>& deal)
{
    std::array<bool, 53> seen{};
    for (int card : deal) {
        if (card < 1 || card > 52 || seen[static_cast<size_t>(card)])
            return false;
        seen[static_cast<size_t>(card)] = true;
    }
    return true;
}

}  // namespace spades
