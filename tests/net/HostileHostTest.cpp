// A joining table against a host that lies, stalls or sends what no table
// should show: it leaves, and says why, in words that are safe to print.
#include <gmock/gmock.h>

#include <QTcpServer>
#include <QTcpSocket>

#include "NetTestSupport.h"
#include "PlayerNames.h"

using namespace spades::net;
using namespace spades::net::testing;

namespace {

struct THostInClear {
    const char* Name;
    std::vector<uint8_t> Answer;  // to the knock; empty: nothing ever
    int Refusal;                  // the code the table reports, 0 none
    QString Text;                 // the refusal's text as shown
    const char* Why;              // in the reason the table gives for leaving
};

class HostInClear : public ::testing::TestWithParam<THostInClear> {};

TEST_P(HostInClear, IsLeftWithAReasonSafeToPrint)
{
    QTcpServer host;
    ASSERT_TRUE(host.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&host, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = host.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
            socket->readAll();
            if (!GetParam().Answer.empty())
                socket->write(Raw(GetParam().Answer));
        });
    });
    TNetClientOptions options;
    options.Port = host.serverPort();
    options.Code = "TESTCODE42";
    options.Name = "Ann";
    options.GreetingMs = 300;
    TJoined joined(options);
    QString text;
    QObject::connect(joined.Client.get(), &TNetClient::Refused, [&](int, const QString& t) { text = t; });
    ASSERT_TRUE(WaitUntil([&] { return joined.Closed; }, GameMs));
    EXPECT_EQ(joined.Refusal, GetParam().Refusal);
    EXPECT_EQ(text, GetParam().Text);
    EXPECT_THAT(joined.Why, ::testing::HasSubstr(GetParam().Why));
}

INSTANTIATE_TEST_SUITE_P(
    HostileHost, HostInClear,
    ::testing::Values(
        THostInClear{"Silent", {}, 0, {}, "said nothing"},
        THostInClear{"RefusesWithEscapes",
                     Bytes(TRefused{TErrorCode::Throttled, "\x1b]0;owned\x07\x1b[2Jgo \u202eaway\u200b"}),
                     static_cast<int>(TErrorCode::Throttled), QStringLiteral("]0;owned[2Jgo away"), ""},
        THostInClear{"AnswersWithNonsense", {0, 3, 4, 0x71, 9}, 0, {}, "does not answer"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TShown {
    const char* Name;
    const char* Text;
    const char* Shown;
};
class ShownTexts : public ::testing::TestWithParam<TShown> {};
TEST_P(ShownTexts, KeepNoControlOrInvisibleCharacters)
{
    EXPECT_EQ(ShownText(GetParam().Text).toStdString(), GetParam().Shown);
}
INSTANTIATE_TEST_SUITE_P(
    HostileHost, ShownTexts,
    ::testing::Values(TShown{"Plain", "wrong join code", "wrong join code"},
                      TShown{"Accents", "Zo\u00eb", "Zo\u00eb"},
                      TShown{"Escape", "\x1b[31mred", "[31mred"}, TShown{"C1Csi", "a\u009b2Jb", "a2Jb"},
                      TShown{"Newline", "a\nb\rc", "abc"}, TShown{"BidiOverride", "a\u202eb\u2066c", "abc"},
                      TShown{"BadUtf8", "a\xff" "b", "a\ufffd" "b"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
