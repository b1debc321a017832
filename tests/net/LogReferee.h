// Checks a host's play log and its running account ("hand G.H scores ...")
// from the outside: every hand dealt whole, every card held and laid in turn,
// suit followed, spades not led early by a seat held to the rules, the tricks
// and bags as the cards say and every score as the rules give it. Knows the
// rules, not the program's code.
#pragma once

#include <array>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace spades::net::testing {

struct TRefereeResult {
    std::vector<std::string> Problems;
    int Hands = 0;
    int Games = 0;
    std::vector<std::array<int, 5>> FinalScores;  // per game, by seat
    std::vector<int> Winners;                     // per game, the winning seat
};

inline TRefereeResult RefereeLog(const std::string& log, const std::vector<std::string>& reports, int winScore)
{
    TRefereeResult r;
    const auto problem = [&](const std::string& what) {
        if (r.Problems.size() < 50)
            r.Problems.push_back("hand " + std::to_string(r.Hands) + ": " + what);
    };
    std::vector<std::string> lines;
    {
        std::istringstream in(log);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
    }
    // The running account: one "scores" line per hand, game by game.
    struct TScored {
        int Game = 0;
        int Hand = 0;
        std::array<int, 5> Scores{};
    };
    std::vector<TScored> scored;
    const std::regex scoreLine(R"(hand (\d+)\.(\d+) scores (-?\d+) (-?\d+) (-?\d+) (-?\d+))");
    for (const std::string& line : reports) {
        std::smatch m;
        if (std::regex_match(line, m, scoreLine))
            scored.push_back({std::stoi(m[1]), std::stoi(m[2]),
                              {0, std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6])}});
    }

    const std::regex playerLine(R"(Player ([1-4]):  (.+) - (\w+))");
    const std::regex playLine(R"(([^ ].*?)- ?(\d+)([SHCD]))");
    const std::regex bidLine(R"((.+?) +(\d+) +(\d+) +(\d+))");
    std::array<int, 5> score{}, totalBags{};
    int game = 0;
    size_t i = 0;
    const auto suitOf = [](int card) { return (card - 1) / 13 + 1; };
    const auto rankOf = [](int card) {
        const int rank = (card - 1) % 13 + 1;
        return rank == 1 ? 14 : rank;
    };
    while (i < lines.size()) {
        std::smatch m;
        if (!std::regex_match(lines[i], m, playerLine) || m[1] != "1") {
            ++i;
            continue;
        }
        // A hand: four players with their cards.
        std::array<std::string, 5> name, type;
        std::array<std::array<bool, 53>, 5> holds{};
        std::array<bool, 53> dealt{};
        bool ok = true;
        for (int seat = 1; seat <= 4 && ok; ++seat, i += 2) {
            ok = i + 1 < lines.size() && std::regex_match(lines[i], m, playerLine) && std::stoi(m[1]) == seat;
            if (!ok)
                break;
            name[static_cast<size_t>(seat)] = m[2];
            type[static_cast<size_t>(seat)] = m[3];
            std::istringstream cards(lines[i + 1]);
            int suit = 0, count = 0;
            for (std::string word; cards >> word;) {
                if (word == "Spades:" || word == "Hearts:" || word == "Clubs:" || word == "Diamonds:")
                    suit = word == "Spades:" ? 1 : word == "Hearts:" ? 2 : word == "Clubs:" ? 3 : 4;
                else if (word != "Cards:" && suit > 0) {
                    const int card = (suit - 1) * 13 + std::stoi(word);
                    if (card < 1 || card > 52 || dealt[static_cast<size_t>(card)])
                        ok = false;
                    else
                        dealt[static_cast<size_t>(card)] = holds[static_cast<size_t>(seat)][static_cast<size_t>(card)] = true;
                    ++count;
                }
            }
            ok = ok && count == 13;
        }
        ++r.Hands;
        if (!ok) {
            problem("the deal is not four hands of thirteen different cards");
            continue;
        }
        if (r.Hands - 1 >= static_cast<int>(scored.size())) {
            problem("no score line for this hand");
            break;
        }
        const TScored& account = scored[static_cast<size_t>(r.Hands - 1)];
        if (account.Game != game) {
            game = account.Game;
            score.fill(0);
            totalBags.fill(0);
            ++r.Games;
        }
        // South leads the first hand of a game, then the next seat clockwise.
        int leader = (2 + account.Hand - 1) % 4 + 1;
        std::array<int, 5> tricks{};
        bool broken = false;
        int trickCount = 0;
        for (; i < lines.size() && lines[i].rfind("Play: ", 0) != 0; ++i) {
        }
        for (; i < lines.size() && lines[i].rfind("Play: ", 0) == 0; ++i, ++trickCount) {
            const std::string text = lines[i].substr(6);
            std::vector<std::pair<int, int>> plays;  // seat, card
            for (auto it = std::sregex_iterator(text.begin(), text.end(), playLine); it != std::sregex_iterator(); ++it) {
                int seat = 0;
                for (int s = 1; s <= 4; ++s)
                    if (name[static_cast<size_t>(s)] == (*it)[1].str())
                        seat = s;
                const std::string letter = (*it)[3];
                const int suit = letter == "S" ? 1 : letter == "H" ? 2 : letter == "C" ? 3 : 4;
                plays.emplace_back(seat, (suit - 1) * 13 + std::stoi((*it)[2]));
            }
            if (plays.size() != 4) {
                problem("a trick of " + std::to_string(plays.size()) + " cards");
                continue;
            }
            int seat = leader;
            const int led = suitOf(plays[0].second);
            int best = 0;
            for (size_t k = 0; k < 4; ++k, seat = seat % 4 + 1) {
                const auto [who, card] = plays[k];
                auto& hand = holds[static_cast<size_t>(who < 1 ? 0 : who)];
                if (who != seat)
                    problem("trick " + std::to_string(trickCount + 1) + " played out of turn");
                if (who < 1 || !hand[static_cast<size_t>(card)]) {
                    problem("a card not held: " + std::to_string(card));
                    continue;
                }
                const bool heldLed = [&] {
                    for (int c = (led - 1) * 13 + 1; c <= led * 13; ++c)
                        if (hand[static_cast<size_t>(c)])
                            return true;
                    return false;
                }();
                const bool onlySpades = [&] {
                    for (int c = 14; c <= 52; ++c)
                        if (hand[static_cast<size_t>(c)])
                            return false;
                    return true;
                }();
                if (k > 0 && suitOf(card) != led && heldLed)
                    problem("suit not followed by " + name[static_cast<size_t>(who)]);
                if (k == 0 && suitOf(card) == 1 && !broken && !onlySpades &&
                    type[static_cast<size_t>(who)] != "Computer")
                    problem("a spade led early by " + name[static_cast<size_t>(who)]);
                hand[static_cast<size_t>(card)] = false;
                const int bestCard = plays[static_cast<size_t>(best)].second;
                if (k > 0 && (suitOf(card) == suitOf(bestCard) ? rankOf(card) > rankOf(bestCard)
                                                                 : suitOf(card) == 1 || (suitOf(card) == led && suitOf(bestCard) != 1)))
                    best = static_cast<int>(k);
            }
            for (const auto& play : plays)
                broken = broken || suitOf(play.second) == 1;
            leader = plays[static_cast<size_t>(best)].first;
            if (leader >= 1)
                ++tricks[static_cast<size_t>(leader)];
        }
        if (trickCount != 13)
            problem(std::to_string(trickCount) + " tricks");
        for (; i < lines.size() && lines[i].find("Bid   Made  Bags") == std::string::npos; ++i) {
        }
        ++i;
        for (int seat = 1; seat <= 4; ++seat, ++i) {
            const auto s = static_cast<size_t>(seat);
            if (i >= lines.size() || !std::regex_match(lines[i], m, bidLine) || m[1] != name[s]) {
                problem("no bid line for " + name[s]);
                continue;
            }
            const int bid = std::stoi(m[2]), made = std::stoi(m[3]), bags = std::stoi(m[4]);
            if (bid > 13 || made != tricks[s] || bags != (bid > 0 && made > bid ? made - bid : 0))
                problem("tricks or bags of " + name[s] + " do not follow from the cards");
            score[s] += bid == 0 ? (made == 0 ? 100 : -100) : made < bid ? -10 * bid : 10 * bid + made - bid;
            totalBags[s] += bags;
            if (totalBags[s] >= 100)
                score[s] -= 100;
            if (score[s] != account.Scores[s])
                problem("score of " + name[s] + " is " + std::to_string(account.Scores[s]) + ", the rules give " +
                        std::to_string(score[s]));
        }
        int winner = 0;
        for (int seat = 1; seat <= 4; ++seat)
            if (score[static_cast<size_t>(seat)] >= winScore &&
                (winner == 0 || score[static_cast<size_t>(seat)] > score[static_cast<size_t>(winner)]))
                winner = seat;
        const bool lastOfGame = static_cast<size_t>(r.Hands) == scored.size() ||
                                scored[static_cast<size_t>(r.Hands)].Game != game;
        if ((winner != 0) != lastOfGame)
            problem(winner != 0 ? "the game went on after a seat won" : "the game ended with no winner");
        if (lastOfGame) {
            r.FinalScores.push_back(score);
            r.Winners.push_back(winner);
        }
    }
    if (static_cast<size_t>(r.Hands) != scored.size())
        r.Problems.push_back(std::to_string(r.Hands) + " hands in the log, " + std::to_string(scored.size()) +
                             " in the account");
    return r;
}

}  // namespace spades::net::testing
