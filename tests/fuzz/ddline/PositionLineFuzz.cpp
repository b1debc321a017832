// spades-dd's line reader on arbitrary bytes: it refuses with a message, or gives
// a position that can be played out, writes back as itself, and (when short) solves.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "PositionLine.h"

namespace {

[[noreturn]] void Fail(const char* why, const std::string& line)
{
    std::fprintf(stderr, "%s: %s\n", why, line.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace spades;
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const TLineResult result = ParsePositionLine(line);
    if (!result.Error.empty())
        return 0;
    const std::string written = FormatPositionLine(result.Position);
    if (!CheckPosition(result.Position).empty())
        Fail("accepted a position that cannot be played out", written);
    const TLineResult again = ParsePositionLine(written);
    if (!again.Error.empty() || FormatPositionLine(again.Position) != written)
        Fail("the written line does not read back", written);
    if (result.Position.TricksLeft() <= 3) {
        static TDoubleDummy solver(10);
        for (int seat = North; seat <= West; ++seat)
            if (solver.MostTricks(result.Position, seat) > result.Position.TricksLeft())
                Fail("more tricks than are left", written);
    }
    return 0;
}
