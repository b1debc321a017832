// The network message reader on arbitrary bytes, read by both ends and cut into
// pieces of a size the input chooses: it never reads out of bounds, never holds
// more than one body, and every message it accepts survives writing and reading back.
// The clear preamble before the secure channel is read from the same bytes.
// The version 5 messages (Back, Notice) keep to their direction and range, and
// the house rules a version 6 table accepts parse as the game reads them.
#include "FrameReader.h"
#include "NetMessage.h"
#include "Preamble.h"
#include "RuleText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace spades::net;

namespace {
void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t piece = 1 + data[0] % 97;
    ++data;
    --size;
    const TKnockRead knock = ReadKnock(data, size);
    Check(knock.Used <= size && (knock.Kind == TKnockRead::TKind::More) == (knock.Used == 0),
          "a knock read past its bytes, or took none");
    const TAnswerRead answer = ReadAnswer(data, size);
    Check(answer.Used <= size && (answer.Kind == TAnswerRead::TKind::More) == (answer.Used == 0),
          "an answer read past its bytes, or took none");
    if (knock.Kind == TKnockRead::TKind::Knock)
        Check(knock.Version >= OldestJoinVersion && knock.Version <= NewestVersion, "a knock of a version not let in");
    if (answer.Kind == TAnswerRead::TKind::Salt) {
        const std::vector<uint8_t> again = SaltFrame(answer.Salt);
        Check(std::equal(again.begin(), again.end(), data), "the salt does not read back as it was sent");
    }
    for (TDirection direction : {TDirection::ToHost, TDirection::ToClient}) {
        TFrameReader reader(direction);
        for (size_t at = 0; at < size; at += piece) {
            reader.Feed(data + at, std::min(piece, size - at));
            Check(reader.Buffered() <= MaxBody + 2 + piece, "the reader held more than one body");
            while (auto next = reader.Next()) {
                if (const auto* message = std::get_if<TMessage>(&*next)) {
                    // The newest messages go one way only, and a notice says one of its three things.
                    if (const auto* notice = std::get_if<TNoticeMsg>(message))
                        Check(direction == TDirection::ToClient && static_cast<int>(notice->Kind) >= 1 &&
                                  static_cast<int>(notice->Kind) <= 3,
                              "a notice of no known kind, or to the host");
                    Check(!std::holds_alternative<TBackMsg>(*message) || direction == TDirection::ToHost,
                          "a table took a Back from its host");
                    if (const auto* rules = std::get_if<TRulesMsg>(message)) {
                        spades::TRuleSet parsed;
                        Check(direction == TDirection::ToClient && rules->Text.size() <= RulesTextMax &&
                                  spades::ParseRules(parsed, rules->Text).empty() &&
                                  parsed.WinScore == spades::TRuleSet{}.WinScore,
                              "house rules taken that the game does not read, or that set the score to win");
                    }
                    const std::vector<uint8_t> frame = Encode(*message);
                    Check(frame.size() <= MaxBody + 2, "an accepted message encodes past the limit");
                    const TDecoded again = DecodeBody(frame.data() + 2, frame.size() - 2, direction);
                    Check(std::holds_alternative<TMessage>(again), "cannot read back what was written");
                    Check(std::get<TMessage>(again) == *message, "the round trip changed the message");
                } else {
                    Check(!std::get<TDecodeError>(*next).Text.empty(), "an error without a reason");
                }
            }
        }
    }
    return 0;
}
